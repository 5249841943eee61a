// Connecting: record sets prepared, schema upgrades made once, the daily archive, and the
// archiver's absence or failure.

#include "app/connection.h"
#include "app/tfmain.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/tdm.h"
#include "maintenance/databasearchive.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testclock.h"
#include "tests/support/testdatabase.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

const QString kMissingRar = QStringLiteral("Lipseste fisierul rar.exe Baza de date nu poate fi arhivata !");

class ConnectionTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        Platform::setProgramFolder(db->folder());
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    void installArchiver()
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), db->folder() + "/rar"));
    }
    void installFailingArchiver()
    {
        QFile f(db->folder() + "/rar");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 1\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Connects as the program does; without a day, on the program clock's day.
    void connectNow(const QDate &today = {})
    {
        Connection::Hooks hooks;
        hooks.menuConnected = [this] { ++menuCalls; };
        hooks.versionText = [this](const QString &t) { version = t; };
        if (today.isValid())
            Connection::connect("sysdba", "quintorez", hooks, today);
        else
            Connection::connect("sysdba", "quintorez", hooks);
    }
    QString archiveFolder() const { return db->folder() + "/ARHIVA"; }
    QStringList archives() const { return QDir(archiveFolder()).entryList(QDir::Files, QDir::Name); }
    void touch(const QString &name, const QDateTime &when)
    {
        QDir().mkpath(archiveFolder());
        QFile f(archiveFolder() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
        f.close();
    }

    ScriptedUserInteraction ui;
    int menuCalls = 0;
    QString version;
};

TEST_F(ConnectionTest, PreparesRecordSetsServerDateMenuAndTitle)
{
    installArchiver();
    connectNow();
    EXPECT_EQ(menuCalls, 1);
    // The server's own date, not the program clock's.
    EXPECT_NE(DM->serverDate.date(), Clock::today());
    EXPECT_EQ(DM->serverDate, scalar("select cast('TODAY' as date) from rdb$database").toDateTime());
    EXPECT_TRUE(version.startsWith("    v")) << version.toStdString();
    EXPECT_EQ(version.size(), 5 + 10);
    EXPECT_EQ(DM->k_form_type->recordCount(), 1);
    EXPECT_EQ(DM->k_form_type->field("kft_name_ro").asString(), QStringLiteral("Primară"));
    EXPECT_EQ(DM->k_form_type->fieldCount(), 2);
    ASSERT_EQ(DM->cl_form_type->recordCount(), 2);
    EXPECT_EQ(DM->cl_form_type->displayTextAt(1, 1), "De corectare");
    EXPECT_EQ(DM->Temp->state(), RecordSet::State::Insert);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        EXPECT_TRUE(s->active() && s->isEmpty()) << s->name().toStdString();
    EXPECT_EQ(DM->k_month->recordCount(), 12);
    EXPECT_GT(DM->k_prof->recordCount(), 100);
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(ConnectionTest, AFailedConnectionChangesNothing)
{
    QFile::rename(db->path(), db->folder() + "/other.gdb");
    EXPECT_THROW(connectNow(), EE);
    EXPECT_EQ(menuCalls, 0);
    EXPECT_FALSE(DM->IDB->connected());
}

class OlderDatabaseConnection : public ConnectionTest
{
protected:
    DatabaseMaker::Kind kind() const override { return DatabaseMaker::Kind::Older; }
};

TEST_F(OlderDatabaseConnection, UpgradesOnceAndCorrectsTheOffices)
{
    exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values(1,1,'X','Y')");
    exec("insert into name_account (na_id, na_ap, na_year) values(1,1,2008)");
    exec("insert into saldo_data (sd_id, sd_na, sd_month) values(1,1,1)");
    installArchiver();
    connectNow();
    EXPECT_EQ(scalar("select count(*) from t_pachet").toInt(), 0);
    EXPECT_EQ(scalar("select count(*) from rdb$relation_constraints where rdb$relation_name='T_PACHET' and "
                     "rdb$constraint_type='PRIMARY KEY'")
                  .toInt(),
              1);
    EXPECT_EQ(scalar("select sd_kft_rf from saldo_data where sd_id=1").toInt(), 1);
    EXPECT_EQ(scalar("select count(*) from k_adm_area2 where kaa2_id in (0,99)").toInt(), 0);
    EXPECT_EQ(column("select kaa2_name_ro from k_adm_area2 where kaa2_id between 91 and 95 order by kaa2_id"),
              (QStringList{QStringLiteral("CHIŞINĂU, CENTRU"), QStringLiteral("CHIŞINĂU, RIŞCANI"),
                           QStringLiteral("CHIŞINĂU, BUIUCANI"), QStringLiteral("CHIŞINĂU, BOTANICA"),
                           QStringLiteral("CHIŞINĂU, CIOCANA")}));
    EXPECT_EQ(scalar("select octet_length(kaa2_name_ro) from k_adm_area2 where kaa2_id=91").toInt(), 16);
    ASSERT_TRUE(DM->k_adm_area2->locate("kaa2_id", 91));
    EXPECT_EQ(DM->k_adm_area2->field("kaa2_name_ro").asString(), QStringLiteral("CHIŞINĂU, CENTRU"));

    // A second connection finds everything in place and leaves the names it finds.
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) values(1,'P','01.01.2008',2008,1,1,1)");
    exec("update k_adm_area2 set kaa2_name_ro='ALT NUME' where kaa2_id=91");
    connectNow();
    EXPECT_EQ(scalar("select count(*) from t_pachet").toInt(), 1);
    EXPECT_EQ(scalar("select kaa2_name_ro from k_adm_area2 where kaa2_id=91").toString(), "ALT NUME");
}

TEST_F(ConnectionTest, DailyArchiveIsAConsistentDatabaseInARarArchive)
{
    installArchiver();
    exec(QStringLiteral("insert into econ_agent values(7,'1234567','1','SRL ARHIVĂ','B','C',91,'D','0')"));
    const QDate today(2031, 7, 9);
    connectNow(today);
    const QString stem = "bdkolm_" + DatabaseArchive::datePart(today);
    EXPECT_EQ(archives(), QStringList{stem + ".rar"}); // the copy was moved into it

    QDir out(db->folder() + "/out");
    out.mkpath(".");
    QProcess tar;
    tar.start(QStringLiteral(EVD_BSDTAR), {"-xf", archiveFolder() + "/" + stem + ".rar", "-C", out.path()});
    ASSERT_TRUE(tar.waitForFinished());
    ASSERT_EQ(tar.exitCode(), 0) << tar.readAllStandardError().toStdString();
    ASSERT_TRUE(QFile::exists(out.filePath(stem + ".gdb")));

    IbDatabase copy;
    copy.params() << "USER_NAME=sysdba" << "PASSWORD=quintorez";
    copy.setDatabaseName(out.filePath(stem + ".gdb"));
    copy.open();
    IbTransaction t(&copy);
    IbQuery q(&t);
    q.setSql("select ea_full_name from econ_agent where ea_id=7");
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("SRL ARHIVĂ"));
    q.close();
    t.commit();
    copy.close();
    // The live database left its backup state.
    EXPECT_FALSE(QFile::exists(db->path() + ".delta"));
    exec("insert into econ_agent values(8,'1234567','1','X','B','C',91,'D','0')");
}

TEST_F(ConnectionTest, DailyArchiveFollowsTheNewestArchive)
{
    installArchiver();
    const QDate today(2031, 7, 9);
    const QString made = "bdkolm_" + DatabaseArchive::datePart(today) + ".rar";

    touch("bdkolm_old.rar", QDateTime(today, QTime(0, 5)));
    connectNow(today);
    EXPECT_FALSE(archives().contains(made)) << "archived although an archive of today exists";

    QDir(archiveFolder()).removeRecursively();
    touch("bdkolm_old.rar", QDateTime(today.addDays(-1), QTime(12, 0)));
    connectNow(today);
    EXPECT_FALSE(archives().contains(made)) << "archived although yesterday's archive exists";

    QDir(archiveFolder()).removeRecursively();
    touch("bdkolm_old.rar", QDateTime(today.addDays(-2), QTime(23, 0)));
    connectNow(today);
    EXPECT_TRUE(archives().contains(made));
}

TEST_F(ConnectionTest, WithoutTheArchiverTheCopyStaysAndTheUserIsTold)
{
    Clock::setToday(QDate(2031, 7, 9));
    connectNow();
    EXPECT_EQ(archives(), QStringList{"bdkolm_20310709.gdb"});
    EXPECT_EQ(ui.notices, QStringList{kMissingRar});
    EXPECT_EQ(menuCalls, 1);
}

TEST_F(ConnectionTest, AFailingArchiverIsNotReported)
{
    installFailingArchiver();
    connectNow();
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(archives(), QStringList{"bdkolm_" + DatabaseArchive::datePart(TestClock::today()) + ".gdb"});
}

TEST_F(ConnectionTest, ManualArchivesCountUpOnTheSameDay)
{
    installArchiver();
    const QDate day(2008, 3, 5);
    EXPECT_FALSE(QDir(archiveFolder()).exists());
    for (int i = 0; i < 3; ++i)
        DatabaseArchive::makeManualArchive(db->path(), day);
    EXPECT_EQ(archives(), (QStringList{"bdkolm_20080305.rar", "bdkolm_200803050.rar", "bdkolm_200803051.rar"}));
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(ConnectionTest, ManualArchiveWithoutTheArchiverLeavesTheCopy)
{
    DatabaseArchive::makeManualArchive(db->path(), QDate(2008, 3, 5));
    EXPECT_EQ(archives(), QStringList{"bdkolm_20080305.gdb"});
    EXPECT_EQ(ui.notices, QStringList{kMissingRar});
}

TEST_F(ConnectionTest, ManualArchiveFromTheMenuIsNamedForTheClocksDay)
{
    Clock::setToday(QDate(2033, 2, 28));
    TFMain w;
    w.enableConnectedMenu();
    auto *archive = w.findChild<QAction *>("Arhivareabazei1");
    ASSERT_TRUE(archive);
    archive->trigger();
    EXPECT_EQ(archives(), QStringList{"bdkolm_20330228.gdb"});
    EXPECT_EQ(ui.notices, QStringList{kMissingRar});
}

TEST(DatabaseArchiveNames, StemDatePartAndSource)
{
    EXPECT_EQ(DatabaseArchive::stemOf("/opt/evidenta/bdkolm.gdb"), "bdkolm");
    EXPECT_EQ(DatabaseArchive::stemOf("/opt/evidenta/BDKOLM.GDB"), "BDKOLM");
    EXPECT_EQ(DatabaseArchive::stemOf("/opt/evidenta/data.fdb"), "bdkolm");
    EXPECT_EQ(DatabaseArchive::datePart(QDate(2008, 3, 5)), "20080305");
    EXPECT_EQ(DatabaseArchive::copySource("server:C:/prog/bdkolm.gdb"), "C:/prog/bdkolm.gdb");
    EXPECT_EQ(DatabaseArchive::copySource("/prog/bdkolm.gdb"), "/prog/bdkolm.gdb");
}

} // namespace
