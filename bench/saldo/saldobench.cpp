// Saves 12 monthly rows for each of 1 000 persons through the save rule of saldo_data (checks,
// identifier, rate, contributions with the year-to-date ceiling, INSERT) and, on the same
// database in the same run, as many bare single-row INSERTs each committed at once and as many
// calls of the identifier procedure alone; prints the three rates. Run by hand: build/bench/bench_saldo [folder for the database file [persons]]

#include "bench/benchdatabase.h"
#include "data/databasemaker.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/support/testworkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

int kPersons = 1000;
constexpr int kMonths = 12;
constexpr int kYear = 2010;

void load(RecordSet *set, const QString &sql)
{
    DetachedHandler post(set->beforePost), insert(set->afterInsert);
    ReadScope read(DM->IBQ1, sql);
    CopyToMemTable(read.query(), set, 3);
}

// Persons 1..n of agent 1, each with a declaration of kYear (na_id = ap_id) and one of the
// following year (na_id = ap_id + 100000) that the bare inserts use.
void makePersons(int n)
{
    DM->execWrite(QStringLiteral("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')"));
    DM->execWrite(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
        "values (:i, 1, '1' || lpad(:i, 10, '0'), 'NUME', 'PRENUME'); "
        "insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
        "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
        "values (:i, NULL, :i, %2, 'N', '01.01.%2', '31.12.%2', 101, 'N', 1, 0, 'N'); "
        "insert into name_account (na_id,na_ap,na_year) values (:i + 100000, :i, %3); "
        "i = i + 1; end end")
                      .arg(n)
                      .arg(kYear)
                      .arg(kYear + 1));
}

// The 12 rows of one person written bare: one INSERT, each committed at once.
void bareRows(int person)
{
    insertBareMonths(5000000 + person * kMonths, 100000 + person + 1, kYear + 1, QStringLiteral("7000"),
                     QStringLiteral("420"), QStringLiteral("1610"));
}

// The identifiers of 12 new rows, fetched as the rule fetches them. Each generator step is
// written to disk at once by the server, which is why the procedure takes them in blocks.
void identifiers()
{
    for (int month = 1; month <= kMonths; ++month)
        ReadScope read(DM->IBQ1, QStringLiteral("select * from get_sd_id"));
}

// The 12 rows of one person saved through the rule, as the grid of the page "Salariul" does.
void ruleRows(int person)
{
    RecordSet *persons = DM->assured_person, *rows = DM->saldo_data;
    persons->moveTo(person); // the declaration follows the person
    rows->emptyDataSet();
    for (int month = 1; month <= kMonths; ++month) {
        const QDate first(kYear, month, 1);
        rows->append();
        rows->field(QStringLiteral("sd_month")).setValue(month);
        rows->field(QStringLiteral("sd_dela_d")).setValue(first);
        rows->field(QStringLiteral("sd_pina_d")).setValue(first.addMonths(1).addDays(-1));
        // 5 000 to 14 000: contributions of 300 to 840, most of them over the ceiling of 500.
        rows->field(QStringLiteral("sd_paym_fond")).setValue(5000.0 + 1000.0 * ((person + month) % 10));
        rows->field(QStringLiteral("sd_ap_category")).setValue(101);
        rows->field(QStringLiteral("sd_zile_n")).setValue(5);
        rows->post();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2)
        kPersons = QString::fromLocal8Bit(argv[2]).toInt();
    QTemporaryDir tmp(argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("saldo-XXXXXX"))
                               : QDir::tempPath() + QStringLiteral("/saldo-XXXXXX"));
    const QString path = tmp.filePath(QStringLiteral("bench.gdb"));
    DatabaseMaker::create(path, DatabaseMaker::Kind::Delivered);

    DM = new TDM;
    DM->IDB->params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=x")};
    DM->IDB->setDatabaseName(path);
    DM->IDB->open();
    DM->serverDate = QDateTime(QDate(kYear, 12, 31), QTime(0, 0));
    TestWorkspace workspace;
    workspace.year = QString::number(kYear);

    makePersons(kPersons);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    load(DM->econ_agent, QStringLiteral("select * from econ_agent"));
    load(DM->assured_person, QStringLiteral("select * from assured_person order by ap_id"));
    load(DM->name_account, QStringLiteral("select * from name_account where na_year=%1").arg(kYear));
    NameAccountRules::attach();
    SaldoDataRules::attach();

    std::printf("database: %s\n", qPrintable(path));
    // Person by person, the rule and the bare writes take turns, so that both meet the same
    // load of the machine and the same size of the table.
    qint64 ruleNs = 0, bareNs = 0, idNs = 0;
    QElapsedTimer t;
    for (int p = 0; p < kPersons; ++p) {
        t.start();
        ruleRows(p);
        ruleNs += t.nsecsElapsed();
        t.start();
        bareRows(p);
        bareNs += t.nsecsElapsed();
        t.start();
        identifiers();
        idNs += t.nsecsElapsed();
    }
    const int rows = kPersons * kMonths;
    const double rule = rows / (ruleNs / 1e9), bare = rows / (bareNs / 1e9), ids = rows / (idNs / 1e9);
    std::printf("save rule of saldo_data, %d persons x %d months: %.0f rows/s\n", kPersons, kMonths, rule);
    std::printf("bare INSERT + commit, %d rows: %.0f rows/s\n", rows, bare);
    std::printf("identifier procedure alone, %d calls: %.0f calls/s\n", rows, ids);
    std::printf("rule / bare: %.2f (a bare INSERT preceded by the identifier alone: %.2f)\n", rule / bare,
                1.0 / (1.0 + bare / ids));

    {
        ReadScope read(DM->IBQ1, QStringLiteral("select count(*), sum(sd_sum_add), sum(sd_sum_add_ea) from saldo_data "
                                                "where sd_na<100000"));
        std::printf("check: %s rows, individual %.2f, employer %.2f\n", qPrintable(read.value(0).toString()),
                    read.value(1).toDouble(), read.value(2).toDouble());
    }
    delete DM;
    return 0;
}
