#include "reports/summaryreports.h"
#include "data/helpers.h"
#include "data/ibquery.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "reports/engine/report.h"
#include "reports/packagelist.h"
#include "reports/recordsetreportsource.h"
#include "reports/spreadsheetexport.h"

#include <QScopeGuard>

#include <QHash>

namespace SummaryReports {

namespace {

const int kRuled = ReportElement::AllSides;

QString agentName()
{
    return DM->econ_agent->field(QStringLiteral("ea_full_name")).asString();
}

void start(Report &report, const QString &name, ReportSource &rows, const QString &sourceName)
{
    report.setName(name);
    report.setToday(Clock::today());
    report.setSource(sourceName, &rows);
    report.setMargins(QMarginsF(10, 10, 10, 10));
    report.setPrintWhenEmpty(true);
}

struct Column {
    double width;
    QString title;
};

// A ruled row of centred, wrapped titles.
void headerRow(ReportBand &band, const std::vector<Column> &columns, double height, double points = 8)
{
    double x = 0;
    for (const Column &c : columns) {
        band.label(x, 0, c.width, height, c.title).center().bold().size(points).wrap().frame(kRuled).padding(0.3);
        x += c.width;
    }
}

void pageNumbers(Report &report, double width)
{
    report.pageFooter(8)
        .expression(0, 2, width, 6, QStringLiteral("'Pagina ' + PAGENUMBER + ' din ' + PAGECOUNT"))
        .right()
        .size(8);
}

const char *const kMonths[] = {"ianuarie", "februarie", "martie",     "aprilie",   "mai",       "iunie",
                               "iulie",    "august",    "septembrie", "octombrie", "noiembrie", "decembrie"};

void exportRows(RecordSet *set, const QString &reportName)
{
    ExportToExcel(set, Platform::inProgramFolder(QStringLiteral("modrap.xlt")), reportName);
}

QString monthSum()
{
    QStringList terms;
    for (int c = 3; c <= 14; ++c)
        terms << QStringLiteral("CDS.COLUMN%1").arg(c);
    return terms.join(u'+');
}

} // namespace

// ---------------------------------------------------------------- by package

QString packageTitle(const QString &agent, const QString &year)
{
    return QStringLiteral("Agentul economic :") + agent + QStringLiteral(", Anul :") + year;
}

void buildPackageReport(Report &report, ReportSource &pachet, const QString &title)
{
    start(report, QStringLiteral("Raport pe pachete"), pachet, QStringLiteral("pachet"));
    report.title(14).label(0, 2, 190, 8, title).center().bold().size(11).wrap();

    const std::vector<Column> columns{{22, QStringLiteral("Nr. pachet")},
                                      {22, QStringLiteral("Total persoane")},
                                      {36.5, QStringLiteral("Fond salarii")},
                                      {36.5, QStringLiteral("Concedii medicale")},
                                      {36.5, QStringLiteral("Contribuţii individuale")},
                                      {36.5, QStringLiteral("Contribuţii angajator")}};
    headerRow(report.columnHeader(10), columns, 10);

    ReportBand &d = report.detail(6);
    d.field(0, 0, 22, 6, QStringLiteral("pl_nr")).center().frame(kRuled);
    d.field(22, 0, 22, 6, QStringLiteral("cnt")).center().frame(kRuled);
    double x = 44;
    for (const char *f : {"col3", "col4", "col5", "col6"}) {
        d.field(x, 0, 36.5, 6, QString::fromLatin1(f)).right().format(kAmount).frame(kRuled);
        x += 36.5;
    }

    ReportBand &s = report.summary(8);
    s.label(0, 1, 22, 6, QStringLiteral("Total")).bold().frame(kRuled);
    s.expression(22, 1, 22, 6, QStringLiteral("SUM(pachet.cnt)"))
        .center()
        .bold()
        .format(QStringLiteral("### ### ### ###"))
        .frame(kRuled);
    x = 44;
    for (const char *f : {"col3", "col4", "col5", "col6"}) {
        s.expression(x, 1, 36.5, 6, QStringLiteral("SUM(pachet.%1)").arg(QLatin1String(f)))
            .right()
            .bold()
            .format(kAmount)
            .frame(kRuled);
        x += 36.5;
    }
    pageNumbers(report, 190);
}

void showPackageReport(bool toSpreadsheet)
{
    PackageList::fill();
    if (toSpreadsheet) {
        exportRows(DM->pachet, QStringLiteral("Raport pe pachete"));
        return;
    }
    RecordSetReportSource rows(DM->pachet);
    Report report;
    buildPackageReport(report, rows, packageTitle(agentName(), PackageList::year()));
    userInteraction().showReport(report);
}

// ---------------------------------------------------------------- by person and month

QString personsStatement(const QString &year, const QString &agentId)
{
    return QStringLiteral(" select na_id,ap_first_name,ap_middle_name,ap_last_name,ap_cpas  from "
                          "assured_person,name_account where  ap_id=na_ap  and na_year=")
           + year + QStringLiteral(" and ap_ea=") + agentId + QStringLiteral(" order by ap_first_name,ap_middle_name ");
}

QString personRowsStatement(const QString &year, const QString &agentId)
{
    return QStringLiteral(" select sd_na,sd_month,sd_paym_fond from saldo_data where sd_ap_category<>150  and sd_na in "
                          "(select na_id from assured_person,name_account where  ap_id=na_ap  and na_year=")
           + year + QStringLiteral(" and ap_ea=") + agentId + QStringLiteral(") ");
}

void readPersonMonths()
{
    RecordSet *cds = DM->CDS;
    cds->clearFields();
    cds->addField(QStringLiteral("COLUMN1"), FieldType::String, 50);
    cds->addField(QStringLiteral("COLUMN2"), FieldType::String, 50);
    for (int c = 3; c <= 27; ++c)
        cds->addField(QStringLiteral("COLUMN%1").arg(c), FieldType::Float);
    cds->addField(QStringLiteral("NP"), FieldType::String, 100);
    cds->createDataSet();

    RecordSet *cds1 = DM->cds1;
    const auto closeList = qScopeGuard([cds1] { cds1->close(); });
    const QString year = PackageList::year(), agent = PackageList::agentId();
    {
        ReadScope read(DM->IBQ1, personsStatement(year, agent));
        CopyToMemTable(read.query(), cds1, 2);
    }
    // The pay fund of every declaration of the year by month, "COLUMN" + (month + 2), rows of the
    // same month summed; one statement for all the declarations rather than one each.
    QHash<qint64, std::vector<QVariant>> months;
    {
        ReadScope read(DM->IBQ3, personRowsStatement(year, agent));
        for (; !read->eof(); read->next()) {
            const int m = read.value(1).toInt();
            if (m < 1 || m > 25)
                continue;
            std::vector<QVariant> &cells = months[qint64(read.value(0).toDouble())];
            cells.resize(size_t(cds->fieldCount()));
            QVariant &cell = cells[size_t(m + 1)];
            const QVariant fund = read.value(2);
            if (!fund.isNull() || !cell.isNull())
                cell = cell.toDouble() + fund.toDouble();
        }
    }
    const int id = cds1->fieldIndex(QStringLiteral("na_id"));
    const int first = cds1->fieldIndex(QStringLiteral("ap_first_name"));
    const int middle = cds1->fieldIndex(QStringLiteral("ap_middle_name"));
    for (cds1->first(); !cds1->eof(); cds1->next()) {
        std::vector<QVariant> row = months.value(qint64(cds1->fieldByIndex(id).asFloat()));
        row.resize(size_t(cds->fieldCount()));
        const QString firstName = cds1->fieldByIndex(first).asString();
        const QString middleName = cds1->fieldByIndex(middle).asString();
        row[0] = firstName.left(50);
        row[1] = middleName.left(50);
        row[27] = (firstName.trimmed() + u' ' + middleName.trimmed()).left(100);
        cds->appendValues(row);
    }
    cds->endAppendValues();
    cds->first();
}

void buildPersonMonthReport(Report &report, ReportSource &cds, const QString &year, const QString &agent)
{
    start(report, QStringLiteral("Raport"), cds, QStringLiteral("CDS"));
    report.setOrientation(QPageLayout::Landscape);
    const double width = 277, n = 8, name = 45, month = 17, total = 20;

    ReportBand &t = report.title(16);
    t.label(0, 0, width, 7, QStringLiteral("Raport pe :  ") + year).center().bold().size(11);
    t.label(0, 8, width, 7, QStringLiteral("Agentul economic : ") + agent).center().size(10);

    std::vector<Column> columns{{n, QStringLiteral("N/O")}, {name, QStringLiteral("Nume, Prenume, Patron")}};
    for (const char *m : kMonths)
        columns.push_back({month, QString::fromLatin1(m)});
    columns.push_back({total, QStringLiteral("Total")});
    headerRow(report.columnHeader(8), columns, 8, 7);

    ReportBand &d = report.detail(5);
    d.expression(0, 0, n, 5, QStringLiteral("COUNT")).right().size(7).frame(kRuled);
    d.field(n, 0, name, 5, QStringLiteral("NP")).size(7).frame(kRuled);
    ReportBand &s = report.summary(7);
    s.label(0, 1, n + name, 5, QStringLiteral("TOTAL")).bold().size(7).frame(kRuled);
    double x = n + name;
    for (int c = 3; c <= 14; ++c) {
        d.field(x, 0, month, 5, QStringLiteral("COLUMN%1").arg(c))
            .right()
            .size(7)
            .format(kAmount)
            .padding(0.5)
            .frame(kRuled);
        s.expression(x, 1, month, 5, QStringLiteral("SUM(CDS.COLUMN%1)").arg(c))
            .right()
            .bold()
            .size(7)
            .format(kAmount)
            .padding(0.5)
            .frame(kRuled);
        x += month;
    }
    d.expression(x, 0, total, 5, monthSum()).right().size(7).format(kAmount).padding(0.5).frame(kRuled);
    s.expression(x, 1, total, 5, QStringLiteral("SUM(") + monthSum() + u')')
        .right()
        .bold()
        .size(7)
        .format(kAmount)
        .padding(0.5)
        .frame(kRuled);
    pageNumbers(report, width);
}

void showPersonMonthReport(bool toSpreadsheet)
{
    const auto closeRows = qScopeGuard([] { DM->CDS->close(); });
    Report report;
    RecordSetReportSource rows(DM->CDS);
    {
        WaitCursor wait;
        readPersonMonths();
        if (!toSpreadsheet)
            buildPersonMonthReport(report, rows, PackageList::year(), agentName());
    }
    if (toSpreadsheet)
        exportRows(DM->CDS, QStringLiteral("Raport"));
    else
        userInteraction().showReport(report);
}

// ---------------------------------------------------------------- by month

QString monthsStatement(const QString &year, const QString &agentId)
{
    return QStringLiteral(
               " select  km_name_ro,sum(sd_paym_fond),sum(sd_ill), sum(sd_sum_add),sum(sd_sum_add_ea),"
               "sd_month,sd_month as trimestru  from name_account  inner join packlabel on(na_pl=pl_id)  left "
               "outer join saldo_data sd on (na_id=sd_na) inner join k_month  on (sd_month=km_id)  where "
               "na_year=")
           + year + QStringLiteral(" and pl_ea=") + agentId + QStringLiteral(" and sd_ap_category<>150 ")
           + QStringLiteral(" group by km_name_ro,sd_month order by sd_month ");
}

void readMonths()
{
    RecordSet *cds = DM->CDS;
    {
        ReadScope read(DM->IBQ1, monthsStatement(PackageList::year(), PackageList::agentId()));
        CopyToMemTable(read.query(), cds, 1);
    }
    for (cds->first(); !cds->eof(); cds->next()) {
        const int month = int(cds->field(QStringLiteral("COLUMN6")).asInteger());
        cds->edit();
        cds->field(QStringLiteral("COLUMN7")).setValue((month - 1) / 3 + 1);
        cds->post();
    }
    cds->first();
}

void buildMonthReport(Report &report, ReportSource &cds, const QString &year, const QString &agent)
{
    start(report, QStringLiteral("Raport pe luni"), cds, QStringLiteral("CDS"));
    const double month = 40, amount = 37.5;

    ReportBand &t = report.title(16);
    t.label(0, 0, 190, 7, QStringLiteral("Raport pe luni  pentru anul : ") + year).center().bold().size(11);
    t.label(0, 8, 190, 7, QStringLiteral("Agentul economic : ") + agent).center().size(10);

    headerRow(report.columnHeader(10),
              {{month, QStringLiteral("Luna")},
               {amount, QStringLiteral("Fond salarii")},
               {amount, QStringLiteral("Concedii medicale")},
               {amount, QStringLiteral("Contribuţii individuale")},
               {amount, QStringLiteral("Contribuţii angajator")}},
              10);

    ReportBand &d = report.detail(6);
    d.field(0, 0, month, 6, QStringLiteral("COLUMN1")).frame(kRuled);
    ReportGroup &quarter = report.group(QStringLiteral("CDS.COLUMN7"));
    ReportBand &f = quarter.footer(7);
    f.label(0, 0, 22, 7, QStringLiteral("Total trim."))
        .bold()
        .frame(ReportElement::Left | ReportElement::Top | ReportElement::Bottom);
    f.field(22, 0, month - 22, 7, QStringLiteral("COLUMN7"))
        .bold()
        .frame(ReportElement::Right | ReportElement::Top | ReportElement::Bottom);
    ReportBand &s = report.summary(8);
    s.label(0, 1, month, 7, QStringLiteral("Total pe an")).bold().frame(kRuled);
    double x = month;
    for (int c = 2; c <= 5; ++c) {
        d.field(x, 0, amount, 6, QStringLiteral("COLUMN%1").arg(c)).right().format(kAmount).frame(kRuled);
        f.expression(x, 0, amount, 7, QStringLiteral("SUM(CDS.COLUMN%1)").arg(c))
            .right()
            .bold()
            .format(kAmount)
            .frame(kRuled);
        s.expression(x, 1, amount, 7, QStringLiteral("SUM(CDS.COLUMN%1)").arg(c))
            .right()
            .bold()
            .format(kAmount)
            .frame(kRuled);
        x += amount;
    }
    pageNumbers(report, 190);
}

void showMonthReport(bool toSpreadsheet)
{
    const auto closeRows = qScopeGuard([] { DM->CDS->close(); });
    readMonths();
    if (toSpreadsheet) {
        exportRows(DM->CDS, QStringLiteral("Raport pe luni"));
        return;
    }
    RecordSetReportSource rows(DM->CDS);
    Report report;
    buildMonthReport(report, rows, PackageList::year(), agentName());
    userInteraction().showReport(report);
}

} // namespace SummaryReports
