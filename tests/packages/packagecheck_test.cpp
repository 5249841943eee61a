// The check of an electronic package: a package formed by the program from rows of a database
// file passes with no finding; each hand-made change breaks one rule and is reported as that
// rule says; damaged and foreign archives give a finding, never a crash.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "packages/packagecheck.h"
#include "packages/packageclassifiers.h"
#include "packages/check/packagebounds.h"
#include "packages/packagefiles.h"
#include "platform/platform.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <zlib.h>

QT_BEGIN_NAMESPACE
// Readable failures.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{' << l.join(QStringLiteral(" | ")).toStdString() << '}';
}
QT_END_NAMESPACE

namespace {

const char *const Clean = "REV5_1234567_00101_2015L03.RAR";

// A member as lines of fields, to be changed and written back.
using Lines = QList<QList<QByteArray>>;

Lines split(const QByteArray &bytes)
{
    Lines out;
    for (QByteArray line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        line.chop(2); // separator before CR
        out << line.split('\xB0');
    }
    return out;
}

QByteArray join(const Lines &lines)
{
    QByteArray out;
    for (const auto &fields : lines) {
        for (const QByteArray &f : fields)
            out += f + '\xB0';
        out += "\r\n";
    }
    return out;
}

QStringList texts(const PackageCheck::Result &r)
{
    QStringList out;
    for (const PackageFinding &f : r.findings)
        out << f.text();
    return out;
}

// Packs files into an archive with the program's archiver, from the folder holding them.
QString pack(const QString &folder, const QString &archive, const QStringList &names)
{
    QProcess rar;
    rar.setWorkingDirectory(folder);
    rar.start(QStringLiteral(EVD_RAR_EXE), QStringList{QStringLiteral("a"), archive} + names);
    rar.waitForFinished(-1);
    EXPECT_EQ(rar.exitCode(), 0) << rar.readAllStandardError().toStdString();
    return QDir(folder).filePath(archive);
}

class PackageCheckTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,ea_accountant_name,"
             "ea_kaa2_fosk,ea_receiving_usr) values(1,'1234567','1002600012345','SRL','D','C',7,'Ţară')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,ap_last_name,ap_birth_dt,"
             "ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt) values(1,1,'12345678901',"
             "'popescu','ion',null,'05.03.1980','2001234567890',1,'A','1234567','OF. 12','06.03.2000')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,ap_last_name,ap_birth_dt,"
             "ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt) values(2,1,'12345678902',"
             "'ţară','maria','ion','01.01.1990',null,3,null,'12345',null,null)");
        for (int pl : {20, 21})
            exec(QStringLiteral("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf,pl_nr) "
                                "values(%1,1,1,2015,'15.04.2015',1,%2)")
                     .arg(pl)
                     .arg(pl - 19));
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_kft_rf) values(100,20,1,2015,1)");
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_kft_rf) values(101,21,2,2015,1)");
        // 6 % and 23 % of the pay fund in 2015; category 150 outside the pay fund; category 153
        // all benefit and no contributions.
        row(1, 100, "1000", "0", "60", "230", "'31.03.2015'", "111201", 5, 101);
        row(2, 100, "500", "0", "30", "115", "'31.03.2015'", "111201", 5, 150);
        row(3, 101, "700", "700", "0", "0", "'15.03.2015'", "null", 6, 153);
        for (RecordSet *s : {DM->k_id_doc_type, DM->k_prof, DM->k_tariff_ap, DM->k_tariff_ap_value})
            LoadClassifier(s);
        ASSERT_TRUE(PackageClassifiers::fromDataModule().has_value());
        classifiers = *PackageClassifiers::fromDataModule();
        form();
    }
    void row(int id, int na, const char *fond, const char *ill, const char *add, const char *ea, const char *until,
             const char *position, int days, int category)
    {
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,"
                            "sd_sum_add_ea,sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category,sd_kft_rf) "
                            "values(%1,%2,3,%3,%4,%5,%6,'01.03.2015',%7,%8,%9,%10,1)")
                 .arg(id)
                 .arg(na)
                 .arg(QLatin1String(fond), QLatin1String(ill), QLatin1String(add), QLatin1String(ea),
                      QLatin1String(until), QLatin1String(position))
                 .arg(days)
                 .arg(category));
    }

    // The four files as the program writes them, into `folder`, and their lines.
    void form()
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
        RecordSet rows{QStringLiteral("rows")};
        {
            ReadScope r(DM->IBQ5, "select na_id,na_pl,pl_nr,sd_month,sd_paym_fond,sd_ill,sd_sum_add_ea,sd_sum_add,"
                                  "sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category from name_account "
                                  "inner join saldo_data on na_id=sd_na inner join packlabel on na_pl=pl_id "
                                  "order by na_pl,na_id,sd_month,sd_id");
            LoadQueryRows(r.query(), &rows);
        }
        PackageFiles::Header h;
        h.formType = 1;
        h.year = QStringLiteral("2015");
        h.periodCode = QStringLiteral("L03");
        h.office = 7;
        h.agentCode = QStringLiteral("1234567");
        h.fiscalCode = QStringLiteral("1002600012345");
        h.responsible = QString::fromUtf8("Ţară");
        h.date = QDate(2015, 4, 15);
        PackageFiles files(folder.path(), h, DM->rev5_pl, DM->rev5_na);
        files.writeSd(&rows);
        files.writeIp();
        files.writeT();
        files.writeNa();
        for (const char *name : {"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"}) {
            QFile f(QDir(folder.path()).filePath(QLatin1String(name)));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            members[QLatin1String(name)] = split(f.readAll());
        }
    }

    // The members (changed or not) written out and packed under `name`, then checked.
    PackageCheck::Result check(const QString &name = QLatin1String(Clean), bool withClassifiers = true)
    {
        QTemporaryDir dir;
        QStringList names;
        for (auto it = members.cbegin(); it != members.cend(); ++it) {
            QFile f(QDir(dir.path()).filePath(it.key()));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(raw.contains(it.key()) ? raw.value(it.key()) : join(it.value()));
            names << it.key();
        }
        return PackageCheck::checkArchive(pack(dir.path(), name, names), withClassifiers ? &classifiers : nullptr);
    }
    void set(const char *member, int line, int field, const QByteArray &value)
    {
        members[QLatin1String(member)][line - 1][field - 1] = value;
    }

    QTemporaryDir folder;
    QMap<QString, Lines> members;
    QMap<QString, QByteArray> raw; // a member's bytes written as they are
    PackageClassifiers classifiers;
};

TEST_F(PackageCheckTest, APackageFormedByTheProgramHasNoFinding)
{
    // The files are the writer's own: two packages, category 150 left out of the pay fund.
    EXPECT_EQ(join(members["REV5_SD"]).count("\r\n"), 5);
    EXPECT_EQ(members["REV5_T"][0][9], "1700.00");

    const QString archive = pack(folder.path(), QLatin1String(Clean), {"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"});
    for (const PackageClassifiers *c : {&classifiers, static_cast<PackageClassifiers *>(nullptr)}) {
        const PackageCheck::Result r = PackageCheck::checkArchive(archive, c);
        EXPECT_TRUE(r.readable);
        EXPECT_EQ(texts(r), QStringList());
        EXPECT_TRUE(r.clean());
    }
}

struct Change {
    const char *member;
    int line, field;
    QByteArray value;
};
struct Case {
    const char *rule;
    std::vector<Change> changes;
    QStringList findings;
};

// Each case breaks one rule; where a sum must change with it, the totals above it are changed
// too, so that nothing else is wrong.
const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"IDNP of 12 digits",
         {{"REV5_NA", 1, 8, "200123456789"}},
         {"REV5_NA, rîndul 1, cîmpul 8: codul personal trebuie să aibă 13 cifre"}},
        {"IDNP missing for an identity card",
         {{"REV5_NA", 1, 8, ""}},
         {"REV5_NA, rîndul 1, cîmpul 8: codul personal lipsește; documentul de tipul 1 îl cere"}},
        {"CPAS of 10 digits",
         {{"REV5_NA", 2, 3, "1234567890"}},
         {"REV5_NA, rîndul 2, cîmpul 3: codul personal de asigurări sociale (CPAS) trebuie să aibă 11 cifre"}},
        {"family name missing", {{"REV5_NA", 1, 4, ""}}, {"REV5_NA, rîndul 1, cîmpul 4: numele lipsește"}},
        {"name in small letters",
         {{"REV5_NA", 1, 5, "Ion"}},
         {"REV5_NA, rîndul 1, cîmpul 5: prenumele trebuie scris cu majuscule"}},
        {"capital letter not mapped",
         {{"REV5_NA", 2, 4,
           "\xDE"
           "AR{"}},
         {"REV5_NA, rîndul 2, cîmpul 4: litera Ţ se scrie în pachet ca semnul \""}},
        {"date of birth that does not exist",
         {{"REV5_NA", 1, 7, "30.02.1980"}},
         {"REV5_NA, rîndul 1, cîmpul 7: data nașterii trebuie să fie o dată existentă în forma zz.ll.aaaa"}},
        {"document issued on the day of birth",
         {{"REV5_NA", 1, 13, "05.03.1980"}},
         {"REV5_NA, rîndul 1, cîmpul 13: data eliberării documentului trebuie să fie după data nașterii"}},
        {"document type unknown",
         {{"REV5_NA", 2, 9, "5"}},
         {"REV5_NA, rîndul 2, cîmpul 9: tipul de document 5 nu există în clasificator"}},
        {"series of three letters",
         {{"REV5_NA", 1, 10, "ABC"}},
         {"REV5_NA, rîndul 1, cîmpul 10: seria documentului are mai mult de două litere"}},
        {"document number with a letter",
         {{"REV5_NA", 2, 11, "12A45"}},
         {"REV5_NA, rîndul 2, cîmpul 11: numărul documentului trebuie să fie numai din cifre"}},
        {"month outside the period",
         {{"REV5_SD", 4, 3, "4"}},
         {"REV5_SD, rîndul 4, cîmpul 3: luna 4 nu face parte din perioada L03 a arhivei"}},
        {"month 0",
         {{"REV5_SD", 4, 3, "0"}},
         {"REV5_SD, rîndul 4, cîmpul 3: luna trebuie să fie un număr de la 1 la 12"}},
        {"function unknown",
         {{"REV5_SD", 1, 4, "999999"}},
         {"REV5_SD, rîndul 1, cîmpul 4: codul funcției 999999 nu există în clasificator"}},
        {"category unknown, hence no rate",
         {{"REV5_SD", 1, 5, "999"}},
         {"REV5_SD, rîndul 1, cîmpul 5: categoria 999 nu există în clasificator",
          "REV5_SD, rîndul 1, cîmpul 5: nu există tarif pentru categoria 999 în anul 2015"}},
        {"seven working days",
         {{"REV5_SD", 1, 6, "7"}},
         {"REV5_SD, rîndul 1, cîmpul 6: zilele lucrătoare pe săptămînă trebuie să fie 5 sau 6"}},
        {"period into the next month",
         {{"REV5_SD", 1, 8, "02.04.2015"}},
         {"REV5_SD, rîndul 1, cîmpul 8: perioada trebuie să înceapă și să se încheie în aceeași lună"}},
        {"period that ends before it begins",
         {{"REV5_SD", 1, 7, "20.03.2015"}, {"REV5_SD", 1, 8, "10.03.2015"}},
         {"REV5_SD, rîndul 1, cîmpul 8: perioada se încheie înainte de a începe"}},
        {"period before the row's month",
         {{"REV5_SD", 1, 7, "01.02.2015"}, {"REV5_SD", 1, 8, "28.02.2015"}},
         {"REV5_SD, rîndul 1, cîmpul 7: perioada începe înainte de luna 3 a anului 2015"}},
        {"period two years away",
         {{"REV5_SD", 1, 7, "01.03.2017"}, {"REV5_SD", 1, 8, "31.03.2017"}},
         {"REV5_SD, rîndul 1, cîmpul 7: anul perioadei nu poate fi 2017 într-o declarație a anului 2015"}},
        {"two rows of one month and category over the same days",
         {{"REV5_SD", 2, 5, "101"},
          {"REV5_SD", 2, 7, "31.03.2015"},
          {"REV5_SD", 3, 9, "1500.00"},
          {"REV5_IP", 1, 3, "1500.00"},
          {"REV5_T", 1, 10, "2200.00"}},
         {"REV5_SD, rîndul 2, cîmpul 7: perioada se suprapune cu cea a rîndului 1, din aceeași lună și categorie"}},
        {"money with one decimal",
         {{"REV5_SD", 1, 9, "1000.0"}},
         {"REV5_SD, rîndul 1, cîmpul 9: suma trebuie scrisă cu punct și exact două zecimale"}},
        {"row total not 11 plus 12",
         {{"REV5_SD", 1, 13, "291.00"}},
         {"REV5_SD, rîndul 1, cîmpul 13: contribuția totală (291.00) trebuie să fie suma cîmpurilor 11 și 12 "
          "(290.00)"}},
        {"benefit row of category 153 below its pay fund",
         {{"REV5_SD", 4, 10, "600.00"},
          {"REV5_SD", 5, 10, "600.00"},
          {"REV5_IP", 2, 4, "600.00"},
          {"REV5_T", 1, 11, "600.00"}},
         {"REV5_SD, rîndul 4, cîmpul 10: la categoria 153 tot fondul de remunerare este indemnizație: suma "
          "indemnizațiilor trebuie să fie 700.00"}},
        {"declaration total that counts category 150",
         {{"REV5_SD", 3, 9, "1500.00"}, {"REV5_IP", 1, 3, "1500.00"}, {"REV5_T", 1, 10, "2200.00"}},
         {"REV5_SD, rîndul 3, cîmpul 9: fondul de remunerare (1500.00) nu corespunde sumei rîndurilor declarației "
          "(1000.00), fără categoria 150"}},
        {"field filled on a total line",
         {{"REV5_SD", 3, 4, "111201"}},
         {"REV5_SD, rîndul 3, cîmpul 4: pe rîndul total al declarației cîmpul trebuie să fie gol"}},
        {"package count of declarations",
         {{"REV5_IP", 1, 2, "2"}},
         {"REV5_IP, rîndul 1, cîmpul 2: numărul declarațiilor (2) nu este egal cu numărul declarațiilor pachetului "
          "din REV5_SD (1)"}},
        {"package total not 5 plus 6",
         {{"REV5_IP", 1, 7, "436.00"}},
         {"REV5_IP, rîndul 1, cîmpul 7: contribuția totală (436.00) trebuie să fie suma cîmpurilor 5 și 6 (435.00)"}},
        {"package sum against its declarations",
         {{"REV5_IP", 1, 5, "91.00"},
          {"REV5_IP", 1, 7, "436.00"},
          {"REV5_T", 1, 12, "91.00"},
          {"REV5_T", 1, 14, "436.00"}},
         {"REV5_IP, rîndul 1, cîmpul 5: contribuția individuală (91.00) nu corespunde sumei rîndurilor totale ale "
          "pachetului din REV5_SD (90.00)"}},
        {"header form type against the name",
         {{"REV5_T", 1, 1, "3"}},
         {"REV5_T, rîndul 1, cîmpul 1: tipul formularului 3 nu este cel din numele arhivei (1)"}},
        {"header year against the name",
         {{"REV5_T", 1, 2, "2014"}},
         {"REV5_T, rîndul 1, cîmpul 2: anul 2014 nu este cel din numele arhivei (2015)"}},
        {"header period against the name",
         {{"REV5_T", 1, 3, "04"}},
         {"REV5_T, rîndul 1, cîmpul 3: perioada 04 nu este cea din numele arhivei (03)"}},
        {"office of one digit",
         {{"REV5_T", 1, 4, "7"}},
         {"REV5_T, rîndul 1, cîmpul 4: codul oficiului teritorial trebuie să fie un număr întreg de cel puțin două "
          "cifre"}},
        {"agent against the name",
         {{"REV5_T", 1, 5, "7654321"}},
         {"REV5_T, rîndul 1, cîmpul 5: codul agentului economic 7654321 nu este cel din numele arhivei (1234567)"}},
        {"date that does not exist",
         {{"REV5_T", 1, 8, "31.04.2015"}},
         {"REV5_T, rîndul 1, cîmpul 8: data trebuie să fie o dată existentă în forma zz.ll.aaaa"}},
        {"whole number with a leading zero",
         {{"REV5_T", 1, 9, "02"}},
         {"REV5_T, rîndul 1, cîmpul 9: numărul pachetelor trebuie să fie un număr întreg fără zerouri în față"}},
        {"number of packages",
         {{"REV5_T", 1, 9, "3"}},
         {"REV5_T, rîndul 1, cîmpul 9: numărul pachetelor (3) nu este egal cu numărul rîndurilor din REV5_IP (2)"}},
        {"grand total against the packages",
         {{"REV5_T", 1, 13, "346.00"}, {"REV5_T", 1, 14, "436.00"}},
         {"REV5_T, rîndul 1, cîmpul 13: contribuția angajatorului (346.00) nu corespunde sumei din REV5_IP "
          "(345.00)"}},
        {"declaration of REV5_NA without rows",
         {{"REV5_NA", 2, 1, "102"}},
         {"REV5_NA, rîndul 2, cîmpul 1: declarația 102 nu are rînduri în REV5_SD",
          "REV5_SD, rîndul 4, cîmpul 1: declarația 101 nu are rînd în REV5_NA"}},
    };
    return all;
}

TEST_F(PackageCheckTest, EachBrokenRuleIsReportedAtItsLineAndField)
{
    const auto original = members;
    for (const Case &c : cases()) {
        members = original;
        for (const Change &ch : c.changes)
            set(ch.member, ch.line, ch.field, ch.value);
        const PackageCheck::Result r = check();
        EXPECT_EQ(texts(r), c.findings) << c.rule;
        EXPECT_FALSE(r.clean()) << c.rule;
    }
}

TEST_F(PackageCheckTest, WithoutClassifiersTheirChecksAreSkippedAndTheRestApplies)
{
    set("REV5_SD", 1, 4, "999999");
    set("REV5_SD", 1, 5, "999");
    set("REV5_NA", 2, 9, "5");
    EXPECT_EQ(texts(check(QLatin1String(Clean), false)), QStringList());
    set("REV5_NA", 1, 8, "200123456789");
    EXPECT_EQ(texts(check(QLatin1String(Clean), false)),
              QStringList{"REV5_NA, rîndul 1, cîmpul 8: codul personal trebuie să aibă 13 cifre"});
}

TEST_F(PackageCheckTest, ContributionsAgainstTheRateAreWarningsThatLeaveThePackageClean)
{
    const auto original = members;
    // 1100.00 at 23 % would give 253.00; the row keeps 230.00. Its individual 60.00 stays
    // below the 66.00 of the rate, which the monthly ceiling of 2015 allows.
    set("REV5_SD", 1, 9, "1100.00");
    set("REV5_SD", 3, 9, "1100.00");
    set("REV5_IP", 1, 3, "1100.00");
    set("REV5_T", 1, 10, "1800.00");
    PackageCheck::Result r = check();
    EXPECT_EQ(texts(r), QStringList{"REV5_SD, rîndul 1, cîmpul 12: contribuția angajatorului 230.00 nu corespunde "
                                    "tarifului de 23% al categoriei 101 în anul 2015 (253.00)"});
    EXPECT_EQ(r.warnings(), 1);
    EXPECT_EQ(r.errors(), 0);
    EXPECT_TRUE(r.clean());

    // Above the rate, the individual contribution is warned about too; below it (the ceiling
    // may cut it) or a cent apart, not.
    for (auto [individual, rowTotal, sum, total, finding] :
         {std::tuple{"61.00", "291.00", "91.00", "436.00",
                     "REV5_SD, rîndul 1, cîmpul 11: contribuția individuală 61.00 nu corespunde tarifului de 6% al "
                     "categoriei 101 în anul 2015 (60.00)"},
          std::tuple{"59.00", "289.00", "89.00", "434.00", ""},
          // A cent apart: the half cent of another program's precision.
          std::tuple{"60.01", "290.01", "90.01", "435.01", ""}}) {
        members = original;
        set("REV5_SD", 1, 11, individual);
        set("REV5_SD", 1, 13, rowTotal);
        set("REV5_SD", 3, 11, sum);
        set("REV5_SD", 3, 13, total);
        set("REV5_IP", 1, 5, sum);
        set("REV5_IP", 1, 7, total);
        set("REV5_T", 1, 12, sum);
        set("REV5_T", 1, 14, total);
        r = check();
        EXPECT_EQ(texts(r).join(u'\n'), QString::fromUtf8(finding)) << individual;
        EXPECT_TRUE(r.clean());
    }
}

TEST_F(PackageCheckTest, LinesThatBreakTheTextFormAreReported)
{
    const auto original = members;
    const QByteArray na = join(members["REV5_NA"]);
    const QByteArray sd = join(members["REV5_SD"]);
    struct RawCase {
        const char *member;
        QByteArray bytes;
        QString finding;
    };
    const RawCase rawCases[] = {
        {"REV5_NA", QByteArray(na).replace("\xB0\r\n", "\xB0\n"),
         "REV5_NA, rîndul 1: rîndul se încheie cu LF fără CR înainte"},
        {"REV5_NA", na.left(na.size() - 2), "REV5_NA, rîndul 2: ultimul rînd nu se încheie cu CR LF"},
        {"REV5_NA", QByteArray(na).replace("\xB0\r\n", "\r\n"),
         "REV5_NA, rîndul 1: rîndul nu se încheie cu separatorul ° (0xB0)"},
        {"REV5_NA", QByteArray(na).replace("POPESCU", "POP\x81SCU"),
         "REV5_NA, rîndul 1: rîndul conține octetul 0x81, care nu este un caracter al textului Windows-1250"},
        {"REV5_T",
         QByteArray(join(members["REV5_T"]))
             .replace("\xB0"
                      "1002600012345",
                      ""),
         "REV5_T, rîndul 1: rîndul are 13 cîmpuri în loc de 14"},
        // The total line of the first declaration left out.
        {"REV5_SD",
         sd.left(sd.indexOf("\r\n100\xB0"
                            "1\xB0"
                            "13")
                 + 2)
             + sd.mid(sd.indexOf("\r\n101\xB0") + 2),
         "REV5_SD, rîndul 2: după rîndurile declarației 100 lipsește rîndul ei total"},
    };
    for (const RawCase &c : rawCases) {
        members = original;
        raw.clear();
        raw[QLatin1String(c.member)] = c.bytes;
        QStringList found = texts(check());
        // The replaced line ends (all lines but the last) are each reported; the first suffices.
        if (found.size() > 1 && c.finding.contains(QStringLiteral("rîndul 1:")))
            found = found.mid(0, 1);
        EXPECT_EQ(found, QStringList{c.finding});
    }
}

TEST_F(PackageCheckTest, TheArchiveMustHoldTheFourMembersUnderItsName)
{
    EXPECT_EQ(texts(check(QStringLiteral("PACHET.RAR"))),
              QStringList{"Arhiva: numele arhivei „PACHET.RAR” nu are forma REV5_<codul agentului>_00<tipul>01_<anul>"
                          "<perioada>.RAR; anul, perioada și tipul formularului nu pot fi verificate"});
    EXPECT_EQ(texts(check(QStringLiteral("REV5_1234567_00101_2015T02.RAR"))),
              QStringList{"Arhiva: perioada T02 din numele arhivei nu este o perioadă a anului 2015"});
    set("REV5_T", 1, 1, "3");
    set("REV5_T", 1, 3, "00");
    EXPECT_EQ(texts(check(QStringLiteral("REV5_1234567_00301_2015T00.RAR"))),
              QStringList{"Arhiva: declarația anuală poate fi numai primară"});
    set("REV5_T", 1, 1, "1");
    set("REV5_T", 1, 3, "03");

    members["CITESTE.TXT"] = Lines{{"x"}};
    EXPECT_EQ(texts(check()), QStringList{"Arhiva: arhiva conține „CITESTE.TXT”, care nu face parte din pachet"});
    members.remove("CITESTE.TXT");
    members.remove("REV5_NA");
    EXPECT_EQ(texts(check()), QStringList{"Arhiva: lipsește membrul REV5_NA"});
}

TEST_F(PackageCheckTest, DamagedAndForeignArchivesGiveAFindingNotACrash)
{
    const QString archive = pack(folder.path(), QLatin1String(Clean), {"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"});
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    f.close();
    QTemporaryDir dir;

    // Cut in the middle of the last member, and cut inside the first header.
    for (qsizetype size : {whole.size() - 40, qsizetype(30)}) {
        const QString cut = QDir(dir.path()).filePath(QLatin1String(Clean));
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(whole.left(size));
        out.close();
        const PackageCheck::Result r = PackageCheck::checkArchive(cut, &classifiers);
        EXPECT_FALSE(r.readable) << size;
        ASSERT_EQ(r.findings.size(), 1u) << size;
        EXPECT_TRUE(r.findings[0].message.contains(QStringLiteral("deteriorat"))
                    || r.findings[0].message.contains(QStringLiteral("nu poate fi citit")))
            << r.findings[0].message.toStdString();
    }

    // Plain text under an archive's name, even one that lists the members' names.
    const QString text = QDir(dir.path()).filePath(QStringLiteral("REV5_1234567_00101_2015L02.RAR"));
    QFile t(text);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("REV5_T\nREV5_IP\nREV5_NA\nREV5_SD\n");
    t.close();
    PackageCheck::Result r = PackageCheck::checkArchive(text);
    EXPECT_FALSE(r.readable);
    EXPECT_EQ(r.findings.size(), 1u);

    r = PackageCheck::checkArchive(QDir(dir.path()).filePath(QStringLiteral("nu-exista.RAR")));
    EXPECT_FALSE(r.readable);
    EXPECT_EQ(texts(r), QStringList{QStringLiteral("Arhiva: fișierul „%1” nu există")
                                        .arg(QDir(dir.path()).filePath(QStringLiteral("nu-exista.RAR")))});

    // The four files in a zip archive: reported as not RAR, and not opened.
    const QString zip = QDir(dir.path()).filePath(QLatin1String(Clean));
    QFile::remove(zip);
    QProcess tar;
    tar.setWorkingDirectory(folder.path());
    tar.start(QStringLiteral(EVD_BSDTAR), {"--format", "zip", "-cf", zip, "REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"});
    tar.waitForFinished(-1);
    ASSERT_EQ(tar.exitCode(), 0);
    r = PackageCheck::checkArchive(zip, &classifiers);
    EXPECT_TRUE(r.readable);
    EXPECT_EQ(texts(r), QStringList{"Arhiva: arhiva nu este în formatul RAR"});
}

// The blocks of an archive our archiver wrote, changed as another archiver, a damage or a hand
// would change them: a changed header gets its checksum again through seal().
struct RarBlocks {
    QByteArray bytes;

    quint32 get(int at, int size) const
    {
        quint32 v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = v << 8 | quint8(bytes[at + i]);
        return v;
    }
    void put(int at, int size, quint32 v)
    {
        for (int i = 0; i < size; ++i, v >>= 8)
            bytes[at + i] = char(v & 0xFF);
    }
    // The offset of the `index`-th block of the type: 0x73 the archive, 0x74 a member.
    int block(int type, int index = 0) const
    {
        for (int at = 7; at < bytes.size();) {
            const int size = int(get(at + 5, 2));
            if (quint8(bytes[at + 2]) == type && index-- == 0)
                return at;
            at += size + (get(at + 3, 2) & 0x8000 ? int(get(at + 7, 4)) : 0);
        }
        return -1;
    }
    void seal(int at)
    {
        const int size = int(get(at + 5, 2));
        put(at, 2, crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()) + at + 2, uInt(size - 2)) & 0xFFFF);
    }
    void addFlags(int type, int index, quint16 flags)
    {
        const int at = block(type, index);
        put(at + 3, 2, get(at + 3, 2) | flags);
        seal(at);
    }
};

TEST_F(PackageCheckTest, ArchivesTheReceivingSideRefusesAreNamedAndNoProgramIsStarted)
{
    // Programs that libarchive's filters would start, each leaving a mark if it ran.
    QTemporaryDir programs;
    for (const char *name :
         {"lzop",     "lrzip",  "grzip",  "gzip", "gunzip", "zcat",   "xz",   "unxz",     "bzip2",
          "bunzip2",  "zstd",   "unzstd", "lz4",  "lzma",   "unlzma", "lzip", "compress", "uncompress",
          "uudecode", "base64", "unrar",  "rar",  "7z",     "bsdtar", "tar",  "unzip",    "sh"}) {
        QFile script(QDir(programs.path()).filePath(QLatin1String(name)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch \"" + QFile::encodeName(programs.path()) + "/ran-" + name + "\"\nexit 1\n");
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(programs.path()) + ':' + path);

    QFile f(pack(folder.path(), QLatin1String(Clean), {"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"}));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const RarBlocks clean{f.readAll()};
    f.close();
    const int naHeader = clean.block(0x74, 2);
    auto changed = [&](auto change) {
        RarBlocks r = clean;
        change(r);
        return r.bytes;
    };
    auto prefixed = [&](const QByteArray &start) { return start + clean.bytes; };
    const QString wrapped = QStringLiteral(
        ", nu este o arhivă RAR; se trimite arhiva RAR însăși, fără altă comprimare");
    struct Case {
        const char *what;
        QByteArray bytes;
        bool readable;
        QStringList findings;
    };
    const std::vector<Case> cases = {
        {"a member's bytes other than those of its checksum",
         QByteArray(clean.bytes).replace("POPESCU", "POPESCA"),
         true,
         {"REV5_NA: conținutul membrului nu corespunde sumei de control (CRC) din arhivă: membrul este deteriorat"}},
        {"a volume",
         changed([](RarBlocks &r) { r.addFlags(0x73, 0, 0x0001); }),
         true,
         {"Arhiva: arhiva este un volum al unei arhive în mai multe părți; pachetul electronic este o singură arhivă"}},
        {"locked",
         changed([](RarBlocks &r) { r.addFlags(0x73, 0, 0x0004); }),
         true,
         {"Arhiva: arhiva este blocată (locked); pachetul electronic este o arhivă RAR obișnuită"}},
        {"solid",
         changed([](RarBlocks &r) { r.addFlags(0x73, 0, 0x0008); }),
         true,
         {"Arhiva: arhiva este solidă (solid); pachetul electronic este o arhivă RAR obișnuită"}},
        {"headers encrypted",
         changed([](RarBlocks &r) { r.addFlags(0x73, 0, 0x0080); }),
         true,
         {"Arhiva: arhiva este protejată cu parolă și antetele ei sînt criptate; membrii ei nu pot fi citiți"}},
        {"a member encrypted",
         changed([](RarBlocks &r) { r.addFlags(0x74, 2, 0x0004); }),
         true,
         {"REV5_NA: membrul este protejat cu parolă și nu poate fi citit"}},
        {"a member split into the next volume",
         changed([](RarBlocks &r) { r.addFlags(0x74, 1, 0x0002); }),
         true,
         {"REV5_IP: membrul continuă în alt volum al arhivei și nu poate fi citit din ea"}},
        {"a member compressed solid",
         changed([](RarBlocks &r) { r.addFlags(0x74, 3, 0x0010); }),
         true,
         {"REV5_SD: membrul este comprimat solid, împreună cu cei dinaintea lui; pachetul electronic este o arhivă "
          "RAR obișnuită"}},
        {"a header that is not that of its checksum",
         changed([&](RarBlocks &r) { r.bytes[naHeader + 34] = 'X'; }),
         false,
         {QStringLiteral("Arhiva: arhiva este deteriorată: antetul de la octetul %1 nu corespunde sumei sale de "
                         "control")
              .arg(naHeader)}},
        {"a member larger than a package file",
         changed([](RarBlocks &r) {
             const int at = r.block(0x74, 3);
             r.put(at + 11, 4, 300 << 20);
             r.seal(at);
         }),
         false,
         {QStringLiteral("Arhiva: membrul REV5_SD are %1 octeți, mai mult decît poate avea un fișier al pachetului "
                         "electronic (cel mult %2)")
              .arg(300 << 20)
              .arg(PackageBounds::SdBytes)}},
        {"RAR 5",
         prefixed(QByteArray("Rar!\x1A\x07\x01\x00", 8)),
         true,
         {"Arhiva: arhiva este în formatul RAR 5; un pachet electronic este o arhivă RAR 4, cum o formează programul"}},
        {"gzip", prefixed("\x1F\x8B\x08\x00"), true, {"Arhiva: fișierul este comprimat cu gzip" + wrapped}},
        {"xz",
         prefixed(QByteArray("\xFD"
                             "7zXZ\0",
                             6)),
         true,
         {"Arhiva: fișierul este comprimat cu xz" + wrapped}},
        {"bzip2", prefixed("BZh91AY&SY"), true, {"Arhiva: fișierul este comprimat cu bzip2" + wrapped}},
        {"zstd", prefixed("\x28\xB5\x2F\xFD"), true, {"Arhiva: fișierul este comprimat cu zstd" + wrapped}},
        {"lz4", prefixed("\x04\x22\x4D\x18"), true, {"Arhiva: fișierul este comprimat cu lz4" + wrapped}},
        {"lzop",
         prefixed(QByteArray("\x89LZO\0\r\n\x1A\n\x10\x30\x20\xA0\x09\x40", 15)),
         true,
         {"Arhiva: fișierul este comprimat cu lzop" + wrapped}},
        {"lrzip",
         prefixed(QByteArray("LRZI\0\x06\0\0\0\0\0\0", 12)),
         true,
         {"Arhiva: fișierul este comprimat cu lrzip" + wrapped}},
        {"grzip",
         prefixed(QByteArray("GRZipII\0\x02\x04:)", 12)),
         true,
         {"Arhiva: fișierul este comprimat cu grzip" + wrapped}},
        {"uuencode",
         "begin 644 " + QByteArray(Clean) + "\n" + clean.bytes.toBase64() + "\nend\n",
         true,
         {"Arhiva: fișierul este codat cu uuencode, nu este o arhivă RAR; se trimite arhiva RAR însăși, necodată"}},
        {"a program",
         prefixed("\x7F"
                  "ELF\x02\x01\x01"),
         true,
         {"Arhiva: fișierul este un program (poate o arhivă care se despachetează singură), nu o arhivă RAR"}},
    };
    QTemporaryDir dir;
    const QString archive = QDir(dir.path()).filePath(QLatin1String(Clean));
    for (const Case &c : cases) {
        QFile out(archive);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.bytes);
        out.close();
        const PackageCheck::Result r = PackageCheck::checkArchive(archive, &classifiers);
        EXPECT_EQ(r.readable, c.readable) << c.what;
        EXPECT_EQ(texts(r).join(u'\n').toStdString(), c.findings.join(u'\n').toStdString()) << c.what;
        EXPECT_FALSE(r.clean()) << c.what;
    }

    // An archive larger than a package can be is not read at all.
    QFile out(archive);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(clean.bytes);
    ASSERT_TRUE(out.resize(PackageBounds::ArchiveBytes + 1));
    out.close();
    EXPECT_EQ(texts(PackageCheck::checkArchive(archive, &classifiers)),
              QStringList{QStringLiteral("Arhiva: arhiva are %1 octeți, mai mult decît poate avea un pachet electronic "
                                         "(cel mult %2)")
                              .arg(PackageBounds::ArchiveBytes + 1)
                              .arg(PackageBounds::ArchiveBytes)});

    // Nor one of more members than a package could have been packed with.
    QStringList names{"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"};
    for (const QString &name : names)
        QFile::copy(QDir(folder.path()).filePath(name), QDir(dir.path()).filePath(name));
    for (int i = names.size(); i <= PackageBounds::Members; ++i) {
        names << QStringLiteral("x%1").arg(i);
        QFile(QDir(dir.path()).filePath(names.back())).open(QIODevice::WriteOnly);
    }
    QFile::remove(archive);
    EXPECT_EQ(texts(PackageCheck::checkArchive(pack(dir.path(), QLatin1String(Clean), names), &classifiers)),
              QStringList{"Arhiva: arhiva are mai mult de 1000 de membri, mai mulți decît poate avea un pachet "
                          "electronic"});

    qputenv("PATH", path);
    EXPECT_EQ(QDir(programs.path()).entryList({"ran-*"}, QDir::Files), QStringList());
}

TEST_F(PackageCheckTest, AMemberListsAThousandFindingsAndCountsTheRest)
{
    // 1500 lines of REV5_NA with a field too few, and a warning on REV5_SD.
    PackageCheck::Members given;
    for (auto it = members.cbegin(); it != members.cend(); ++it)
        given.emplace_back(it.key(), join(it.value()));
    auto bytesOf = [&](const char *name) -> QByteArray & {
        return std::find_if(given.begin(), given.end(), [&](const auto &m) { return m.first == name; })->second;
    };
    bytesOf("REV5_NA").clear();
    for (int i = 0; i < 1500; ++i)
        bytesOf("REV5_NA") += "1\xB0\r\n";
    PackageCheck::Result r = PackageCheck::checkMembers(QLatin1String(Clean), given, &classifiers);
    ASSERT_EQ(r.findings.size(), 1000u + 1 + 2);
    EXPECT_EQ(r.findings[0].text(), "REV5_NA, rîndul 1: rîndul are 1 cîmpuri în loc de 13");
    EXPECT_EQ(r.findings[999].text(), "REV5_NA, rîndul 1000: rîndul are 1 cîmpuri în loc de 13");
    EXPECT_EQ(r.findings[1000].text(), "REV5_NA: constatări nearătate: 500 (erori: 500, avertismente: 0); se arată "
                                       "numai primele 1000");
    EXPECT_TRUE(r.findings[1000].note);
    EXPECT_EQ(r.findings[1000].severity, PackageFinding::Error);
    EXPECT_EQ(r.findings[1001].member, "REV5_SD"); // the declarations that REV5_NA no longer names
    EXPECT_EQ(r.errors(), 1502);
    EXPECT_EQ(r.warnings(), 0);

    // More declarations than a package can have: too large to be read.
    QByteArray sd;
    for (int d = 1; d <= PackageBounds::Declarations + 1; ++d)
        sd += QByteArray::number(d) + "\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\xB0\r\n";
    bytesOf("REV5_SD") = sd;
    r = PackageCheck::checkMembers(QLatin1String(Clean), given, &classifiers);
    EXPECT_FALSE(r.readable);
    EXPECT_EQ(texts(r), QStringList{"Arhiva: REV5_SD are mai mult de 100000 de declarații, mai multe decît poate avea "
                                    "un pachet electronic"});
}

TEST(PackageFindingOrder, ByMemberOfThePackageThenLineAndField)
{
    using F = PackageFinding;
    std::vector<F> v = {{"REV5_SD", 2, 1, F::Error, "c"}, {"REV5_T", 1, 3, F::Warning, "b"},
                        {"REV5_T", 1, 3, F::Error, "a"},  {"", 0, 0, F::Error, "z"},
                        {"REV5_NA", 1, 8, F::Error, "d"}, {"REV5_IP", 3, 0, F::Error, "e"}};
    std::sort(v.begin(), v.end());
    QStringList order;
    for (const F &f : v)
        order << f.member + u'/' + QString::number(f.line) + u'/' + QString::number(f.field) + u'/' + f.message;
    EXPECT_EQ(order, (QStringList{"/0/0/z", "REV5_T/1/3/a", "REV5_T/1/3/b", "REV5_IP/3/0/e", "REV5_NA/1/8/d",
                                  "REV5_SD/2/1/c"}));
}

} // namespace
