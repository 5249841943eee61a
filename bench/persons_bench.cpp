// Times the person search of an agent with 20 000 persons: the statement, the copy into the
// person list and the list's model following it. Run by hand: build/bench/bench_persons

#include "bench/benchdatabase.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordsetmodel.h"
#include "data/tdm.h"
#include "persons/personsworkspace.h"
#include "records/assuredpersonrules.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDatabase db;
    DM->execWrite(QStringLiteral("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')"));
    DM->execWrite(QStringLiteral(
        "execute block as declare i integer = 0; begin while (i < 20000) do begin "
        "insert into assured_person values (:i + 1, 1, lpad(:i, 11, '0'), lpad(:i, 13, '0'), 'OFICIUL 12', "
        "'01.02.2005', '05.03.1980', 'M', 1, 'AB', '123456', 'NUME' || mod(:i * 7919, 20000), 'PRENUME', 'PATRONIMIC'); "
        "i = i + 1; end end"));
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent"));
        CopyToMemTable(read.query(), DM->econ_agent, 3);
    }
    for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    AssuredPersonRules::attach();

    QTableView list;
    RecordSetModel model(DM->dataSourceOf(DM->assured_person));
    list.setModel(&model);
    list.resize(1000, 600);
    list.show();

    PersonsWorkspace::SearchBoxes boxes;
    double best = 1e9, total = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        PersonsWorkspace::search(PersonsWorkspace::SearchBy::Name, boxes);
        QApplication::processEvents();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("search of %d persons: best %.1f ms, mean %.1f ms\n", DM->assured_person->recordCount(), best,
                total / rounds);
    return 0;
}
