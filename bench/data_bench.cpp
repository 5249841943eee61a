// Times the copy of 10 000 rows into a record set and the loading of a 10 000-row classifier,
// on a fresh database file. Run by hand: build/bench/bench_data

#include "bench/benchdatabase.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchDatabase db;

    // 10 000 persons and 10 000 professions.
    QString block = QStringLiteral("execute block as declare i integer = 0; begin while (i < 10000) do begin "
                                   "insert into k_prof (kp_id, kp_name_ro) values (1000000 + :i, 'profesie ' || :i); "
                                   "insert into econ_agent values (:i + 1, '1234567', '1', 'A', 'B', 'C', 1, 'D', '0'); "
                                   "i = i + 1; end end");
    // econ_agent rows only serve as a wide table to copy.
    DM->execWrite(block);

    const int rounds = 5;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i) {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent order by ea_id "));
        CopyToMemTable(read.query(), DM->econ_agent, 3);
    }
    const double copyMs = double(t.elapsed()) / rounds;
    std::printf("CopyToMemTable mode 3, %d rows of econ_agent: %.1f ms\n", DM->econ_agent->recordCount(), copyMs);

    t.restart();
    for (int i = 0; i < rounds; ++i) {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent order by ea_id "));
        CopyToMemTable(read.query(), DM->CDS, 2);
    }
    std::printf("CopyToMemTable mode 2, %d rows: %.1f ms\n", DM->CDS->recordCount(), double(t.elapsed()) / rounds);

    t.restart();
    for (int i = 0; i < rounds; ++i)
        LoadClassifier(DM->k_prof);
    std::printf("LoadClassifier k_prof, %d rows: %.1f ms\n", DM->k_prof->recordCount(), double(t.elapsed()) / rounds);

    return 0;
}
