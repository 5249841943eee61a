// One running copy per data folder: the lock and the socket of the first copy, a second start
// that asks it to come to the front, the lock and socket left by a copy that crashed, and the
// commands that must not open the database under a running copy.

#include "app/commandline.h"
#include "app/instanceguard.h"
#include "platform/instancelock.h"
#include "platform/platform.h"
#include "tests/packages/handmadepackage.h"
#include "tests/support/commandrun.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>
#include <gtest/gtest.h>

namespace {

// Runs `work` on a thread of its own while this one keeps the event loop of the running copy
// turning (without timed waits on the thread, which a moved clock would stretch).
template <typename Work> auto whileRunning(Work work)
{
    std::atomic<bool> done = false;
    decltype(work()) result{};
    std::thread thread([&] {
        result = work();
        done = true;
    });
    while (!done)
        QTest::qWait(5);
    thread.join();
    return result;
}

// Asks the copy running on `folder` to come to the front, as a second start does.
bool askWhileRunning(const QString &folder)
{
    return whileRunning([folder] { return InstanceGuard::askRunningCopyToRaise(folder, 5000); });
}

TEST(InstanceGuard, TheFirstCopyHoldsTheFolderAndASecondStartRaisesIt)
{
    QTemporaryDir folder;
    InstanceGuard first(folder.path());
    QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
    ASSERT_TRUE(first.becomeRunningCopy());
    EXPECT_TRUE(QFile::exists(folder.filePath("evidenta.lock")));
    EXPECT_TRUE(InstanceLock::heldElsewhere(folder.path()));

    // Another spelling of the same folder reaches the same copy.
    const QString spelled = folder.path() + "/./";
    EXPECT_EQ(InstanceGuard::serverName(spelled), InstanceGuard::serverName(folder.path()));
    EXPECT_TRUE(askWhileRunning(spelled));
    EXPECT_EQ(raised.count(), 1);

    // A second guard on the folder does not become the running copy.
    const auto second = whileRunning([&] {
        InstanceGuard guard(folder.path());
        bool answered = false;
        const bool running = guard.becomeRunningCopy(&answered);
        return std::make_pair(running, answered);
    });
    EXPECT_EQ(second, std::make_pair(false, true));
    EXPECT_EQ(raised.count(), 2);
    EXPECT_TRUE(QFile::exists(folder.filePath("evidenta.lock"))); // still the first copy's
}

TEST(InstanceGuard, AnotherFolderIsAnotherCopy)
{
    QTemporaryDir a, b;
    InstanceGuard first(a.path()), second(b.path());
    EXPECT_NE(InstanceGuard::serverName(a.path()), InstanceGuard::serverName(b.path()));
    EXPECT_TRUE(first.becomeRunningCopy());
    EXPECT_TRUE(second.becomeRunningCopy());
    EXPECT_FALSE(InstanceGuard::askRunningCopyToRaise(QDir::tempPath() + "/no-such-folder", 200));
}

TEST(InstanceGuard, TheLockAndSocketOfACrashedCopyDoNotBlockTheNextStart)
{
    QTemporaryDir folder;
    // A program that has ended: its process id is free.
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForFinished());
    const qint64 pid = ended.processId() ? ended.processId() : 999999;
    QFile lock(folder.filePath("evidenta.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\nevidenta\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    // Its socket file is still there too.
    const QString socket = QDir::temp().filePath(InstanceGuard::serverName(folder.path()));
    QFile leftover(socket);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    InstanceGuard next(folder.path());
    QSignalSpy raised(&next, &InstanceGuard::raiseRequested);
    ASSERT_TRUE(next.becomeRunningCopy());
    EXPECT_TRUE(askWhileRunning(folder.path()));
    EXPECT_EQ(raised.count(), 1);
}

TEST(InstanceGuard, TheLockGoesWithTheCopy)
{
    QTemporaryDir folder;
    {
        InstanceGuard copy(folder.path());
        ASSERT_TRUE(copy.becomeRunningCopy());
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("evidenta.lock")));
    EXPECT_FALSE(InstanceLock::heldElsewhere(folder.path()));
    InstanceGuard again(folder.path());
    EXPECT_TRUE(again.becomeRunningCopy());
}

TEST(InstanceGuard, AFolderWhereNoLockCanBeWrittenIsNotGuarded)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    InstanceLock lock(file.fileName() + "/below");
    EXPECT_TRUE(lock.acquire());
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(InstanceLock::heldElsewhere(file.fileName() + "/below"));
}

// The commands that open the database leave it to the running copy.
class CommandsBesideARunningCopy : public ::testing::Test
{
protected:
    void SetUp() override { Platform::setProgramFolder(db.folder()); }
    void TearDown() override { Platform::setProgramFolder({}); }
    int run(const QStringList &args) { return command(args); }
    TestDatabase db;
    QTemporaryDir work;
    CommandRun command;
    QString &out = command.out, &err = command.err;
};

TEST_F(CommandsBesideARunningCopy, TheCheckRunsWithoutTheDatabaseAndThePackageIsRefused)
{
    InstanceGuard running(db.folder());
    ASSERT_TRUE(running.becomeRunningCopy());
    const QString archive = handMadePackage(work.path(), "999");
    EXPECT_EQ(run({"--verifica", archive}), 0); // the unknown category is not looked up
    EXPECT_EQ(out, QString());
    EXPECT_TRUE(err.startsWith(QStringLiteral("Baza de date %1 este deschisă de program; codurile și tarifele nu se "
                                              "verifică.\n")
                                   .arg(db.path())))
        << err.toStdString();

    EXPECT_EQ(run({"--pachet-electronic", "2012", "T00"}), 1);
    EXPECT_EQ(err, QStringLiteral("Programul este pornit pe aceeași bază de date; închideți-l și repetați comanda.\n"));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(QDir(db.folder()).exists("ARHIVA")); // the connection's daily archive did not run
}

TEST_F(CommandsBesideARunningCopy, WithoutOneTheCheckUsesTheDatabaseAndLeavesNoLock)
{
    const QString archive = handMadePackage(work.path(), "999");
    EXPECT_EQ(run({"--verifica", archive}), 1) << err.toStdString();
    EXPECT_TRUE(
        out.startsWith(QStringLiteral("REV5_SD, rîndul 1, cîmpul 5: categoria 999 nu există în clasificator\n")));
    EXPECT_FALSE(err.contains(QStringLiteral("deschisă de program"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(InstanceLock::path(db.folder()))); // released at the end
}

} // namespace
