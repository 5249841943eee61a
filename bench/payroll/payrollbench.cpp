// The import of one month's pay for 5 000 persons from a payroll file, a CSV and an .xlsx: the
// window "Importul salariilor" opened on the file with every line's fate shown (the file read,
// its lines checked), then the lines imported, beside the same rows of as many other persons
// saved one by one through the save rule of saldo_data in the same run; and the peak memory.
// Run by hand: build/bench/bench_payroll [folder for the database file [persons]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "maintenance/payroll/payrollimportsession.h"
#include "maintenance/payroll/tfpayrollimport.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "reports/xlsxsheet.h"
#include "tests/support/testworkspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

int kPersons = 5000;
constexpr int kYear = 2010;
constexpr int kMonth = 3;

// Persons 1..3n of agent 1, each with a declaration of the year (na_id = ap_id): the first n
// come from the CSV, the next n from the .xlsx, the last n are saved through the rule.
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
            .arg(3 * n)
            .arg(kYear));
}

QString cpas(int person)
{
    return QStringLiteral("1%1").arg(person, 10, 10, QLatin1Char('0'));
}

double payOf(int person)
{
    return 5000.0 + 1000.0 * (person % 10) + 0.25;
}

// The month of persons first..first+n-1 as the payroll program exports it.
QString writeCsv(const QString &path, int first, int n)
{
    QByteArray text = "CPAS;Nume;Prenume;Luna;Fond de remunerare;Concediu medical\r\n";
    for (int p = first; p < first + n; ++p)
        text += QStringLiteral("%1;NUME;PRENUME;%2;%3;\r\n")
                    .arg(cpas(p))
                    .arg(kMonth)
                    .arg(QString::number(payOf(p), 'f', 2).replace(u'.', u','))
                    .toUtf8();
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QString writeXlsx(const QString &path, int first, int n)
{
    XlsxSheet sheet(path);
    sheet.writeRow(1,
                   {QStringLiteral("CPAS"), QStringLiteral("Nume"), QStringLiteral("Prenume"), QStringLiteral("Luna"),
                    QStringLiteral("Fond de remunerare"), QStringLiteral("Concediu medical")});
    for (int p = first; p < first + n; ++p)
        sheet.writeRow(p - first + 2, {cpas(p), QStringLiteral("NUME"), QStringLiteral("PRENUME"), double(kMonth),
                                       payOf(p), QVariant()});
    sheet.save();
    return path;
}

// The month's row of persons first..first+n-1 saved through the rule, as the grid of the page
// "Salariul" saves a typed row.
void ruleRows(int first, int n)
{
    RecordSet *persons = DM->assured_person, *rows = DM->saldo_data;
    for (int p = first; p < first + n; ++p) {
        persons->moveTo(p - 1); // the declaration follows the person
        rows->emptyDataSet();
        const QDate day(kYear, kMonth, 1);
        rows->append();
        rows->field(QStringLiteral("sd_month")).setValue(kMonth);
        rows->field(QStringLiteral("sd_dela_d")).setValue(day);
        rows->field(QStringLiteral("sd_pina_d")).setValue(day.addMonths(1).addDays(-1));
        rows->field(QStringLiteral("sd_paym_fond")).setValue(payOf(p));
        rows->field(QStringLiteral("sd_ap_category")).setValue(101);
        rows->field(QStringLiteral("sd_zile_n")).setValue(5);
        rows->post();
    }
}

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

// The window opened on the file and shown with its lines; the seconds it took.
double showWindow(const QString &path)
{
    QElapsedTimer t;
    t.start();
    TFPayrollImport window(path, kYear);
    window.show();
    QApplication::processEvents();
    return seconds(t);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 2)
        kPersons = QString::fromLocal8Bit(argv[2]).toInt();
    BenchDatabase database(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    DM->serverDate = QDateTime(QDate(kYear, 12, 31), QTime(0, 0));
    TestWorkspace workspace;
    workspace.year = QString::number(kYear);
    BenchInteraction answers;
    setUserInteraction(&answers);

    const int n = kPersons;
    makePersons(n);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));
    loadRows(DM->assured_person, QStringLiteral("select * from assured_person order by ap_id"));
    loadRows(DM->name_account, QStringLiteral("select * from name_account where na_year=%1").arg(kYear));
    NameAccountRules::attach();
    SaldoDataRules::attach();
    const QString folder = QFileInfo(database.path()).absolutePath();
    const QString csv = writeCsv(folder + QStringLiteral("/martie.csv"), 1, n);
    const QString xlsx = writeXlsx(folder + QStringLiteral("/martie.xlsx"), n + 1, n);
    std::printf("database: %s, %d lines a file, %d rows through the rule\n", qPrintable(database.path()), n, n);

    std::printf("window shown with the preview of the CSV: %.2f s\n", showWindow(csv));
    std::printf("window shown with the preview of the .xlsx: %.2f s\n", showWindow(xlsx));

    QElapsedTimer t;
    t.start();
    ruleRows(2 * n + 1, n);
    const double rule = seconds(t);
    std::printf("save rule, %d rows one by one: %.1f s\n", n, rule);

    for (const QString &path : {csv, xlsx}) {
        t.start();
        PayrollImportSession session(path, kYear);
        const PayrollImportResult done = session.import();
        const double import = seconds(t);
        std::printf("import of %s: %.1f s (%zu rows written, %d refused), import / rule: %.2f\n",
                    qPrintable(QFileInfo(path).fileName()), import, done.writtenLines().size(), done.refused(),
                    import / rule);
    }
    std::printf("peak memory: %ld MB\n", peakMb());
    setUserInteraction(nullptr);
    return 0;
}
