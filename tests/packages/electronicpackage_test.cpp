// Forming the electronic package of a period: the checks that refuse it, the four files
// compared byte for byte with lines written out by hand, the archive read back with bsdtar,
// the filing folders, the copy to removable media, the registry row and the sent marks.

#include "data/ee.h"
#include "packages/electronicpackage.h"
#include "packages/packagecheck.h"
#include "packages/packageannulment.h"
#include "persons/deletions.h"
#include "records/saldodatarules.h"
#include "tests/packages/electronicpackagefixture.h"

#include <QFileInfo>

namespace {

class ElectronicPackageTest : public ElectronicPackageFixture
{
protected:
    // Chooses the period as the dialog does and forms it: the filed archive, or the refusal
    // prefixed with "refused: ".
    QString formPeriod(int year, int item, int formType, bool offerCopy = false)
    {
        ws.year = QString::number(year);
        try {
            PackagePeriod period;
            period.choose(year, item, formType);
            return ElectronicPackage::form(period, formType, offerCopy);
        } catch (const EE &e) {
            return QStringLiteral("refused: ") + e.message();
        }
    }
    bool anyFileWritten() const
    {
        for (const QString &name : ElectronicPackage::fileNames())
            if (QFileInfo::exists(program(name)))
                return true;
        return false;
    }
    const QString name2012 = QStringLiteral("REV5_1234567_00101_2012T00.RAR");
};

TEST_F(ElectronicPackageTest, TheWholeYear2012IsWrittenArchivedFiledRegisteredAndMarked)
{
    year2012();
    const QString filed = formPeriod(2012, 0, 1);
    ASSERT_EQ(filed, program("Primara/" + name2012));

    EXPECT_EQ(written("REV5_SD"), expectedSd2012());
    EXPECT_EQ(written("REV5_IP"), expectedIp2012());
    EXPECT_EQ(written("REV5_T"), expectedT2012());
    EXPECT_EQ(written("REV5_NA"), expectedNa2012());

    // The archive holds exactly the four files, in the archiver's order, and no longer lies
    // in the program folder.
    EXPECT_EQ(memberOrder(filed), (QStringList{"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"}));
    const QMap<QString, QByteArray> inside = members(filed);
    EXPECT_EQ(inside.keys(), (QStringList{"REV5_IP", "REV5_NA", "REV5_SD", "REV5_T"}));
    EXPECT_EQ(inside.value("REV5_SD"), expectedSd2012());
    EXPECT_EQ(inside.value("REV5_IP"), expectedIp2012());
    EXPECT_EQ(inside.value("REV5_T"), expectedT2012());
    EXPECT_EQ(inside.value("REV5_NA"), expectedNa2012());
    EXPECT_FALSE(QFileInfo::exists(program(name2012)));

    // The registry row carries the computer's date; every row of the agent's year is marked,
    // the all-zero row that no file names included; the other agent's row is not.
    EXPECT_EQ(registry(), QStringList{"1|" + name2012 + "|2012|1|12|1"});
    EXPECT_EQ(scalar("select pachet_d from t_pachet").toDate(), Clock::today());
    EXPECT_EQ(marks(), (QStringList{"1:-1", "2:-1", "3:-1", "4:-1", "5:-1", "6:0"}));
    // The document dated on the birth date was moved to the next day before the check.
    EXPECT_EQ(scalar("select ap_idnp_dt from assured_person where ap_id=1").toDate(), QDate(1980, 3, 6));
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(ui.waitDepth, 0);
    // The steps the user saw.
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].name, "Formarea pachetului electronic");
    EXPECT_EQ(ui.progress[0].parts,
              (QStringList{"Verificarea datelor", "Scrierea fișierelor REV5_T, REV5_IP, REV5_NA, REV5_SD",
                           "Arhivarea în " + name2012, "Depunerea arhivei în dosarul Primara",
                           "Înregistrarea pachetului și marcarea rândurilor trimise"}));
    EXPECT_EQ(std::pair(ui.progress[0].done, ui.progress[0].total), std::pair(qint64(5), qint64(5)));
    EXPECT_EQ(ui.openProgress(), 0);
}

TEST_F(ElectronicPackageTest, AMonthlyCorrectionOf2016SendsOnlyItsMonthAndFormType)
{
    package(40, 1, 2016);
    declaration(200, 1, 40, 2016);
    declaration(201, 2, 40, 2016);
    row(1, 200, 2, "100", "0", "6", "23", "'01.02.2016'", "'29.02.2016'", "2141", 5, 101, 3);
    row(2, 200, 3, "1234.56", "0", "74.07", "283.95", "'01.03.2016'", "'31.03.2016'", "2141", 5, 101, 3);
    row(3, 201, 3, "900", "0", "54", "207", "'01.03.2016'", "'31.03.2016'", "2141", 5, 101, 1);

    const QString filed = formPeriod(2016, 2, 3);
    ASSERT_EQ(filed, program("De_corectare/REV5_1234567_00301_2016L03.RAR"));
    EXPECT_TRUE(filesIn("Primara").isEmpty());

    const QByteArray sd = packageLine({"200", "1", "3", "2141", "101", "5", "01.03.2016", "31.03.2016", "1234.56",
                                       "0.00", "74.07", "283.95", "358.02"})
                          + packageLine({"200", "1", "13", "", "", "", "", "", "1234.56", "0.00", "74.07", "283.95",
                                         "358.02"});
    const QByteArray t = packageLine({"3", "2016", "03", "07", "1234567", "1002600012345", "\x22"
                                                                                           "ar\xE3",
                                      "15.01.2013", "1", "1234.56", "0.00", "74.07", "283.95", "358.02"});
    const QMap<QString, QByteArray> inside = members(filed);
    EXPECT_EQ(inside.value("REV5_SD"), sd);
    EXPECT_EQ(inside.value("REV5_IP"), packageLine({"1", "1", "1234.56", "0.00", "74.07", "283.95", "358.02"}));
    EXPECT_EQ(inside.value("REV5_T"), t);
    EXPECT_EQ(inside.value("REV5_NA").count("\r\n"), 1);
    EXPECT_TRUE(inside.value("REV5_NA").startsWith("200\xB0"));

    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00301_2016L03.RAR|2016|3|3|1"});
    EXPECT_EQ(marks(), (QStringList{"1:0", "2:-1", "3:0"}));
}

TEST_F(ElectronicPackageTest, TheSecondQuarterOf2014CarriesAprilToJune)
{
    package(50, 1, 2014);
    declaration(300, 2, 50, 2014);
    row(1, 300, 3, "100", "0", "6", "23", "null", "null", "2141", 5, 101);
    row(2, 300, 4, "200", "0", "12", "46", "null", "null", "2141", 5, 101);
    row(3, 300, 6, "300", "0", "18", "69", "null", "null", "2141", 5, 101);
    row(4, 300, 7, "400", "0", "24", "92", "null", "null", "2141", 5, 101);

    const QString filed = formPeriod(2014, 1, 1);
    ASSERT_EQ(filed, program("Primara/REV5_1234567_00101_2014T02.RAR"));
    const QMap<QString, QByteArray> inside = members(filed);
    EXPECT_EQ(inside.value("REV5_SD"),
              packageLine({"300", "1", "4", "2141", "101", "5", "", "", "200.00", "0.00", "12.00", "46.00", "58.00"})
                  + packageLine({"300", "1", "6", "2141", "101", "5", "", "", "300.00", "0.00", "18.00", "69.00",
                                 "87.00"})
                  + packageLine({"300", "1", "13", "", "", "", "", "", "500.00", "0.00", "30.00", "115.00",
                                 "145.00"}));
    EXPECT_TRUE(inside.value("REV5_T").startsWith(QByteArray("1\xB0"
                                                             "2014\xB0"
                                                             "02\xB0")));
    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00101_2014T02.RAR|2014|4|6|1"});
    EXPECT_EQ(marks(), (QStringList{"1:0", "2:-1", "3:-1", "4:0"}));
}

TEST_F(ElectronicPackageTest, EveryArchiveFormedPassesTheCheckOfTheReceivingSide)
{
    // The rows as the save rules leave them: CPAS of 11 digits, a document with its number, sick
    // pay in a row of its own, periods on every row.
    year2012();
    exec("update assured_person set ap_cpas=substring(ap_cpas from 3 for 11)");
    exec("update assured_person set ap_doc_number='123456' where ap_id=2");
    exec("update saldo_data set sd_ill=0 where sd_id=2");
    exec("update saldo_data set sd_dela_d='01.05.2012', sd_pina_d='31.05.2012' where sd_id=5");
    const QString whole = formPeriod(2012, 0, 1);
    package(40, 1, 2016);
    declaration(200, 1, 40, 2016);
    row(7, 200, 3, "1234.56", "0", "74.07", "283.95", "'01.03.2016'", "'31.03.2016'", "2141", 5, 101, 3);
    const QString correction = formPeriod(2016, 2, 3);
    for (const QString &archive : {whole, correction}) {
        const PackageCheck::Result result = PackageCheck::checkArchive(archive, nullptr);
        QStringList findings;
        for (const PackageFinding &f : result.findings)
            findings << f.text();
        EXPECT_TRUE(result.readable) << archive.toStdString();
        EXPECT_EQ(findings, QStringList()) << archive.toStdString();
    }
}

// ---------------------------------------------------------------- checks before forming

TEST_F(ElectronicPackageTest, TheChecksRefuseInTheirOrderBeforeAnyFileIsWritten)
{
    // Nothing in the period.
    EXPECT_EQ(formPeriod(2012, 0, 1), "refused: Nu sunt declaratii pentru perioada indicata !");

    // A package of 51 declarations.
    package(20, 1);
    for (int i = 0; i < 51; ++i) {
        declaration(1000 + i, 2, 20);
        row(5000 + i, 1000 + i, 1, "10", "0", "1", "2", "null", "null", "null", 5, 101);
    }
    EXPECT_EQ(formPeriod(2012, 0, 1),
              "refused: Sunt pachete ce contin mai mult de 50 declaratii. Formati pachetele din nou ! ");
    exec("delete from saldo_data where sd_na>1010");
    exec("delete from name_account where na_id>1010");

    // A declaration not counted as packaged.
    exec("update name_account set na_rest=0 where na_id=1001");
    EXPECT_EQ(formPeriod(2012, 0, 1), "refused: Formati pachetele declaratiilor !");
    exec("update name_account set na_rest=1");

    // Two packages of the year with one number.
    package(21, 1);
    declaration(2000, 4, 21);
    row(6000, 2000, 2, "10", "0", "1", "2", "null", "null", "null", 5, 101);
    EXPECT_EQ(formPeriod(2012, 0, 1), "refused: Gresala.  Numere de pachete ce se repeta.  Corectati !");

    EXPECT_FALSE(anyFileWritten());
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_pens_fund=-1").toInt(), 0);
    EXPECT_FALSE(QDir(program("Primara")).exists());

    // Once the numbers differ, a declaration without rows is dropped and the package forms.
    exec("update packlabel set pl_nr=2 where pl_id=21");
    declaration(2001, 3, 21);
    EXPECT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));
    EXPECT_EQ(scalar("select count(*) from name_account where na_id=2001").toInt(), 0);
}

TEST_F(ElectronicPackageTest, AValueThatWouldBreakALineRefusesTheFormingAndWritesNothing)
{
    year2012();
    exec("update assured_person set ap_first_name='PO" + QStringLiteral("°") + "PESCU' where ap_id=2");
    const QString refusal = formPeriod(2012, 0, 1);
    EXPECT_TRUE(refusal.startsWith("refused: ")) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains("1234567890124")) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains("POPESCU") || refusal.contains("PO°PESCU")) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains("Numele")) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains("°")) << refusal.toStdString();

    exec("update assured_person set ap_first_name='POPESCU', ap_doc_number='12' || ascii_char(13) || '34' "
         "where ap_id=2");
    const QString lineEnd = formPeriod(2012, 0, 1);
    EXPECT_TRUE(lineEnd.contains("1234567890124")) << lineEnd.toStdString();
    EXPECT_TRUE(lineEnd.contains("Numărul documentului")) << lineEnd.toStdString();

    exec("update assured_person set ap_doc_number=null, ap_idnp_who='A' || ascii_char(10) || 'B' where ap_id=2");
    EXPECT_TRUE(formPeriod(2012, 0, 1).contains("Eliberat de"));

    EXPECT_FALSE(anyFileWritten());
    EXPECT_TRUE(filesIn("Primara").isEmpty());
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_pens_fund=-1").toInt(), 0);

    // A person whose rows of the period are all zero is not written, so the name does not
    // stand in the way.
    exec("update assured_person set ap_idnp_who=null where ap_id=2");
    exec("update assured_person set ap_first_name='ZE" + QStringLiteral("°") + "RO' where ap_id=3");
    EXPECT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));
    EXPECT_EQ(written("REV5_NA"), expectedNa2012());
}

// ---------------------------------------------------------------- archive, filing, copy

TEST_F(ElectronicPackageTest, FormingThePeriodAgainReplacesTheRegistryRowAndTheFiledArchive)
{
    year2012();
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(7,'REV5_1234567_00101_2015L05.RAR','01.06.2015',2015,5,5,1)");
    ASSERT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));
    exec("update saldo_data set sd_paym_fond=600, sd_pens_fund=0 where sd_id=3");
    ASSERT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));

    EXPECT_EQ(registry(), (QStringList{"7|REV5_1234567_00101_2015L05.RAR|2015|5|5|1",
                                       "8|" + name2012 + "|2012|1|12|1"}));
    EXPECT_EQ(filesIn("Primara"), QStringList{name2012});
    EXPECT_TRUE(members(program("Primara/" + name2012)).value("REV5_SD").contains("600.00"));
}

TEST_F(ElectronicPackageTest, AFailingArchiverLeavesTheFilesAndTheOlderArchiveAndRegistersNothing)
{
    year2012();
    QDir().mkpath(program("Primara"));
    QFile older(program("Primara/" + name2012));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older archive");
    older.close();
    ASSERT_TRUE(QFile::remove(program("rar")));

    EXPECT_EQ(formPeriod(2012, 0, 1), "refused: Gresala la arhivare !");
    EXPECT_EQ(written("REV5_SD"), expectedSd2012());
    EXPECT_EQ(written("REV5_NA"), expectedNa2012());
    EXPECT_EQ(fileIn(program("Primara"), name2012), "older archive");
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_pens_fund=-1").toInt(), 0);
    EXPECT_EQ(ui.waitDepth, 0);
    // The window of the steps closed at the archiver's failure.
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].parts.last(), "Arhivarea în " + name2012);
    EXPECT_TRUE(ui.progress[0].ended);

    // With the archiver back the same period simply forms.
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), program("rar")));
    EXPECT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));
    EXPECT_EQ(members(program("Primara/" + name2012)).value("REV5_T"), expectedT2012());
}

TEST_F(ElectronicPackageTest, TheArchiveIsCopiedToTheChosenFolderAndReadBack)
{
    year2012();
    QTemporaryDir media;
    ui.answers = {true};
    ui.folder = media.path();
    const QString filed = formPeriod(2012, 0, 1, true);
    ASSERT_EQ(filed, program("Primara/" + name2012));
    EXPECT_EQ(ui.questions, QStringList{"De copiat fisierul " + name2012 + " pe suport magnetic ?"});
    EXPECT_EQ(ui.notices, QStringList{"Copiere reusita !"});
    EXPECT_EQ(QDir(media.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name2012});
    EXPECT_EQ(fileIn(media.path(), name2012), fileIn(program("Primara"), name2012));
    EXPECT_EQ(members(media.path() + "/" + name2012).value("REV5_IP"), expectedIp2012());
}

TEST_F(ElectronicPackageTest, AFailedCopyIsReportedAndTheFormingGoesOn)
{
    year2012();
    ui.answers = {true};
    ui.folder = program("no-such-media");
    EXPECT_EQ(formPeriod(2012, 0, 1, true), program("Primara/" + name2012));
    EXPECT_EQ(ui.notices, QStringList{"Gresala la copiere pe discheta !"});
    EXPECT_FALSE(QDir(ui.folder).exists());
    EXPECT_EQ(registry().size(), 1);

    // No: nothing is copied and nothing is said.
    QTemporaryDir media;
    ui.notices.clear();
    ui.answers = {false};
    ui.folder = media.path();
    exec("update saldo_data set sd_pens_fund=0");
    EXPECT_EQ(formPeriod(2012, 0, 1, true), program("Primara/" + name2012));
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(QDir(media.path()).isEmpty());
}

TEST_F(ElectronicPackageTest, ACopyThatCannotBeWrittenLeavesNoPartialFile)
{
    QTemporaryDir media;
    const QString archive = program("A.RAR");
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100000, 'x'));
    f.close();
    EXPECT_TRUE(ElectronicPackage::copyVerified(archive, media.path()));
    EXPECT_EQ(QDir(media.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"A.RAR"});

    // The name is taken by a folder: the copy cannot take it, and its temporary file goes.
    QTemporaryDir blocked;
    QDir(blocked.path()).mkdir("A.RAR");
    QDir(blocked.path() + "/A.RAR").mkdir("inside");
    EXPECT_FALSE(ElectronicPackage::copyVerified(archive, blocked.path()));
    EXPECT_EQ(QDir(blocked.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    EXPECT_FALSE(ElectronicPackage::copyVerified(program("missing.RAR"), media.path()));
}

// ---------------------------------------------------------------- sent rows and annulment

TEST_F(ElectronicPackageTest, SentRowsAreRefusedUntilThePackageIsAnnulled)
{
    year2012();
    ASSERT_EQ(formPeriod(2012, 0, 1), program("Primara/" + name2012));

    auto loadRows = [] {
        ReadScope read(DM->IBQ1, "select * from saldo_data where sd_na=100 order by sd_month");
        CopyToMemTable(read.query(), DM->saldo_data, 3);
    };
    auto deleteRow = [] {
        try {
            Deletions::deleteMonthlyRow();
        } catch (const EE &e) {
            return e.message();
        }
        return QString();
    };
    loadRows();
    ui.answers = {true};
    EXPECT_EQ(deleteRow(), "Modificari nu se permit. A fost format deja pachetul electronic. "
                           "Anulati pachetul pentru a corecta !");
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_na=100").toInt(), 2);

    RecordSet registrySet(QStringLiteral("t_pachet"));
    PackageAnnulment::declareRegistry(&registrySet);
    PackageAnnulment::loadRegistry(&registrySet);
    ASSERT_EQ(registrySet.recordCount(), 1);
    ui.answers = {true};
    EXPECT_EQ(PackageAnnulment::annulCurrent(&registrySet), name2012);
    EXPECT_FALSE(QFileInfo::exists(program("Primara/" + name2012)));
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_EQ(marks(), (QStringList{"1:0", "2:0", "3:0", "4:0", "5:0", "6:0"}));

    loadRows();
    DM->saldo_data->last();
    ui.answers = {true};
    EXPECT_EQ(deleteRow(), "");
    EXPECT_EQ(column("select sd_month from saldo_data where sd_na=100"), QStringList{"1"});
}

} // namespace
