// Lays out and writes a register of 1 000 pages to PDF and prints how long each step took.
// Usage: evd_report_bench [pages [output.pdf]]; with QT_QPA_PLATFORM=offscreen when there is no
// display. Without an output path the file goes to a temporary folder.

#include "reports/engine/report.h"
#include "reports/engine/reportoutput.h"
#include "reports/engine/reporttable.h"
#include "reports/registerreport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void buildRegister(Report &report, ReportTable &rows)
{
    RegisterReport::build(report, rows, RegisterReport::quotedAgentName(QStringLiteral("Întreprinderea de stat \"Şcoala\"")));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int targetPages = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;

    ReportTable rows({QStringLiteral("ap_first_name"), QStringLiteral("ap_middle_name"), QStringLiteral("ap_last_name"),
                      QStringLiteral("ap_cpas"),
                      QStringLiteral("ap_idnp"), QStringLiteral("ap_doc_seria"), QStringLiteral("ap_doc_number"),
                      QStringLiteral("ap_birth_dt")});
    Report report;
    buildRegister(report, rows);

    // Rows per page from a probe layout, then enough rows for the target.
    for (int i = 0; i < 100; ++i)
        rows.addRow({QStringLiteral("x"), QStringLiteral("y"), QString(), 0, 0, 0, 0, QDate(2000, 1, 1)});
    // Lines on a page: its texts less the header labels and the footer, seven texts a line.
    const ReportDocument probe = ReportOutput::layout(report);
    auto linesOn = [&probe](int page, int otherTexts) {
        int n = 0;
        for (const auto &item : probe.page(page))
            n += item.kind == ReportDocument::Item::Kind::Text;
        return (n - otherTexts) / 7;
    };
    const int firstPage = linesOn(0, 2 + 7 + 1), perPage = linesOn(1, 7 + 1);
    rows.clear();
    const int count = firstPage + perPage * (targetPages - 1);
    for (int i = 0; i < count; ++i)
        rows.addRow({QStringLiteral("Ştefănescu%1").arg(i), QStringLiteral("Ţurcanu Înşiră"), QString(),
                     QStringLiteral("A%1").arg(i, 7, 10, QChar(u'0')), QStringLiteral("2%1").arg(i, 12, 10, QChar(u'0')),
                     QStringLiteral("AB"), QString::number(1000000 + i), QDate(1950, 1, 1).addDays(i % 20000)});

    QTemporaryDir dir;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("register.pdf"));
    QElapsedTimer timer;
    timer.start();
    const ReportDocument doc = ReportOutput::layout(report);
    const qint64 layoutMs = timer.elapsed();
    timer.restart();
    QString error;
    const bool ok = ReportOutput::exportPdf(doc, path, &error);
    const qint64 pdfMs = timer.elapsed();

    std::printf("rows %d, pages %d: layout %lld ms, PDF %lld ms, total %lld ms, file %lld KiB%s%s\n", count,
                doc.pageCount(), layoutMs, pdfMs, layoutMs + pdfMs, QFileInfo(path).size() / 1024,
                ok ? "" : ", failed: ", qPrintable(error));
    return ok ? 0 : 1;
}
