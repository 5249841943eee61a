// The connection dialog driven as a user would: Revocare leaves everything as it was, OK
// connects and enables the main menu.

#include "app/tfconect.h"
#include "app/tfmain.h"
#include "data/formats.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"
#include "tests/support/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

QAction *action(TFMain &w, const char *name)
{
    auto *a = w.findChild<QAction *>(name);
    EXPECT_TRUE(a) << name;
    return a;
}

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
        action(w, "Conectare1")->trigger();
    }
    // The last-write date of the running program, as the title shows it.
    static QString programDate()
    {
        return Formats::dateText(QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date());
    }
    ScriptedUserInteraction ui;
};

TEST_F(ConnectDialog, TheAccountBoxesAreNamedAfterTheirCaptions)
{
    TFConect d;
    EXPECT_EQ(d.findChild<QLabel *>("L_nume")->buddy(), d.findChild<QLineEdit *>("Edit1"));
    EXPECT_EQ(d.findChild<QLabel *>("L_parola")->buddy(), d.findChild<QLineEdit *>("Edit2"));
    const QMap<QString, QString> names{{"Edit1", "Nume"}, {"Edit2", "Parola"}};
    EXPECT_EQ(buddyCaptions(&d), names);
    EXPECT_EQ(spokenNames(&d), names);
    EXPECT_TRUE(listNames(&d).isEmpty());
}

TEST_F(ConnectDialog, TellsItsOwnerThroughSignals)
{
    {
        TFConect d;
        QSignalSpy connected(&d, &TFConect::connected), version(&d, &TFConect::versionTextReady);
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(connected.count(), 0);
        EXPECT_EQ(version.count(), 0);
        EXPECT_FALSE(DM->IDB->connected());
    }
    TFConect d;
    QSignalSpy connected(&d, &TFConect::connected), version(&d, &TFConect::versionTextReady);
    bool connectedWhenSignalled = false;
    QObject::connect(&d, &TFConect::connected, [&] { connectedWhenSignalled = DM->IDB->connected(); });
    d.show();
    QTest::mouseClick(d.findChild<QPushButton *>("BOK"), Qt::LeftButton);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(connected.count(), 1);
    EXPECT_TRUE(connectedWhenSignalled);
    ASSERT_EQ(version.count(), 1);
    EXPECT_EQ(version[0][0].toString(), "    v" + programDate());
}

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
    EXPECT_EQ(d.findChild<QLineEdit *>("Edit1")->text(), "sysdba");
    EXPECT_EQ(d.findChild<QLineEdit *>("Edit2")->text(), "quintorez");
    EXPECT_TRUE(d.findChild<QPushButton *>("BOK")->isDefault());
    EXPECT_EQ(d.findChild<QPushButton *>("BRefuz")->text(), "Revocare");
}

TEST_F(ConnectDialog, RevocareConnectsNothing)
{
    TFMain w;
    pressInDialog(w, "BRefuz");
    EXPECT_FALSE(DM->IDB->connected());
    EXPECT_TRUE(action(w, "Conectare1")->isEnabled());
    EXPECT_FALSE(action(w, "Inregistrare1")->isEnabled());
}

TEST_F(ConnectDialog, OkConnectsEnablesTheMenuAndDatesTheTitle)
{
    TFMain w;
    pressInDialog(w, "BOK");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(DM->IDB->connected());
    EXPECT_FALSE(action(w, "Conectare1")->isEnabled());
    EXPECT_TRUE(action(w, "Persoaneasigurate1")->isEnabled());
    EXPECT_TRUE(w.windowTitle().startsWith(TFMain::baseCaption() + "    v"));
    EXPECT_EQ(w.windowTitle(), TFMain::baseCaption() + "    v" + programDate());
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
    EXPECT_TRUE(action(w, "Conectare1")->isEnabled());
    EXPECT_FALSE(action(w, "Arhivareabazei1")->isEnabled());
}

} // namespace
