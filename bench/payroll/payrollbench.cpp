// The import of one month's pay for 5 000 persons: what it will do shown beforehand (the
// preview), then the rows written, beside the same rows of as many other persons saved one by
// one through the save rule of saldo_data, in the same run; and the peak memory.
// Run by hand: build/bench/bench_payroll [folder for the database file [persons]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "maintenance/payroll/payrollimport.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/support/testworkspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

int kPersons = 5000;
constexpr int kYear = 2010;
constexpr int kMonth = 3;

QString cpas(int person)
{
    return QStringLiteral("1%1").arg(person, 10, 10, QLatin1Char('0'));
}

// Persons 1..2n of agent 1, each with a declaration of the year (na_id = ap_id): the first n
// are imported, the others saved through the rule.
void makePersons(int n)
{
    DM->execWrite(QStringLiteral("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')"));
    DM->execWrite(
        QStringLiteral("execute block as declare i integer = 1; begin while (i <= %1) do begin "
                       "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                       "values (:i, 1, '1' || lpad(:i, 10, '0'), 'NUME', 'PRENUME'); "
                       "insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
                       "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                       "values (:i, NULL, :i, %2, 'N', '01.01.%2', '31.12.%2', 101, 'N', 1, 0, 'N'); "
                       "i = i + 1; end end")
            .arg(2 * n)
            .arg(kYear));
}

double payOf(int person)
{
    return 5000.0 + 1000.0 * (person % 10);
}

std::vector<PayrollLine> linesInMemory(int n)
{
    std::vector<PayrollLine> lines;
    for (int p = 1; p <= n; ++p) {
        PayrollLine l;
        l.line = p + 1;
        l.cpas = cpas(p);
        l.month = kMonth;
        l.from = QDate(kYear, kMonth, 1);
        l.to = l.from.addMonths(1).addDays(-1);
        l.payFund = payOf(p);
        lines.push_back(l);
    }
    return lines;
}

// The month's row of persons n+1..2n saved through the rule, as the grid of the page
// "Salariul" saves a typed row.
void ruleRows(int n)
{
    RecordSet *persons = DM->assured_person, *rows = DM->saldo_data;
    for (int p = n; p < 2 * n; ++p) {
        persons->moveTo(p); // the declaration follows the person
        rows->emptyDataSet();
        const QDate first(kYear, kMonth, 1);
        rows->append();
        rows->field(QStringLiteral("sd_month")).setValue(kMonth);
        rows->field(QStringLiteral("sd_dela_d")).setValue(first);
        rows->field(QStringLiteral("sd_pina_d")).setValue(first.addMonths(1).addDays(-1));
        rows->field(QStringLiteral("sd_paym_fond")).setValue(payOf(p + 1 - n));
        rows->field(QStringLiteral("sd_ap_category")).setValue(101);
        rows->field(QStringLiteral("sd_zile_n")).setValue(5);
        rows->post();
    }
}

double seconds(QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2)
        kPersons = QString::fromLocal8Bit(argv[2]).toInt();
    BenchDatabase database(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    DM->serverDate = QDateTime(QDate(kYear, 12, 31), QTime(0, 0));
    TestWorkspace workspace;
    workspace.year = QString::number(kYear);
    BenchInteraction answers;
    setUserInteraction(&answers);

    makePersons(kPersons);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));
    loadRows(DM->assured_person, QStringLiteral("select * from assured_person order by ap_id"));
    loadRows(DM->name_account, QStringLiteral("select * from name_account where na_year=%1").arg(kYear));
    NameAccountRules::attach();
    SaldoDataRules::attach();
    std::printf("database: %s, %d persons a side\n", qPrintable(database.path()), kPersons);

    const std::vector<PayrollLine> lines = linesInMemory(kPersons);
    QElapsedTimer t;
    t.start();
    const PayrollImportResult shown = PayrollImport::preview(lines, {kYear, false});
    std::printf("preview of %d lines in memory: %.2f s (%s)\n", kPersons, seconds(t), qPrintable(shown.counts()));

    t.start();
    ruleRows(kPersons);
    const double rule = seconds(t);
    std::printf("save rule, %d rows one by one: %.2f s\n", kPersons, rule);

    t.start();
    const PayrollImportResult done = PayrollImport::run(lines, {kYear, false});
    const double import = seconds(t);
    std::printf("import of the %d lines: %.2f s (%zu written), import / rule: %.2f\n", kPersons, import,
                done.writtenLines().size(), import / rule);
    std::printf("peak memory: %ld MB\n", peakMb());
    setUserInteraction(nullptr);
    return 0;
}
