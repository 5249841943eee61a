// Starts the program: main window, data module, persons workspace and forms-printing window,
// in that order, then runs until the main window closes.

#include "app/qttranslation.h"
#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "persons/tfpers.h"
#include "reports/tftip.h"
#include "data/tdm.h"

#include "app/connection.h"
#include "packages/electronicpackagecommand.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

// The command-line entries run without a window and without a display.
int commandLine(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const QString command = arguments.takeFirst();
    QTextStream out(stdout), err(stderr);
    int rc = 2;
    DM = new TDM;
    if (command == QLatin1String("--pachet-electronic"))
        rc = ElectronicPackageCommand::main(arguments, out, err, [] {
            Connection::connect(QStringLiteral("sysdba"), QStringLiteral("quintorez"), {});
        });
    Connection::close();
    delete DM;
    DM = nullptr;
    return rc;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--pachet-electronic") == 0)
        return commandLine(argc, argv);

    QApplication app(argc, argv);
    // No application display name: Qt would append it to every window's caption.
    QtTranslation::install(app);
    QtUserInteraction ui;
    setUserInteraction(&ui);

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
