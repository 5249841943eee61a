// The connection dialog driven as a user would: Revocare leaves everything as it was, OK
// connects and enables the main menu.

#include "app/tfconect.h"
#include "app/tfmain.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class ConnectDialog : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        DM->IDB->close();
        Platform::setProgramFolder(db->folder());
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    // Opens the dialog from the menu and presses the named button once it shows.
    void pressInDialog(TFMain &w, const char *button)
    {
        QTimer::singleShot(0, [button] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<TFConect *>(top); d && d->isVisible())
                    d->findChild<QPushButton *>(button)->click();
        });
        w.Conectare1->trigger();
    }
    ScriptedUserInteraction ui;
};

TEST_F(ConnectDialog, ShowsTheFixedAccountReadOnlyAndMasked)
{
    TFMain w;
    TFConect d(&w);
    EXPECT_EQ(d.windowTitle(), "Conectare");
    EXPECT_EQ(d.findChild<QLabel *>("Label1")->text(), "Baza de date :");
    EXPECT_EQ(d.findChild<QLabel *>("Label2")->text(), "BDKOLM.GDB");
    EXPECT_EQ(d.findChild<QLabel *>("L_nume")->text(), "Nume :");
    EXPECT_EQ(d.findChild<QLabel *>("L_parola")->text(), "Parola :");
    for (const char *name : {"Edit1", "Edit2"}) {
        auto *e = d.findChild<QLineEdit *>(name);
        ASSERT_TRUE(e);
        EXPECT_TRUE(e->isReadOnly());
        EXPECT_EQ(e->echoMode(), QLineEdit::Password);
    }
    EXPECT_EQ(d.Edit1->text(), "sysdba");
    EXPECT_EQ(d.Edit2->text(), "quintorez");
    EXPECT_TRUE(d.BOK->isDefault());
    EXPECT_EQ(d.BRefuz->text(), "Revocare");
}

TEST_F(ConnectDialog, RevocareConnectsNothing)
{
    TFMain w;
    pressInDialog(w, "BRefuz");
    EXPECT_FALSE(DM->IDB->connected());
    EXPECT_TRUE(w.Conectare1->isEnabled());
    EXPECT_FALSE(w.Inregistrare1->isEnabled());
}

TEST_F(ConnectDialog, OkConnectsEnablesTheMenuAndDatesTheTitle)
{
    TFMain w;
    pressInDialog(w, "BOK");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(DM->IDB->connected());
    EXPECT_FALSE(w.Conectare1->isEnabled());
    EXPECT_TRUE(w.Persoaneasigurate1->isEnabled());
    EXPECT_TRUE(w.windowTitle().startsWith(TFMain::baseCaption() + "    v"));
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000409");
    // No archiver beside the program here.
    EXPECT_EQ(ui.notices, QStringList{"Lipseste fisierul rar.exe Baza de date nu poate fi arhivata !"});
}

TEST_F(ConnectDialog, AMissingDatabaseShowsTheServersMessageAndKeepsTheMenu)
{
    QFile::remove(db->path());
    TFMain w;
    pressInDialog(w, "BOK");
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("bdkolm.gdb")) << ui.errors[0].toStdString();
    EXPECT_TRUE(w.Conectare1->isEnabled());
    EXPECT_FALSE(w.Arhivareabazei1->isEnabled());
}

} // namespace
