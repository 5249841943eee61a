// The four files of the electronic package, compared byte for byte with lines written out by
// hand, over rows read from a database file; the archive name; refusals that write nothing.

#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "packages/packagearchivename.h"
#include "packages/packagefiles.h"
#include "packages/topackagecharset.h"
#include "tests/packages/packageline.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// One line: every field followed by 0xB0, then CR LF.
QByteArray line(std::initializer_list<QByteArray> fields)
{
    return packageLine(fields);
}

QByteArray fileBytes(const QString &folder, const char *name)
{
    QFile f(QDir(folder).filePath(QLatin1String(name)));
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

class PackageFilesTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,ea_accountant_name,"
             "ea_kaa2_fosk,ea_receiving_usr) values(1,'1234567','1002600012345','SRL','D','C',7,'Ţară')");
        person(1, "1234567890123", "ţară", "ion", "âmîş", "05.03.1980", "0", "ab", "x12", "ofc. 12 chişinău",
               "06.03.1980");
        person(2, " 22 ", "  popescu ", "maria", "", "01.01.1990", "1", "", "", "", "");
        person(3, "3", QString(60, u'b'), "c", "d", "", "2", "", "", QString(25, u'w'), "");
        exec("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf,pl_nr) "
             "values(20,1,1,2012,'15.01.2013',1,1)");
        exec("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf,pl_nr) "
             "values(21,1,2,2012,'15.01.2013',1,2)");
        declaration(100, 20, 1);
        declaration(101, 20, 2);
        declaration(102, 21, 3);
        row(1, 100, 1, "10.005", "0", "0.605", "2.304", "'01.01.2012'", "'31.01.2012'", "2141", "101");
        row(2, 100, 2, "10.004", "1.5", "0.6", "2.304", "'01.02.2012'", "'29.02.2012'", "2141", "101");
        row(3, 101, 3, "500", "0", "3", "5", "'01.03.2012'", "'31.03.2012'", "null", "150");
        row(4, 102, 12, "123456789.126", "0", "-1.5", "0", "null", "null", "2141", "101");
    }
    void person(int id, const char *cpas, const QString &first, const char *middle, const char *last, const char *birth,
                const char *docType, const char *seria, const char *number, const QString &who, const char *issued)
    {
        auto q = [](const QString &s) { return s.isEmpty() ? QStringLiteral("null") : "'" + s + "'"; };
        exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,"
                            "ap_last_name,ap_birth_dt,ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,"
                            "ap_idnp_dt) values(%1,1,%2,%3,%4,%5,%6,'200%1',%7,%8,%9,%10,%11)")
                 .arg(id)
                 .arg(q(cpas), q(first), q(middle), q(last), q(birth), docType, q(seria), q(number), q(who))
                 .arg(q(issued)));
    }
    void declaration(int id, int pl, int ap)
    {
        exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_kft_rf) values(%1,%2,%3,2012,1)")
                 .arg(id)
                 .arg(pl)
                 .arg(ap));
    }
    void row(int id, int na, int month, const char *fond, const char *ill, const char *add, const char *ea,
             const char *from, const char *to, const char *position, const char *category)
    {
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,"
                            "sd_sum_add_ea,sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category,sd_kft_rf) "
                            "values(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12,1)")
                 .arg(id)
                 .arg(na)
                 .arg(month)
                 .arg(QLatin1String(fond), QLatin1String(ill), QLatin1String(add), QLatin1String(ea),
                      QLatin1String(from), QLatin1String(to), QLatin1String(position))
                 .arg(category == QByteArray("150") ? 6 : 5)
                 .arg(QLatin1String(category)));
    }

    // The record sets as forming fills them from the database.
    void load()
    {
        {
            ReadScope r(DM->IBQ5, "select pl_id,pl_nr,count(distinct na_id),0,0,0,0 from packlabel "
                                  "inner join name_account on na_pl=pl_id group by pl_id,pl_nr order by pl_id");
            CopyToMemTable(r.query(), DM->rev5_pl, 3);
        }
        {
            ReadScope r(DM->IBQ5, "select na_id,na_pl,pl_nr,ap_cpas,ap_first_name,ap_middle_name,ap_last_name,"
                                  "ap_birth_dt,ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt "
                                  "from name_account inner join assured_person on na_ap=ap_id "
                                  "inner join packlabel on na_pl=pl_id order by na_id");
            CopyToMemTable(r.query(), DM->rev5_na, 3);
        }
        {
            ReadScope r(DM->IBQ5, "select na_id,na_pl,pl_nr,sd_month,sd_paym_fond,sd_ill,sd_sum_add_ea,sd_sum_add,"
                                  "sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category from name_account "
                                  "inner join saldo_data on na_id=sd_na inner join packlabel on na_pl=pl_id "
                                  "order by na_pl,na_id,sd_month");
            LoadQueryRows(r.query(), &rows);
        }
    }
    PackageFiles::Header header()
    {
        PackageFiles::Header h;
        h.formType = 1;
        h.year = "2012";
        h.periodCode = "T00";
        h.office = scalar("select ea_kaa2_fosk from econ_agent").toLongLong();
        h.agentCode = scalar("select ea_fosk from econ_agent").toString();
        h.fiscalCode = scalar("select ea_idno from econ_agent").toString();
        h.responsible = scalar("select ea_receiving_usr from econ_agent").toString();
        h.date = QDate(2013, 1, 15);
        return h;
    }
    void writeAll(PackageFiles &files)
    {
        files.writeSd(&rows, DM->rev5_sd);
        files.writeIp();
        files.writeT();
        files.writeNa();
    }
    QString refusal(PackageFiles &files)
    {
        try {
            writeAll(files);
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }

    RecordSet rows{QStringLiteral("rows")};
    QTemporaryDir out;
};

TEST_F(PackageFilesTest, TheFourFilesHoldTheRowsByteForByte)
{
    load();
    PackageFiles files(out.path(), header(), DM->rev5_pl, DM->rev5_na);
    writeAll(files);

    // Round2(10.005) + Round2(10.004) = 10.01 + 10.00; 2.304 twice sums to 4.60, not 4.61; category 150 leaves the pay fund out of
    // its declaration's total; 123456789.126 keeps 10 significant digits.
    const QByteArray sd = line({"100", "1", "1", "2141", "101", "5", "01.01.2012", "31.01.2012", "10.01", "0.00",
                                "0.61", "2.30", "2.91"})
                          + line({"100", "1", "2", "2141", "101", "5", "01.02.2012", "29.02.2012", "10.00", "1.50",
                                  "0.60", "2.30", "2.90"})
                          + line({"100", "1", "13", "", "", "", "", "", "20.01", "1.50", "1.21", "4.60", "5.81"})
                          + line({"101", "1", "3", "", "150", "6", "01.03.2012", "31.03.2012", "500.00", "0.00", "3.00",
                                  "5.00", "8.00"})
                          + line({"101", "1", "13", "", "", "", "", "", "0.00", "0.00", "3.00", "5.00", "8.00"})
                          + line({"102", "2", "12", "2141", "101", "5", "", "", "123456789.10", "0.00", "-1.50", "0.00",
                                  "-1.50"})
                          + line(
                              {"102", "2", "13", "", "", "", "", "", "123456789.10", "0.00", "-1.50", "0.00", "-1.50"});
    EXPECT_EQ(fileBytes(out.path(), "REV5_SD"), sd);

    const QByteArray ip = line({"1", "2", "20.01", "1.50", "4.21", "9.60", "13.81"})
                          + line({"2", "1", "123456789.10", "0.00", "-1.50", "0.00", "-1.50"});
    EXPECT_EQ(fileBytes(out.path(), "REV5_IP"), ip);

    // The office 7 as "07"; "Ţară" keeps its small letters: 0x22 0x61 0x72 0xE3. The pay fund
    // 123456809.11 rounds to 10 significant digits.
    const QByteArray t = line({"1", "2012", "00", "07", "1234567", "1002600012345", "\x22\x61\x72\xE3", "15.01.2013",
                               "2", "123456809.10", "1.50", "2.71", "9.60", "12.31"});
    EXPECT_EQ(fileBytes(out.path(), "REV5_T"), t);

    // "ţară" upper-cased and mapped: 0x22 0x41 0x52 0x7B; document type 0 is empty; series and
    // authority upper-cased without the mapping; the number as stored; names cut to 50, the
    // authority to 20.
    const QByteArray na = line({"100", "1", "1234567890123", "\x22\x41\x52\x7B", "ION", "|M}:", "05.03.1980", "2001",
                                "", "AB", "x12",
                                "OFC. 12 CHI\xAA"
                                "IN\xC3"
                                "U",
                                "06.03.1980"})
                          + line({"101", "1", "22", "POPESCU", "MARIA", "", "01.01.1990", "2002", "1", "", "", "", ""})
                          + line({"102", "2", "3", QByteArray(50, 'B'), "C", "D", "", "2003", "2", "", "",
                                  QByteArray(20, 'W'), ""});
    EXPECT_EQ(fileBytes(out.path(), "REV5_NA"), na);

    EXPECT_EQ(DM->rev5_sd->recordCount(), 4);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), (QStringList{"REV5_IP", "REV5_NA", "REV5_SD", "REV5_T"}));
}

TEST_F(PackageFilesTest, TwoDigitOfficeAndCorrectionMonthHeader)
{
    exec("update econ_agent set ea_kaa2_fosk=12, ea_receiving_usr='Îon Ştefan'");
    load();
    PackageFiles::Header h = header();
    h.formType = 3;
    h.year = "2016";
    h.periodCode = "L03";
    PackageFiles files(out.path(), h, DM->rev5_pl, DM->rev5_na);
    writeAll(files);
    const QByteArray t = line({"3", "2016", "03", "12", "1234567", "1002600012345", "}on :tefan", "15.01.2013", "2",
                               "123456809.10", "1.50", "2.71", "9.60", "12.31"});
    EXPECT_EQ(fileBytes(out.path(), "REV5_T"), t);
}

TEST_F(PackageFilesTest, NoMonthlyRowsGiveAnEmptyRowFileAndZeroTotals)
{
    exec("delete from saldo_data");
    load();
    DM->rev5_pl->emptyDataSet();
    DM->rev5_na->emptyDataSet();
    PackageFiles files(out.path(), header(), DM->rev5_pl, DM->rev5_na);
    writeAll(files);
    EXPECT_EQ(fileBytes(out.path(), "REV5_SD"), QByteArray());
    EXPECT_EQ(fileBytes(out.path(), "REV5_IP"), QByteArray());
    EXPECT_EQ(fileBytes(out.path(), "REV5_NA"), QByteArray());
    EXPECT_EQ(fileBytes(out.path(), "REV5_T"),
              line({"1", "2012", "00", "07", "1234567", "1002600012345", "\x22\x61\x72\xE3", "15.01.2013", "0", "0.00",
                    "0.00", "0.00", "0.00", "0.00"}));
}

TEST_F(PackageFilesTest, AValueThatWouldBreakALineIsRefusedAndNothingIsWritten)
{
    struct Case {
        const char *update;
        const char *field;
    };
    const Case cases[] = {
        {"update assured_person set ap_middle_name='ma°ria' where ap_id=2", "Prenumele"},
        {"update assured_person set ap_idnp_who='ofc'||ascii_char(13)||'x' where ap_id=2", "Eliberat de"},
        {"update assured_person set ap_doc_number='1'||ascii_char(10)||'2' where ap_id=2", "Numărul documentului"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.update);
        exec("update assured_person set ap_middle_name='maria', ap_idnp_who=null, ap_doc_number=null where ap_id=2");
        exec(QString::fromUtf8(c.update));
        load();
        PackageFiles files(out.path(), header(), DM->rev5_pl, DM->rev5_na);
        const QString message = refusal(files);
        EXPECT_TRUE(message.contains("CPAS 22, POPESCU") || message.contains("CPAS 22, popescu"))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.field))) << message.toStdString();
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

TEST_F(PackageFilesTest, TheResponsiblePersonWithTheSeparatorIsRefused)
{
    exec("update econ_agent set ea_receiving_usr='Ion °'");
    load();
    PackageFiles files(out.path(), header(), DM->rev5_pl, DM->rev5_na);
    const QString message = refusal(files);
    EXPECT_TRUE(message.contains("Persoana responsabilă")) << message.toStdString();
    EXPECT_TRUE(message.contains("°")) << message.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(PackageFilesTest, AFolderThatCannotBeWrittenIsReported)
{
    load();
    PackageFiles files(out.path() + "/missing", header(), DM->rev5_pl, DM->rev5_na);
    EXPECT_TRUE(refusal(files).startsWith("Eroare la scrierea fișierului"));
}

TEST(PackageCharset, MapsTheFiveCapitalsOnly)
{
    EXPECT_EQ(ToPackageCharset("\xCE\xC3\xC2\xAA\xDE\xEE\xE3\xE2\xBA\xFE"), QByteArray("}{|:\"\xEE\xE3\xE2\xBA\xFE"));
    EXPECT_EQ(ToPackageCharset(QByteArray(300, '\xDE')), QByteArray(255, '"'));
}

TEST(PackageMoney, TwoDecimalsOfTenSignificantDigits)
{
    EXPECT_EQ(PackageFiles::moneyText(0), "0.00");
    EXPECT_EQ(PackageFiles::moneyText(1234.5), "1234.50");
    EXPECT_EQ(PackageFiles::moneyText(123456789.126), "123456789.10");
    EXPECT_EQ(PackageFiles::moneyText(-0.001), "0.00");
    EXPECT_EQ(PackageFiles::moneyText(-2.675), "-2.68");
}

TEST(PackageArchiveName, EncodesAgentFormTypeYearAndPeriod)
{
    EXPECT_EQ(PackageArchiveName("1234567", 1, "2015", "L03"), "REV5_1234567_00101_2015L03.RAR");
    EXPECT_EQ(PackageArchiveName("1234567", 3, "2016", "L12"), "REV5_1234567_00301_2016L12.RAR");
    EXPECT_EQ(PackageArchiveName("1234567", 1, " 2012 ", "T00"), "REV5_1234567_00101_2012T00.RAR");
    const QString quarter = PackageArchiveName("1234567", 1, "2014", "T04");
    EXPECT_EQ(quarter, "REV5_1234567_00101_2014T04.RAR");
    EXPECT_EQ(quarter.mid(13, 3), "001");
    EXPECT_EQ(quarter.mid(23, 3), "T04");
}

} // namespace
