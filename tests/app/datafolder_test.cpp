// The user's data folder: the program folder when the user may write there, else a folder of
// the user's own under the desktop's data folder, which receives the delivered database on the
// first start and the archives of the connection; a folder that cannot be made is reported.

#include "app/connection.h"
#include "data/tdm.h"
#include "maintenance/classifierupdate.h"
#include "platform/platform.h"
#include "tests/support/commandrun.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QFile::Permissions kReadOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions kWritableFolder = kReadOnlyFolder | QFile::WriteOwner;

// A program folder as installed (read-only, the delivered database and the archiver in it)
// and the desktop's data folder pointed into the test's own folder.
class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(delivered.path(), program.filePath("bdkolm.gdb")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), program.filePath("rar")));
        savedXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.filePath("share").toLocal8Bit());
        Platform::setProgramFolder(program.path());
        QFile::setPermissions(program.path(), kReadOnlyFolder);
    }
    void TearDown() override
    {
        QFile::setPermissions(program.path(), kWritableFolder);
        Platform::setProgramFolder({});
        if (savedXdg.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedXdg);
    }
    QString usersFolder() const { return home.filePath("share/evidenta"); }
    QStringList entries(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    TestDatabase delivered;
    QTemporaryDir program, home;
    QByteArray savedXdg;
    CommandRun command;
};

TEST_F(DataFolderTest, AReadOnlyProgramFolderKeepsTheDataInTheUsersFolder)
{
    EXPECT_FALSE(Platform::folderWritable(program.path())); // the administrator included
    EXPECT_EQ(Platform::dataFolder(), usersFolder());
    EXPECT_EQ(Connection::databasePath(), usersFolder() + "/bdkolm.gdb");

    // Writable, the program folder is the data folder, as in the build folder.
    QFile::setPermissions(program.path(), kWritableFolder);
    EXPECT_TRUE(Platform::folderWritable(program.path()));
    EXPECT_EQ(Platform::dataFolder(), program.path());
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    EXPECT_FALSE(QFileInfo::exists(usersFolder()));
    EXPECT_EQ(entries(program.path()), (QStringList{"bdkolm.gdb", "rar"}));
}

TEST_F(DataFolderTest, TheFirstStartCopiesTheDeliveredDatabaseAndALaterOneLeavesTheCopyAlone)
{
    const QByteArray original = bytesOf(program.filePath("bdkolm.gdb"));
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    EXPECT_EQ(entries(usersFolder()), QStringList{"bdkolm.gdb"}); // no temporary file left behind
    EXPECT_EQ(bytesOf(usersFolder() + "/bdkolm.gdb"), original);

    // The user's database has changed since; the next start keeps it.
    QFile copy(usersFolder() + "/bdkolm.gdb");
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Append));
    copy.write("changed by the user");
    copy.close();
    const QByteArray users = bytesOf(usersFolder() + "/bdkolm.gdb");
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    EXPECT_EQ(bytesOf(usersFolder() + "/bdkolm.gdb"), users);
    EXPECT_EQ(entries(usersFolder()), QStringList{"bdkolm.gdb"});

    // A database whose name differs only in case is the user's database as well.
    ASSERT_TRUE(QFile::rename(usersFolder() + "/bdkolm.gdb", usersFolder() + "/BDKOLM.GDB"));
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    EXPECT_EQ(entries(usersFolder()), QStringList{"BDKOLM.GDB"});
    EXPECT_EQ(Connection::databasePath(), usersFolder() + "/BDKOLM.GDB");
}

TEST_F(DataFolderTest, WithoutADeliveredDatabaseOnlyTheFolderIsMade)
{
    QFile::setPermissions(program.path(), kWritableFolder);
    ASSERT_TRUE(QFile::remove(program.filePath("bdkolm.gdb")));
    QFile::setPermissions(program.path(), kReadOnlyFolder);
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    EXPECT_TRUE(QFileInfo(usersFolder()).isDir());
    EXPECT_TRUE(entries(usersFolder()).isEmpty());
}

TEST_F(DataFolderTest, AFolderThatCannotBeMadeIsReported)
{
    QFile blocker(home.filePath("share"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_EQ(Connection::prepareDataFolder(),
              QStringLiteral("Dosarul de date \"%1\" nu poate fi creat !").arg(usersFolder()));
}

TEST_F(DataFolderTest, ADatabaseThatCannotBeReadIsReportedAndNothingHalfCopiedStays)
{
    QFile::setPermissions(program.path(), kWritableFolder);
    ASSERT_TRUE(QFile::remove(program.filePath("bdkolm.gdb")));
    ASSERT_TRUE(QDir(program.path()).mkdir("bdkolm.gdb")); // present, yet no file to read
    QFile::setPermissions(program.path(), kReadOnlyFolder);
    EXPECT_EQ(Connection::prepareDataFolder(),
              QStringLiteral("Fisierul \"%1\" nu poate fi copiat in dosarul \"%2\" !")
                  .arg(program.filePath("bdkolm.gdb"), usersFolder()));
    EXPECT_TRUE(entries(usersFolder()).isEmpty());
}

TEST_F(DataFolderTest, AClassifierFileTheUserBringsIsTakenBeforeTheDeliveredOne)
{
    EXPECT_EQ(Connection::prepareDataFolder(), QString());
    QFile::setPermissions(program.path(), kWritableFolder);
    QFile delivered(program.filePath("K_PROF.cds"));
    ASSERT_TRUE(delivered.open(QIODevice::WriteOnly));
    delivered.close();
    QFile::setPermissions(program.path(), kReadOnlyFolder);
    EXPECT_EQ(ClassifierUpdate::filePath("k_prof"), program.filePath("K_PROF.cds"));

    QFile brought(usersFolder() + "/k_prof.CDS");
    ASSERT_TRUE(brought.open(QIODevice::WriteOnly));
    brought.close();
    EXPECT_EQ(ClassifierUpdate::filePath("k_prof"), usersFolder() + "/k_prof.CDS");
    // Neither folder holds it: the name in the data folder, for the message.
    EXPECT_EQ(ClassifierUpdate::filePath("k_tariff_ap"), usersFolder() + "/k_tariff_ap.cds");
}

// The command line as the installed program runs it: the copy of the delivered database is
// opened (the refusal comes from reading its agents) and the daily archive is made in the
// user's folder by the archiver of the program folder.
TEST_F(DataFolderTest, TheCommandLineConnectsToTheUsersCopyAndArchivesItThere)
{
    EXPECT_EQ(command({"--pachet-electronic", "2024", "L04"}), 1);
    EXPECT_EQ(command.err, QStringLiteral("Nu este înregistrat niciun agent economic.\n"));
    EXPECT_EQ(command.out, QString());
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(entries(usersFolder()), (QStringList{"ARHIVA", "bdkolm.gdb"}));
    EXPECT_EQ(entries(usersFolder() + "/ARHIVA"), QStringList{"bdkolm_20240515.rar"});
    QProcess tar;
    tar.start(QStringLiteral(EVD_BSDTAR), {"-tf", usersFolder() + "/ARHIVA/bdkolm_20240515.rar"});
    ASSERT_TRUE(tar.waitForFinished(30000));
    EXPECT_EQ(tar.readAllStandardOutput(), "bdkolm_20240515.gdb\n");
    EXPECT_EQ(entries(program.path()), (QStringList{"bdkolm.gdb", "rar"}));

    // --version reads no data: nothing is made for it.
    ASSERT_TRUE(QDir(usersFolder()).removeRecursively());
    EXPECT_EQ(command({"--version"}), 0);
    EXPECT_FALSE(QFileInfo::exists(usersFolder()));
}

} // namespace
