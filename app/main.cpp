// Starts the program: main window, data module, persons workspace and forms-printing window,
// in that order, then runs until the main window closes. Options on the command line run
// without windows (and without a display) instead.

#include "app/commandline.h"
#include "app/connection.h"
#include "app/qttranslation.h"
#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "persons/tfpers.h"
#include "reports/tftip.h"
#include "data/tdm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CommandLine::wanted(arguments)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return CommandLine::run(arguments, out, err);
    }

    QApplication app(argc, argv);
    // No application display name: Qt would append it to every window's caption.
    QtTranslation::install(app);
    QtUserInteraction ui;
    setUserInteraction(&ui);
    const QString problem = Connection::prepareDataFolder();
    if (!problem.isEmpty())
        ui.inform(problem);

    FMain = new TFMain;
    DM = new TDM;
    FPers = new TFPers;
    FTip = new TFTip;
    FMain->show();
    const int rc = app.exec();

    delete FTip;
    delete FPers;
    delete DM;
    delete FMain;
    setUserInteraction(nullptr);
    return rc;
}
