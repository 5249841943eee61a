// The profession update with a file of 10 000 professions into a database that holds them all
// under other names: the withdrawal pass, then one select and one update per row, each in its
// own transaction. Beside it, on the same database in the same run, as many bare UPDATEs each
// committed at once, and as many bare selects of one row each in its own transaction. Prints
// the three rates.
// Run by hand: build/bench/bench_classifiers [folder for the database file [professions]]

#include "bench/benchdatabase.h"
#include "data/datapacket.h"
#include "maintenance/classifierupdate.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int n = args.size() > 2 ? args.at(2).toInt() : 10000;
    BenchDatabase db(args.size() > 1 ? args.at(1) : QString());
    // No user interaction is installed: the messages go nowhere and the update runs alone.
    Formats::forceDefaults();
    const QString folder = QFileInfo(db.path()).absolutePath();
    Platform::setProgramFolder(folder);

    DM->execWrite(QStringLiteral("delete from k_prof"));
    for (int i = 1; i <= n; ++i)
        DM->execWrite(QStringLiteral("insert into k_prof values(%1,'PROFESIA VECHE %1')").arg(i));
    LoadClassifier(DM->k_prof);

    DataPacket::Packet p;
    p.fields = {DataPacket::makeField(QStringLiteral("kp_id"), FieldType::Integer),
                DataPacket::makeField(QStringLiteral("kp_name_ro"), FieldType::String, 250)};
    for (int i = 1; i <= n; ++i)
        p.rows.push_back({i, QStringLiteral("PROFESIA NOUA %1").arg(i)});
    DataPacket::write(folder + QStringLiteral("/k_prof.cds"), p, DataPacket::Format::Binary);

    QElapsedTimer t;
    t.start();
    ClassifierUpdate::updateProfessions();
    const double update = double(t.nsecsElapsed()) / 1e9;

    t.restart();
    for (int i = 1; i <= n; ++i)
        DM->execWrite(QStringLiteral("update k_prof set kp_name_ro='PROFESIA BARA %1' where kp_id=%1").arg(i));
    const double bare = double(t.nsecsElapsed()) / 1e9;

    t.restart();
    for (int i = 1; i <= n; ++i) {
        ReadScope probe(DM->IBQ1, QStringLiteral(" select * from k_prof where kp_id=%1").arg(i));
        probe.end();
    }
    const double selects = double(t.nsecsElapsed()) / 1e9;

    ReadScope check(DM->IBQ1, QStringLiteral("select count(*) from k_prof where kp_name_ro like 'PROFESIA BARA%'"));
    std::printf("profession update, %d rows (select + update each): %.2f s, %.0f rows/s\n", n, update, n / update);
    std::printf("bare committed UPDATEs, %d statements:               %.2f s, %.0f statements/s\n", n, bare, n / bare);
    std::printf("bare selects, %d statements, each in its transaction: %.2f s, %.0f statements/s\n", n, selects,
                n / selects);
    std::printf("rows checked: %d\n", check.value(0).toInt());
    return 0;
}
