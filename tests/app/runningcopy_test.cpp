// The program itself, started offscreen in a folder of its own with a fresh database: the
// session's signals end it with exit status 0 and leave the database sound, a second start
// on the folder brings the first copy to the front and ends without touching the database, and
// a copy killed while the daily archive holds the database under its backup lock is mended by
// the next start.

#include "data/ibdatabase.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "maintenance/databasearchive.h"
#include "platform/signalbridge.h"
#include "tests/support/testdatabase.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One start of the program in the test's folder; what it writes on standard error is kept.
class Copy
{
public:
    explicit Copy(const QString &folder, const QStringList &arguments = {},
                  const QList<std::pair<QString, QString>> &environment = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("EVD_CONNECT_AT_START", "1");
        env.insert("EVD_TRACE", "1");
        for (const auto &[name, value] : environment)
            env.insert(name, value);
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        m_process.start(folder + "/evidenta", arguments);
    }
    ~Copy()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Waits until standard error holds `text`.
    bool waitFor(const QString &text, int ms = 60000)
    {
        const QDeadlineTimer deadline(ms);
        while (!errors().contains(text)) {
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(50);
        }
        return true;
    }
    QString errors()
    {
        m_err += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_err;
    }
    bool finishes(int ms) { return m_process.waitForFinished(ms); }
    QProcess &process() { return m_process; }
    void send(int signal) { ::kill(pid_t(m_process.processId()), signal); }

private:
    QProcess m_process;
    QString m_err;
};

class RunningCopy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), db.folder() + "/evidenta"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), db.folder() + "/rar"));
    }
    void TearDown() override
    {
        delete DM;
        DM = nullptr;
    }
    // Opens the database again after the program ended and reads the agents.
    int agentsAfterwards()
    {
        DM = new TDM;
        DM->IDB->params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=quintorez")};
        DM->IDB->setDatabaseName(db.path());
        DM->IDB->open();
        ReadScope read(DM->IBQ1, QStringLiteral("select count(*) from econ_agent"));
        return read.value(0).toInt();
    }
    // The engine's full validation of the file: what it reports (nothing for a sound file).
    QString validation()
    {
        QProcess gfix;
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start("gfix", {"-v", "-full", "-user", "sysdba", db.path()});
        gfix.waitForFinished(60000);
        return QString::fromLocal8Bit(gfix.readAll())
               + (gfix.exitCode() ? QStringLiteral(" (exit status)") : QString());
    }
    TestDatabase db;
};

class EndedBySignal : public RunningCopy, public ::testing::WithParamInterface<int>
{
};

TEST_P(EndedBySignal, ClosesLikeIesireWithExitStatusZero)
{
    const int signal = GetParam();
    Copy copy(db.folder());
    ASSERT_TRUE(copy.waitFor("evidenta: conectată la " + db.path())) << copy.errors().toStdString();
    EXPECT_TRUE(QFile::exists(db.folder() + "/evidenta.lock"));

    copy.send(signal);
    ASSERT_TRUE(copy.finishes(10000)) << copy.errors().toStdString();
    EXPECT_EQ(copy.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.process().exitCode(), 0);
    EXPECT_TRUE(copy.errors().contains("evidenta: închidere la " + SignalBridge::name(signal)))
        << copy.errors().toStdString();
    EXPECT_FALSE(QFile::exists(db.folder() + "/evidenta.lock"));

    EXPECT_EQ(validation(), QString());
    EXPECT_EQ(agentsAfterwards(), 0);
}

INSTANTIATE_TEST_SUITE_P(Session, EndedBySignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int> &p) {
                             return SignalBridge::name(p.param).toStdString();
                         });

TEST_F(RunningCopy, ASecondStartRaisesTheFirstAndEnds)
{
    Copy first(db.folder());
    ASSERT_TRUE(first.waitFor("evidenta: conectată la ")) << first.errors().toStdString();

    Copy second(db.folder());
    ASSERT_TRUE(second.finishes(10000));
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);
    // It never reached the database: no connection, no engine error.
    EXPECT_TRUE(
        second.errors().endsWith(QStringLiteral("Programul este deja pornit; fereastra lui a fost adusă în față.\n")))
        << second.errors().toStdString();
    EXPECT_FALSE(second.errors().contains("conectată")) << second.errors().toStdString();

    EXPECT_TRUE(first.waitFor("evidenta: adusă în față la cererea unei alte porniri", 5000))
        << first.errors().toStdString();
    EXPECT_EQ(first.process().state(), QProcess::Running);

    first.send(SIGTERM);
    ASSERT_TRUE(first.finishes(10000));
    EXPECT_EQ(first.process().exitCode(), 0);
    EXPECT_EQ(agentsAfterwards(), 0);
}

TEST_F(RunningCopy, ACopyThatCrashedDoesNotBlockTheNextStart)
{
    {
        Copy crashed(db.folder());
        ASSERT_TRUE(crashed.waitFor("evidenta: conectată la ")) << crashed.errors().toStdString();
        crashed.send(SIGKILL);
        ASSERT_TRUE(crashed.finishes(10000));
    }
    ASSERT_TRUE(QFile::exists(db.folder() + "/evidenta.lock")); // left behind

    Copy next(db.folder());
    ASSERT_TRUE(next.waitFor("evidenta: conectată la ")) << next.errors().toStdString();
    next.send(SIGTERM);
    ASSERT_TRUE(next.finishes(10000));
    EXPECT_EQ(next.process().exitCode(), 0);
    EXPECT_EQ(validation(), QString());
}

TEST_F(RunningCopy, AKillUnderTheArchivesBackupLockIsMendedAtTheNextStart)
{
    const QDir archives(db.folder() + "/ARHIVA");
    {
        // The daily archive holds its finished copy under the lock until the copy is killed.
        Copy killed(db.folder(), {}, {{"EVD_ARCHIVE_HOLD_MS", "120000"}});
        const QDeadlineTimer deadline(60000);
        while (archives.entryList({"bdkolm_*.gdb"}, QDir::Files).isEmpty() && !deadline.hasExpired()
               && killed.process().state() != QProcess::NotRunning)
            QTest::qWait(20);
        ASSERT_FALSE(archives.entryList({"bdkolm_*.gdb"}, QDir::Files).isEmpty()) << killed.errors().toStdString();
        killed.send(SIGKILL);
        ASSERT_TRUE(killed.finishes(10000));
    }
    // The lock stayed on: the delta file beside the database, a copy that cannot be opened. It
    // is given an earlier day's name, and a finished copy of another day lies beside it.
    ASSERT_TRUE(QFile::exists(db.path() + ".delta"));
    const QStringList halfMade = archives.entryList({"bdkolm_*.gdb"}, QDir::Files);
    ASSERT_EQ(halfMade.size(), 1);
    ASSERT_EQ(DatabaseArchive::fileState(archives.filePath(halfMade[0])), DatabaseArchive::FileState::UnderBackupLock);
    ASSERT_TRUE(QFile::rename(archives.filePath(halfMade[0]), archives.filePath("bdkolm_20000101.gdb")));
    TestDatabase finished;
    ASSERT_TRUE(QFile::copy(finished.path(), archives.filePath("bdkolm_19990101.gdb")));

    Copy next(db.folder());
    ASSERT_TRUE(next.waitFor("evidenta: conectată la ")) << next.errors().toStdString();
    next.send(SIGTERM);
    ASSERT_TRUE(next.finishes(10000));
    EXPECT_EQ(next.process().exitCode(), 0);

    // The lock ended, the half-made copy gone, the day's archive made.
    EXPECT_FALSE(QFile::exists(db.path() + ".delta"));
    EXPECT_EQ(DatabaseArchive::fileState(db.path()), DatabaseArchive::FileState::Ordinary);
    const QStringList left = archives.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(left.size(), 2) << left.join(' ').toStdString();
    EXPECT_EQ(left[0], "bdkolm_19990101.gdb");
    EXPECT_TRUE(QRegularExpression("^bdkolm_\\d{8}\\.rar$").match(left[1]).hasMatch()) << left[1].toStdString();
    EXPECT_EQ(validation(), QString());
    EXPECT_EQ(agentsAfterwards(), 0);
}

} // namespace
