#include "tests/reports/engine/reporttestsupport.h"

#include <QApplication>
#include <QProcess>

namespace ReportTestSupport {

void ensureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "evd_report_tests";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives until the process ends
}

QString pdfText(const QString &pdfPath)
{
    QProcess p;
    p.start(QStringLiteral(EVD_PDFTOTEXT), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                            pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList pdfPages(const QString &pdfPath)
{
    QStringList pages = pdfText(pdfPath).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

ReportTable registerTable()
{
    return ReportTable({QStringLiteral("AP_FIRST_NAME"), QStringLiteral("AP_MIDDLE_NAME"), QStringLiteral("AP_LAST_NAME"),
                        QStringLiteral("AP_CPAS"), QStringLiteral("AP_IDNP"), QStringLiteral("AP_DOC_SERIA"),
                        QStringLiteral("AP_DOC_NUMBER"), QStringLiteral("AP_BIRTH_DT")});
}

void addPerson(ReportTable &table, const QString &first, const QString &middle, const QString &last,
               const QString &cpas, const QString &idnp, const QString &seria, const QString &number,
               const QDate &birth)
{
    table.addRow({first, middle, last, cpas, idnp, seria, number, birth});
}

void buildRegister(Report &report, ReportTable &rows, const QString &agentName)
{
    report.setName(QStringLiteral("Registrul lucrătorilor"));
    report.setSource(QStringLiteral("CDS"), &rows);
    report.setMargins(QMarginsF(15, 10, 10, 10));
    report.setPrintWhenEmpty(true);

    ReportBand &title = report.title(18);
    title.label(0, 0, 185, 8, QStringLiteral("Registrul lucrătorilor")).center().bold().size(13);
    title.label(0, 8, 185, 7, QStringLiteral("'") + QString(agentName).replace(u'\'', QStringLiteral("''")) + u'\'')
        .center().size(11);

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
        QString name = c.text(QStringLiteral("ap_first_name"));
        for (const char *f : {"ap_middle_name", "ap_last_name"})
            if (const QString part = c.text(QString::fromLatin1(f)); !part.isEmpty())
                name += u' ' + part;
        return name;
    }).frame(ruled);
    d.field(70, 0, 22, 6, QStringLiteral("ap_cpas")).center().frame(ruled);
    d.field(92, 0, 30, 6, QStringLiteral("ap_idnp")).center().frame(ruled);
    d.field(122, 0, 18, 6, QStringLiteral("ap_doc_seria")).frame(ruled);
    d.field(140, 0, 22, 6, QStringLiteral("ap_doc_number")).frame(ruled);
    d.field(162, 0, 23, 6, QStringLiteral("ap_birth_dt")).center().frame(ruled);

    report.pageFooter(8).expression(0, 2, 185, 6, QStringLiteral("'Pagina ' + PAGENUMBER + ' din ' + PAGECOUNT"))
        .right().size(8);
}

} // namespace ReportTestSupport
