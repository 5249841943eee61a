// Annulling a formed electronic package: the sent marks of its months cleared, a monthly
// correction package's rows made primary again, the registry row and the archive removed,
// all of the database changes in one transaction.

#include "data/writetransaction.h"
#include "packages/packageannulment.h"
#include "tests/packages/annulmentfixture.h"

#include <QRegularExpression>

namespace {

const QString kQuarter = "REV5_1234567_00101_2014T02.RAR";
const QString kMonth = "REV5_1234567_00101_2014L03.RAR";
const QString kSure = "Confirmati anularea pachetului electronic ?";

class PackageAnnulmentTest : public AnnulmentFixture
{
protected:
    void SetUp() override
    {
        AnnulmentFixture::SetUp();
        ws.year = "2014";
        packaged(10, 1, 2014, 10);
        packaged(11, 2, 2014, 10); // nothing of it is marked
        packaged(20, 1, 2014, 20); // another agent's declaration
        packaged(13, 1, 2013, 10); // the agent's package, another year
        for (int m = 3; m <= 7; ++m)
            monthRow(100 + m, 10, m, 2014, -1);
        monthRow(205, 20, 5, 2014, -1);
        monthRow(135, 13, 5, 2013, -1);
        registered(1, kQuarter, "20.07.2014", 2014, 4, 6);
        registered(2, kMonth, "10.04.2014", 2014, 3, 3);
        registered(3, "REV5_7654321_00101_2014T02.RAR", "20.07.2014", 2014, 4, 6, 2);
        set = new RecordSet("t_pachet");
        PackageAnnulment::declareRegistry(set);
    }
    void TearDown() override
    {
        delete set;
        AnnulmentFixture::TearDown();
    }
    QString annul()
    {
        try {
            return PackageAnnulment::annulCurrent(set);
        } catch (const EE &e) {
            return "refused: " + e.message();
        }
    }

    RecordSet *set = nullptr;
};

TEST_F(PackageAnnulmentTest, TheRegistryOfTheAgentAndYearIsListedOldestFirstWithItsType)
{
    PackageAnnulment::loadRegistry(set);
    EXPECT_EQ(DM->IBQ1->sqlText(), " select * from t_pachet where anul=2014 and ae_rf=1 order by pachet_d ");
    ASSERT_EQ(set->recordCount(), 2);
    set->first();
    EXPECT_EQ(set->field("nume").asString(), kMonth);
    EXPECT_EQ(set->field("tip").asString(), "PRIMAR");
    EXPECT_EQ(set->field("pachet_d").asDate(), QDate(2014, 4, 10));
    EXPECT_EQ(set->field("luna_d").asInteger(), 3);
    set->next();
    EXPECT_EQ(set->field("pachet_id").asInteger(), 1);
    EXPECT_EQ(set->field("luna_p").asInteger(), 6);
    // Loading a year with packages touches no mark.
    EXPECT_EQ(column("select count(*) from saldo_data where sd_pens_fund=-1"), QStringList{"7"});

    EXPECT_EQ(PackageAnnulment::packageType("REV5_1234567_00301_2016L03.RAR"), "DE CORECTARE");
    EXPECT_EQ(PackageAnnulment::packageType("REV5_1234567_00201_2016L03.RAR"), "NEDETERMINAT");
    EXPECT_EQ(PackageAnnulment::packageType("REV5_123"), "NEDETERMINAT");
}

TEST_F(PackageAnnulmentTest, AQuarterLosesItsMarksAndItsArchive)
{
    // The archive is found whatever the case of its name; other archives stay.
    const QString filed = archive("Primara", kQuarter.toLower());
    const QString other = archive("Primara", kMonth);
    PackageAnnulment::loadRegistry(set);
    ASSERT_TRUE(set->locate("pachet_id", 1));
    ui.answers = {true};
    EXPECT_EQ(annul(), kQuarter);
    EXPECT_EQ(ui.questions, QStringList{kSure});
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(DM->IBQ2->sqlText(), " delete from t_pachet where pachet_id=1");
    // Months 4 to 6 of the agent's 2014 declarations only; no form type changes.
    EXPECT_EQ(marks(), (QStringList{"103:-1:1", "104:0:1", "105:0:1", "106:0:1", "107:-1:1", "135:-1:1", "205:-1:1"}));
    // Declarations left with no marked row lose their packaged marker.
    EXPECT_EQ(packagedMarkers(), (QStringList{"10:1", "11:0", "13:1", "20:1"}));
    EXPECT_EQ(registry(), (QStringList{kMonth, "REV5_7654321_00101_2014T02.RAR"}));
    EXPECT_EQ(set->recordCount(), 1);
    EXPECT_EQ(set->field("pachet_id").asInteger(), 2);
    EXPECT_FALSE(QFile::exists(filed));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(DM->IBT2->active());
}

TEST_F(PackageAnnulmentTest, AMonthlyCorrectionPackageTurnsItsMonthBackIntoPrimaryRows)
{
    ws.year = "2016";
    packaged(30, 1, 2016, 30);
    monthRow(302, 30, 2, 2016, -1, 3);
    monthRow(303, 30, 3, 2016, -1, 3);
    monthRow(304, 30, 3, 2016, 0, 3);
    monthRow(305, 30, 4, 2016, -1, 3);
    const QString name = "REV5_1234567_00301_2016L03.RAR";
    registered(5, name, "05.04.2016", 2016, 3, 3);
    const QString corrected = archive("De_corectare", name);
    PackageAnnulment::loadRegistry(set);
    ASSERT_EQ(set->recordCount(), 1);
    EXPECT_EQ(set->field("tip").asString(), "DE CORECTARE");
    ui.answers = {true};
    EXPECT_EQ(annul(), name);
    EXPECT_EQ(ui.notices,
              QStringList{"Declaratiile de corectare din acest pachet vor fi trecute in declaratii primare !"});
    const QStringList rows = marks().filter(QRegularExpression("^30"));
    EXPECT_EQ(rows, (QStringList{"302:-1:3", "303:0:1", "304:0:1", "305:-1:3"}));
    EXPECT_EQ(registry().count(name), 0);
    // Filed among the corrections, the archive is not looked for there; "Primara" is made.
    EXPECT_TRUE(QFile::exists(corrected));
    EXPECT_TRUE(QDir(programDir.path() + "/Primara").exists());
}

TEST_F(PackageAnnulmentTest, AQuarterlyCorrectionPackageKeepsItsFormTypes)
{
    ws.year = "2016";
    packaged(30, 1, 2016, 30);
    monthRow(301, 30, 1, 2016, -1, 3);
    registered(5, "REV5_1234567_00301_2016T01.RAR", "05.04.2016", 2016, 1, 3);
    PackageAnnulment::loadRegistry(set);
    ui.answers = {true};
    EXPECT_EQ(annul(), "REV5_1234567_00301_2016T01.RAR");
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(marks().contains("301:0:3"));
}

TEST_F(PackageAnnulmentTest, AnsweringNoChangesNothing)
{
    const QString filed = archive("Primara", kQuarter);
    const QStringList before = marks();
    PackageAnnulment::loadRegistry(set);
    set->locate("pachet_id", 1);
    ui.answers = {false};
    EXPECT_EQ(annul(), "");
    EXPECT_EQ(ui.questions, QStringList{kSure});
    EXPECT_EQ(marks(), before);
    EXPECT_EQ(registry().size(), 3);
    EXPECT_EQ(set->recordCount(), 2);
    EXPECT_TRUE(QFile::exists(filed));
}

TEST_F(PackageAnnulmentTest, AFailureOnTheWayLeavesTheDatabaseAsItWas)
{
    exec("create exception registry_kept 'kept'");
    exec("create trigger t_pachet_kept for t_pachet before delete as begin exception registry_kept; end");
    const QString filed = archive("Primara", kQuarter);
    const QStringList before = marks(), markers = packagedMarkers();
    PackageAnnulment::loadRegistry(set);
    set->locate("pachet_id", 1);
    ui.answers = {true};
    EXPECT_THROW(PackageAnnulment::annulCurrent(set), DbError);
    EXPECT_FALSE(DM->IBT2->active());
    EXPECT_EQ(marks(), before);
    EXPECT_EQ(packagedMarkers(), markers);
    EXPECT_EQ(registry().size(), 3);
    EXPECT_EQ(set->recordCount(), 2);
    EXPECT_EQ(set->field("pachet_id").asInteger(), 1);
    EXPECT_TRUE(QFile::exists(filed));

    // Once the cause is gone, annulling again does the whole of it.
    exec("drop trigger t_pachet_kept");
    ui.answers = {true};
    EXPECT_EQ(annul(), kQuarter);
    EXPECT_TRUE(marks().contains("105:0:1"));
    EXPECT_FALSE(QFile::exists(filed));
}

TEST_F(PackageAnnulmentTest, AnArchiveThatCannotBeDeletedIsReportedAfterTheDatabase)
{
    // A folder of the archive's name cannot be deleted as a file.
    QDir(programDir.path()).mkpath("Primara/" + kQuarter);
    PackageAnnulment::loadRegistry(set);
    set->locate("pachet_id", 1);
    ui.answers = {true};
    const QString path = QDir::toNativeSeparators(programDir.path() + "/Primara/" + kQuarter);
    EXPECT_EQ(annul(), "refused: Fisierul '" + path + "' nu poate fi sters !");
    EXPECT_EQ(registry().count(kQuarter), 0);
    EXPECT_TRUE(marks().contains("105:0:1"));
    EXPECT_TRUE(QDir(programDir.path() + "/Primara/" + kQuarter).exists());
}

TEST_F(PackageAnnulmentTest, AYearWithoutPackagesKeepsNoSentRows)
{
    exec("delete from t_pachet where ae_rf=1");
    PackageAnnulment::loadRegistry(set);
    EXPECT_TRUE(set->isEmpty());
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(DM->IBQ2->sqlText(),
              " update saldo_data set sd_pens_fund=0  where  sd_na in ( select na_id from  name_account  inner join "
              "packlabel on(na_pl=pl_id)  where na_year=2014 and pl_ea=1)");
    // The agent's rows of 2014 only.
    EXPECT_EQ(marks(), (QStringList{"103:0:1", "104:0:1", "105:0:1", "106:0:1", "107:0:1", "135:-1:1", "205:-1:1"}));
    EXPECT_EQ(packagedMarkers(), (QStringList{"10:1", "11:1", "13:1", "20:1"}));

    // "Anularea pachetului" on the empty list: the marks again and the packaged markers.
    monthRow(108, 10, 8, 2014, -1);
    EXPECT_EQ(annul(), "");
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(DM->IBQ2->sqlText(),
              " update name_account set na_rest=0   where na_id not in ( select sd_na from saldo_data where "
              "sd_pens_fund = -1 )");
    EXPECT_TRUE(marks().contains("108:0:1"));
    EXPECT_EQ(packagedMarkers(), (QStringList{"10:0", "11:0", "13:1", "20:1"}));
}

// The writes of one transaction stand or fall together.
TEST_F(PackageAnnulmentTest, WritesInOneTransactionAreCommittedOnceOrRolledBack)
{
    {
        WriteTransaction write;
        write.exec("update saldo_data set sd_kft_rf=3 where sd_id=103");
        EXPECT_THROW(write.exec("update saldo_data set no_such_column=1"), DbError);
    }
    EXPECT_FALSE(DM->IBT2->active());
    EXPECT_TRUE(marks().contains("103:-1:1"));
    {
        WriteTransaction write;
        write.exec("update saldo_data set sd_kft_rf=3 where sd_id=103");
        write.exec("update saldo_data set sd_kft_rf=3 where sd_id=104");
        // Not visible from another connection before the commit.
        EXPECT_TRUE(marks().contains("103:-1:1"));
        write.commit();
    }
    EXPECT_FALSE(DM->IBT2->active());
    EXPECT_TRUE(marks().contains("103:-1:3"));
    EXPECT_TRUE(marks().contains("104:-1:3"));
    // The single write still commits on its own afterwards.
    DM->execWrite("update saldo_data set sd_kft_rf=1 where sd_id=103");
    EXPECT_TRUE(marks().contains("103:-1:1"));
}

// A sent row is refused by the monthly-row rule until its package is annulled.
TEST_F(PackageAnnulmentTest, ASentRowCanBeChangedOnlyAfterAnnulment)
{
    useDeclaration(10, 2014);
    DM->saldo_data->locate("sd_id", 105.0);
    DM->saldo_data->edit();
    DM->saldo_data->field("sd_paym_fond").setValue(2000.0);
    EXPECT_EQ(post(DM->saldo_data),
              "Modificari nu se permit. A fost format deja pachetul electronic. Anulati pachetul pentru a corecta !");
    EXPECT_EQ(scalar("select sd_paym_fond from saldo_data where sd_id=105").toDouble(), 1000.0);

    PackageAnnulment::loadRegistry(set);
    set->locate("pachet_id", 1);
    ui.answers = {true};
    ASSERT_EQ(annul(), kQuarter);

    useDeclaration(10, 2014);
    DM->saldo_data->locate("sd_id", 105.0);
    DM->saldo_data->edit();
    DM->saldo_data->field("sd_paym_fond").setValue(2000.0);
    EXPECT_EQ(post(DM->saldo_data), "");
    EXPECT_EQ(scalar("select sd_paym_fond from saldo_data where sd_id=105").toDouble(), 2000.0);
    // March still belongs to the monthly package.
    DM->saldo_data->locate("sd_id", 103.0);
    DM->saldo_data->edit();
    DM->saldo_data->field("sd_paym_fond").setValue(2000.0);
    EXPECT_NE(post(DM->saldo_data), "");
}

} // namespace
