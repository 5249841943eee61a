// The register of an agent with 20 000 persons (or as many as asked) read and exported as the
// menu entry "Export registrul in Excel" does: the time to read the rows, the time to write the
// .xlsx file, its size, and the peak memory of the process; then, when LibreOffice is installed,
// the same rows into a new document of an office started headless for the run, written a block
// of cells at a time (as the export does) and one call per cell, in the same run.
// Run by hand: build/bench/bench_sheet [persons [folder for the database and the file]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "platform/platform.h"
#include "reports/officesheet.h"
#include "reports/registerreport.h"
#include "reports/spreadsheetexport.h"
#include "data/recordset.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <cstdio>

namespace {

// The file the export asks the desktop to open is kept, not opened.
class Keeping : public BenchInteraction
{
public:
    bool openDocument(const QString &path) override
    {
        file = path;
        return true;
    }
    QString file;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int persons = argc > 1 ? std::atoi(argv[1]) : 20000;
    BenchDatabase db(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    Platform::setProgramFolder(QFileInfo(db.path()).path());
    Keeping ui;
    setUserInteraction(&ui);

    DM->execWrite(QStringLiteral("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,"
                                 "ea_accountant_name,ea_kaa2_fosk,ea_receiving_usr) values(1,'1234567',"
                                 "'1002600012345','SRL','D','C',7,'R')"));
    DM->execWrite(QStringLiteral("execute block as declare i integer = 1; begin while (i <= %1) do begin "
                                 "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,"
                                 "ap_last_name,ap_birth_dt,ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number) values "
                                 "(:i, 1, '0' || lpad(:i, 12, '0'), 'POPESCU' || :i, 'ION', 'VASILE', '01.01.1980', "
                                 "'2' || lpad(:i, 12, '0'), 1, 'A', '123456'); i = i + 1; end end")
                      .arg(persons));
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));

    // The .xlsx route first: no office for it.
    const QByteArray officeFolder = qgetenv("UNO_PATH");
    qputenv("UNO_PATH", "/nonexistent/office");
    QElapsedTimer clock;
    clock.start();
    RegisterReport::readIntoCds();
    const qint64 readMs = clock.restart();
    ExportToExcel(DM->CDS, Platform::inProgramFolder(QStringLiteral("modrap.xlt")),
                  QStringLiteral("Registrul lucrătorilor"));
    const qint64 writeMs = clock.elapsed();
    std::printf("persons %d: read %lld ms, .xlsx written %lld ms (%lld KB), peak %ld MB\n", persons,
                static_cast<long long>(readMs), static_cast<long long>(writeMs),
                static_cast<long long>(QFileInfo(ui.file).size() / 1024), peakMb());
    std::fflush(stdout);

    // An office of the run's own, headless, which the export reaches as it reaches the user's.
    if (officeFolder.isEmpty())
        qunsetenv("UNO_PATH");
    else
        qputenv("UNO_PATH", officeFolder);
    const QString soffice = OfficeSheet::officeProgram();
    if (soffice.isEmpty()) {
        std::printf("no LibreOffice: the office routes are not measured\n");
        return 0;
    }
    QTemporaryDir profile;
    const QString profileUrl = QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded);
    qputenv("UserInstallation", profileUrl.toUtf8());
    QProcess office;
    // The office itself rather than its launcher, so that ending the process ends the office.
    const QString bin = soffice + QStringLiteral(".bin");
    office.start(QFileInfo::exists(bin) ? bin : soffice, {"--headless", "--invisible", "--nologo", "--nodefault", "--norestore",
                           "-env:UserInstallation=" + profileUrl});
    office.waitForStarted();
    QThread::sleep(5);
    {
        // The first document of a new office pays for its start.
        RecordSet *set = DM->CDS;
        RegisterReport::readIntoCds();
        auto warm = OfficeSheet::open({}, false);
        if (!warm) {
            std::printf("the office could not be reached\n");
            return 1;
        }
        set->first();
        warm->writeRow(3, {QStringLiteral("x")});
        warm->show();
    }

    RegisterReport::readIntoCds();
    clock.restart();
    ExportToExcel(DM->CDS, Platform::inProgramFolder(QStringLiteral("modrap.xlt")),
                  QStringLiteral("Registrul lucrătorilor"));
    const qint64 blockMs = clock.elapsed();
    std::printf("LibreOffice, a block of cells a call: %lld ms, peak %ld MB\n", static_cast<long long>(blockMs), peakMb());
    std::fflush(stdout);

    RegisterReport::readIntoCds();
    clock.restart();
    {
        auto sheet = OfficeSheet::open({}, false);
        sheet->setCellByCell(true);
        SpreadsheetExport::write(DM->CDS, *sheet);
        sheet->show();
    }
    const qint64 cellMs = clock.elapsed();
    std::printf("LibreOffice, one call per cell: %lld ms; the blocks are %.1f times faster\n",
                static_cast<long long>(cellMs), blockMs > 0 ? double(cellMs) / double(blockMs) : 0.0);
    office.terminate();
    if (!office.waitForFinished(10000))
        office.kill();
    setUserInteraction(nullptr);
    return 0;
}
