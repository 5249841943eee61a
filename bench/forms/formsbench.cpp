// The report by person and month ("Raport") and the declaration forms of a whole package, for
// one agent with 5 000 declarations of 12 monthly rows each in 100 packages of 50. For each:
// the time from the button to the first page laid out (what the preview shows first), the time
// to the PDF of all pages, and the peak memory of the process.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_forms [folder for the database [declarations
// [folder that keeps the two PDF files]]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "platform/userinteraction.h"
#include "records/workspacestate.h"
#include "reports/declarationform.h"
#include "reports/engine/report.h"
#include "reports/engine/reportoutput.h"
#include "reports/packagelist.h"
#include "reports/summaryreports.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kYear = 2012;

class Year : public WorkspaceState
{
public:
    QString selectedYear() const override { return QString::number(kYear); }
    int activePage() const override { return 0; }
    bool autoCompletion() const override { return false; }
    bool autoCalculation() const override { return false; }
    void clearFooterSums() override { }
};

// The report shown is laid out (its first page is what the preview opens on) and written to PDF.
class Measuring : public BenchInteraction
{
public:
    void showReport(const Report &report) override
    {
        const ReportDocument doc = ReportOutput::layout(report);
        firstPageMs = clock.elapsed();
        pages = doc.pageCount();
        ReportOutput::exportPdf(doc, pdf);
        pdfMs = clock.elapsed();
    }

    QElapsedTimer clock;
    QString pdf;
    qint64 firstPageMs = 0, pdfMs = 0;
    int pages = 0;
};


} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int declarations = argc > 2 ? QByteArray(argv[2]).toInt() : 5000;
    BenchDatabase db(folder);
    QTemporaryDir temporary;
    const QDir out(argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporary.path());
    Year year;
    setWorkspaceState(&year);
    Measuring ui;
    setUserInteraction(&ui);
    QElapsedTimer fill;
    fill.start();
    makePackagedDeclarations(declarations, kYear);
    std::printf("%d declarations of 12 rows written in %lld ms; memory before the reports %ld MB\n", declarations,
                fill.elapsed(), peakMb());
    std::fflush(stdout);
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));

    // The reading alone: the rows of the report gathered into CDS.
    QElapsedTimer reading;
    reading.start();
    SummaryReports::readPersonMonths();
    std::printf("Raport, rows read into CDS alone: %lld ms\n", reading.elapsed());
    DM->CDS->close();

    ui.pdf = out.filePath(QStringLiteral("raport.pdf"));
    ui.clock.start();
    SummaryReports::showPersonMonthReport();
    std::printf("Raport:            first page %6lld ms, PDF of %4d pages %6lld ms, peak memory %ld MB\n",
                ui.firstPageMs, ui.pages, ui.pdfMs, peakMb());
    std::fflush(stdout);

    PackageList::fill();
    ui.pdf = out.filePath(QStringLiteral("pachet.pdf"));
    ui.clock.start();
    DeclarationForm::printPackage(DeclarationForm::Scope::Package, false, QString(), true);
    std::printf("Forms of a package: first page %6lld ms, PDF of %4d pages %6lld ms, peak memory %ld MB\n",
                ui.firstPageMs, ui.pages, ui.pdfMs, peakMb());

    setUserInteraction(nullptr);
    setWorkspaceState(nullptr);
    return 0;
}
