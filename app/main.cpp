// Starts the program: main window, data module, persons workspace and forms-printing window,
// in that order, then runs until the main window closes. Options on the command line run
// without windows (and without a display) instead. A second start on the same data folder
// brings the running copy to the front and ends.

#include "app/commandline.h"
#include "app/connection.h"
#include "app/desktopsession.h"
#include "app/instanceguard.h"
#include "app/qttranslation.h"
#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "persons/tfpers.h"
#include "platform/platform.h"
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
    InstanceGuard guard(Platform::dataFolder());
    bool answered = false;
    if (!Connection::isServerDatabase() && !guard.becomeRunningCopy(&answered)) {
        QTextStream(stderr) << InstanceGuard::alreadyRunningText(answered) << Qt::endl;
        return 0;
    }
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
    DesktopSession session(FMain, &guard);
    FMain->show();
    session.start();
    const int rc = app.exec();

    delete FTip;
    delete FPers;
    delete DM;
    delete FMain;
    setUserInteraction(nullptr);
    return rc;
}
