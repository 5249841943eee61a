// The register of an agent with 20 000 persons (or as many as asked) read and exported as the
// menu entry "Export registrul in Excel" does: the time to read the rows, the time to write the
// .xlsx file, its size, and the peak memory of the process.
// Run by hand: build/bench/bench_sheet [persons [folder for the database and the file]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "platform/platform.h"
#include "reports/registerreport.h"
#include "reports/spreadsheetexport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

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
    setUserInteraction(nullptr);
    return 0;
}
