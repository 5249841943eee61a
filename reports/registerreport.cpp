#include "reports/registerreport.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "reports/engine/report.h"
#include "reports/engine/reportcontext.h"
#include "reports/recordsetreportsource.h"
#include "reports/spreadsheetexport.h"

namespace RegisterReport {

QString statement(double agentId)
{
    return QStringLiteral("select ap_first_name,ap_middle_name,ap_last_name,ap_cpas, ap_idnp,ap_doc_seria,"
                          "ap_doc_number,ap_birth_dt  from assured_person where ap_ea=")
        + Formats::floatText(agentId) + QStringLiteral(" order by ap_first_name,ap_middle_name,ap_last_name");
}

QString quotedAgentName(const QString &name)
{
    return SqlText::quoted(name);
}

QString fullName(const QString &first, const QString &middle, const QString &last)
{
    QString name = first.trimmed();
    if (!middle.trimmed().isEmpty())
        name += u' ' + middle.trimmed();
    if (!last.trimmed().isEmpty())
        name += u' ' + last.trimmed();
    return name;
}

QString readIntoCds()
{
    ReadScope read(DM->IBQ3, statement(DM->econ_agent->field(QStringLiteral("ea_id")).asFloat()));
    const QString title = quotedAgentName(DM->econ_agent->field(QStringLiteral("ea_full_name")).asString());
    CopyToMemTable(read.query(), DM->CDS, 2);
    return title;
}

void build(Report &report, ReportSource &rows, const QString &agentTitle)
{
    report.setName(QStringLiteral("Registrul lucrătorilor"));
    report.setToday(Clock::today());
    report.setSource(QStringLiteral("CDS"), &rows);
    report.setMargins(QMarginsF(15, 10, 10, 10));
    report.setPrintWhenEmpty(true);

    ReportBand &title = report.title(18);
    title.label(0, 0, 185, 8, QStringLiteral("Registrul lucrătorilor")).center().bold().size(13);
    title.label(0, 8, 185, 7, agentTitle).center().size(11);

    struct Column {
        double width;
        const char *title;
    };
    const Column columns[] = {{10, "N/O"}, {60, "Nume, Prenume"}, {22, "CPAS"}, {30, "IDNP"},
                              {18, "Seria paşap."}, {22, "Nr. paşap."}, {23, "Data naşterii"}};
    ReportBand &header = report.columnHeader(10);
    double x = 0;
    for (const Column &c : columns) {
        header.label(x, 0, c.width, 10, QString::fromUtf8(c.title)).center().bold().size(8).wrap()
            .frame(ReportElement::AllSides).padding(0.5);
        x += c.width;
    }

    const int ruled = ReportElement::Left | ReportElement::Right | ReportElement::Bottom;
    ReportBand &d = report.detail(6);
    d.expression(0, 0, 10, 6, QStringLiteral("COUNT")).right().frame(ruled);
    d.text(10, 0, 60, 6, [](const ReportContext &c) {
        return fullName(c.text(QStringLiteral("ap_first_name")), c.text(QStringLiteral("ap_middle_name")),
                        c.text(QStringLiteral("ap_last_name")));
    }).frame(ruled);
    d.field(70, 0, 22, 6, QStringLiteral("ap_cpas")).center().frame(ruled);
    d.field(92, 0, 30, 6, QStringLiteral("ap_idnp")).center().frame(ruled);
    d.field(122, 0, 18, 6, QStringLiteral("ap_doc_seria")).frame(ruled);
    d.field(140, 0, 22, 6, QStringLiteral("ap_doc_number")).frame(ruled);
    d.field(162, 0, 23, 6, QStringLiteral("ap_birth_dt")).center().frame(ruled);

    report.pageFooter(8).expression(0, 2, 185, 6, QStringLiteral("'Pagina ' + PAGENUMBER + ' din ' + PAGECOUNT"))
        .right().size(8);
}

void run(int tag)
{
    QString title;
    {
        WaitCursor wait;
        title = readIntoCds();
    }
    if (tag == 1) {
        ExportToExcel(DM->CDS, Platform::inProgramFolder(QStringLiteral("modrap.xlt")),
                      QStringLiteral("Registrul lucrătorilor"));
        return;
    }
    RecordSetReportSource rows(DM->CDS);
    Report report;
    build(report, rows, title);
    userInteraction().showReport(report);
}

} // namespace RegisterReport
