// (a) Saves 1 000 new declarations of a whole year with "Completarea automata" ticked (the
// declaration rule, its package, and 12 monthly rows through their save rule) beside 12 bare
// INSERT-and-commit rows per declaration; (b) runs "Recalcul" on a 12-month declaration 1 000
// times beside 12 bare UPDATE-and-commit. Prints declarations per second and the ratios.
// Run by hand: build/bench/bench_completion [folder for the database file [declarations]]

#include "bench/benchdatabase.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"
#include "records/nameaccountrules.h"
#include "records/recalculation.h"
#include "records/saldodatarules.h"
#include "tests/support/testworkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

int kDeclarations = 1000;
constexpr int kMonths = 12;
constexpr int kYear = 2010;
constexpr int kRecalculated = 900000; // the declaration "Recalcul" works on

// Persons 1..n of agent 1 without declarations; one more person with the declaration that
// "Recalcul" works on, 12 rows of 5 000 to 16 000 (contributions of 300 to 960, ceiling 500),
// and a declaration of the next year for the bare rows.
void makeData(int n)
{
    DM->execWrite(QStringLiteral("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')"));
    DM->execWrite(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
        "values (:i, 1, '1' || lpad(:i, 10, '0'), 'NUME', 'PRENUME'); i = i + 1; end end")
                      .arg(n + 1));
    DM->execWrite(QStringLiteral("insert into name_account (na_id,na_ap,na_year,na_ap_category) values (%1,%2,%3,101)")
                      .arg(kRecalculated)
                      .arg(n + 1)
                      .arg(kYear));
    DM->execWrite(QStringLiteral("insert into name_account (na_id,na_ap,na_year) values (%1,%2,%3)")
                      .arg(kRecalculated + 1)
                      .arg(n + 1)
                      .arg(kYear + 1));
    for (int m = 1; m <= kMonths; ++m) {
        const QDate first(kYear, m, 1);
        DM->execWrite(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_tariff_ap,"
                                     "sd_sum_add,sd_tariff_ea,sd_sum_add_ea,sd_dela_d,sd_pina_d,sd_zile_n,"
                                     "sd_ap_category,sd_kft_rf) values(%1,%2,%3,%4,0,10114,0,10114,0,'%5','%6',5,101,1)")
                          .arg(kRecalculated + m)
                          .arg(kRecalculated)
                          .arg(m)
                          .arg(5000 + 1000 * (m - 1))
                          .arg(Formats::dateText(first), Formats::dateText(first.addMonths(1).addDays(-1))));
    }
}

// A new declaration of the whole year saved with the box ticked, as the window posts it.
void completedDeclaration(int person)
{
    DM->assured_person->moveTo(person);
    DM->saldo_data->emptyDataSet();
    RecordSet *na = DM->name_account;
    na->append();
    na->post();
}

// The 12 rows of a declaration written bare: one INSERT each, committed at once.
void bareRows(int declaration)
{
    insertBareMonths(5000000 + declaration * kMonths, kRecalculated + 1, kYear + 1, QStringLiteral("0"),
                     QStringLiteral("0"), QStringLiteral("0"));
}

// The 12 contributions of the declaration written bare: one UPDATE each, committed at once.
void bareUpdates(int round)
{
    for (int month = 1; month <= kMonths; ++month)
        DM->execWrite(QStringLiteral("update saldo_data set sd_sum_add=%1 where sd_id=%2")
                          .arg(300 + (round + month) % 7)
                          .arg(kRecalculated + month));
}

void report(const char *what, int n, qint64 ruleNs, qint64 bareNs, const char *bare)
{
    const double rule = n / (ruleNs / 1e9), plain = n / (bareNs / 1e9);
    std::printf("%s, %d declarations: %.1f declarations/s\n", what, n, rule);
    std::printf("%s: %.1f declarations/s\n", bare, plain);
    std::printf("ratio: %.2f\n", rule / plain);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        qputenv("TMPDIR", argv[1]);
    if (argc > 2)
        kDeclarations = QString::fromLocal8Bit(argv[2]).toInt();
    BenchDatabase database;
    DM->serverDate = QDateTime(QDate(kYear, 12, 31), QTime(0, 0));
    TestWorkspace workspace;
    workspace.year = QString::number(kYear);
    workspace.completion = true;

    makeData(kDeclarations);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));
    loadRows(DM->assured_person, QStringLiteral("select * from assured_person order by ap_id"));
    NameAccountRules::attach();
    SaldoDataRules::attach();
    std::printf("database folder: %s\n", qPrintable(QDir::tempPath()));

    // Declaration by declaration the rule and the bare writes take turns, so that both meet
    // the same load of the machine and the same size of the table.
    qint64 ruleNs = 0, bareNs = 0;
    QElapsedTimer t;
    for (int d = 0; d < kDeclarations; ++d) {
        t.start();
        completedDeclaration(d);
        ruleNs += t.nsecsElapsed();
        t.start();
        bareRows(d);
        bareNs += t.nsecsElapsed();
    }
    report("automatic completion", kDeclarations, ruleNs, bareNs, "12 bare INSERT + commit");
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select count(*), sum(sd_sum_add) from saldo_data where sd_na<%1")
                                     .arg(kRecalculated));
        std::printf("check: %s generated rows, individual %.2f\n", qPrintable(read.value(0).toString()),
                    read.value(1).toDouble());
    }

    // "Recalcul" on the page of the declaration's monthly rows.
    DM->assured_person->moveTo(kDeclarations);
    loadRows(DM->name_account, QStringLiteral("select * from name_account where na_id=%1").arg(kRecalculated));
    loadRows(DM->saldo_data, QStringLiteral("select * from saldo_data where sd_na=%1 order by sd_month").arg(kRecalculated));
    ruleNs = bareNs = 0;
    for (int r = 0; r < kDeclarations; ++r) {
        t.start();
        Recalculation::run();
        ruleNs += t.nsecsElapsed();
        t.start();
        bareUpdates(r);
        bareNs += t.nsecsElapsed();
    }
    report("Recalcul", kDeclarations, ruleNs, bareNs, "12 bare UPDATE + commit");
    Recalculation::run();
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select list(sd_sum_add) from saldo_data where sd_na=%1")
                                     .arg(kRecalculated));
        std::printf("check: %s\n", qPrintable(read.value(0).toString()));
    }
    return 0;
}
