// The session's signals inside the program: they reach the event loop even after the database
// engine has taken them, and close the main window as "&Iesire" does; a second start's request
// brings the main window to the front.

#include "app/desktopsession.h"
#include "app/instanceguard.h"
#include "app/tfmain.h"
#include "data/ibdatabase.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "platform/signalbridge.h"
#include "tests/support/testdatabase.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <atomic>
#include <thread>
#include <gtest/gtest.h>

namespace {

using Handler = void (*)(int);

Handler handlerOf(int signal)
{
    struct sigaction now = {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

class SignalsOverTheEngine : public ::testing::TestWithParam<int>
{
};

TEST_P(SignalsOverTheEngine, ReachTheEventLoopAfterTheDatabaseIsOpened)
{
    const int signal = GetParam();
    TestDatabase db;
    SignalBridge bridge;
    QSignalSpy received(&bridge, &SignalBridge::received);
    const Handler ours = handlerOf(signal);
    ASSERT_NE(ours, SIG_DFL);

    // Opening the database loads the engine, which takes SIGTERM and SIGINT for itself.
    IbDatabase database;
    database.params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=quintorez")};
    database.setDatabaseName(db.path());
    database.open();
    EXPECT_EQ(handlerOf(signal), ours);

    ASSERT_EQ(::raise(signal), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 5000));
    EXPECT_EQ(received.at(0).at(0).toInt(), signal);

    // The engine was left alone: the connection still answers and closes normally.
    IbTransaction transaction(&database);
    IbQuery query(&transaction);
    query.addSql(QStringLiteral("select count(*) from econ_agent"));
    transaction.startTransaction();
    query.open();
    EXPECT_FALSE(query.eof());
    transaction.commit();
    database.close();
}

INSTANTIATE_TEST_SUITE_P(Session, SignalsOverTheEngine, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int> &p) {
                             return SignalBridge::name(p.param).toStdString();
                         });

TEST(SignalBridge, WithoutABridgeTheSignalsEndTheProcessAgainAfterTheDatabaseIsOpened)
{
    TestDatabase db;
    IbDatabase database;
    database.params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=quintorez")};
    database.setDatabaseName(db.path());
    database.open();
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        EXPECT_EQ(handlerOf(signal), SIG_DFL) << signal;
    {
        SignalBridge bridge;
        EXPECT_NE(handlerOf(SIGTERM), SIG_DFL);
    }
    EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
}

class SessionOverTheMainWindow : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        DM->saldo_data->createDataSet();
    }
};

TEST_F(SessionOverTheMainWindow, ASignalClosesLikeIesireAndDiscardsTheEdit)
{
    DM->saldo_data->append();
    DM->saldo_data->field("SD_ID").setValue(1);
    DM->saldo_data->field("SD_NA").setValue(1);
    DM->saldo_data->field("SD_MONTH").setValue(1);
    DM->saldo_data->post();
    DM->saldo_data->edit();
    DM->saldo_data->field("SD_PAYM_FOND").setValue(1000.0);
    int posts = 0;
    DM->saldo_data->beforePost = [&](RecordSet &) { ++posts; };

    TFMain window;
    DesktopSession session(&window, nullptr);
    window.show();
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Browse);
    EXPECT_TRUE(DM->saldo_data->field("SD_PAYM_FOND").isNull());
    EXPECT_FALSE(DM->IDB->connected());
}

TEST_F(SessionOverTheMainWindow, ASignalEndsADialogWaitingForAnAnswer)
{
    TFMain window;
    DesktopSession session(&window, nullptr);
    window.show();
    QDialog dialog(&window);
    QTimer::singleShot(0, &dialog, [] { ::raise(SIGHUP); });
    QTimer::singleShot(5000, &dialog, &QDialog::accept); // the test's own way out
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);         // cancelled as Escape would
    // Back in the main loop, the window closes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(DM->IDB->connected());
}

TEST(DesktopSession, ASecondStartBringsTheMinimisedMainWindowToTheFront)
{
    QTemporaryDir folder;
    InstanceGuard guard(folder.path());
    ASSERT_TRUE(guard.becomeRunningCopy());
    TFMain window;
    DesktopSession session(&window, &guard);
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());

    // The second start asks from a thread of its own while the event loop here turns.
    std::atomic<bool> done = false, answered = false;
    std::thread second([&] {
        answered = InstanceGuard::askRunningCopyToRaise(folder.path(), 5000);
        done = true;
    });
    while (!done)
        QTest::qWait(5);
    second.join();
    EXPECT_TRUE(answered);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

} // namespace
