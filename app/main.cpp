// Starts the program: main window, data module, persons workspace and forms-printing window,
// in that order, then runs until the main window closes.

#include "app/qttranslation.h"
#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "persons/tfpers.h"
#include "reports/tftip.h"
#include "data/tdm.h"

#include <QApplication>

int main(int argc, char **argv)
{
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
