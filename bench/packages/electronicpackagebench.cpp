// Forms the electronic package of one year (2012, "Anul intreg") for one agent with 5 000
// declarations of 12 monthly rows each, through the persons window's menu entry with the dialog
// and the question answered by a script, to the filed archive; beside it, on the same database
// in the same run, a bare baseline reads the same rows with one select and writes the same four
// files. Prints both times, their ratio and the peak memory of the operation.
// Run by hand: build/bench/bench_electronic [folder for the database file [declarations]]

#include "bench/benchdatabase.h"
#include "bench/benchinteraction.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "grid/dblookupcombobox.h"
#include "packages/tfpach.h"
#include "persons/tfpers.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

int kDeclarations = 5000;
constexpr int kYear = 2012;


// ---------------------------------------------------------------- the baseline

QByteArray money(double v)
{
    return QByteArray::number(std::round(v * 100) / 100, 'f', 2);
}
void field(QByteArray &out, const QByteArray &v)
{
    out += v;
    out += '\xB0';
}
QByteArray text(const QVariant &v)
{
    return v.isNull() ? QByteArray() : v.toString().trimmed().toLatin1();
}
QByteArray date(const QVariant &v)
{
    return v.isNull() ? QByteArray() : v.toDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
}
void save(const QString &folder, const char *name, const QByteArray &bytes)
{
    QSaveFile f(folder + u'/' + QLatin1String(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.commit();
}

// One select over the rows of the year, the four files written straight from it.
void baseline(const QString &folder)
{
    QByteArray sd, ip, na, t;
    ReadScope read(DM->IBQ1, QStringLiteral(
                                 "select na_id, pl_id, pl_nr, sd_month, sd_position, sd_ap_category, sd_zile_n, "
                                 "sd_dela_d, sd_pina_d, sd_paym_fond, sd_ill, sd_sum_add, sd_sum_add_ea, ap_cpas, "
                                 "ap_first_name, ap_middle_name, ap_last_name, ap_birth_dt, ap_idnp, ap_doc_type, "
                                 "ap_doc_seria, ap_doc_number, ap_idnp_who, ap_idnp_dt from name_account join "
                                 "packlabel on na_pl=pl_id join saldo_data on sd_na=na_id join assured_person on "
                                 "ap_id=na_ap where na_year=2012 and pl_ea=1 order by pl_id, na_id, sd_month"));
    IbQuery *q = read.query();
    double decl[4] = {0, 0, 0, 0}, pack[4] = {0, 0, 0, 0}, all[4] = {0, 0, 0, 0};
    QVariant curNa, curPl, curNr;
    int docs = 0, packs = 0;
    auto closeDeclaration = [&] {
        field(sd, text(curNa));
        field(sd, text(curNr));
        field(sd, "13");
        for (int i = 0; i < 5; ++i)
            field(sd, {});
        for (double v : decl)
            field(sd, money(v));
        field(sd, money(decl[2] + decl[3]));
        sd += "\r\n";
        for (int i = 0; i < 4; ++i)
            pack[i] += decl[i], decl[i] = 0;
        ++docs;
    };
    auto closePackage = [&] {
        field(ip, text(curNr));
        field(ip, QByteArray::number(docs));
        for (double v : pack)
            field(ip, money(v));
        field(ip, money(pack[2] + pack[3]));
        ip += "\r\n";
        for (int i = 0; i < 4; ++i)
            all[i] += pack[i], pack[i] = 0;
        docs = 0;
        ++packs;
    };
    for (; !q->eof(); q->next()) {
        if (!curNa.isNull() && q->value(0) != curNa) {
            closeDeclaration();
            if (q->value(1) != curPl)
                closePackage();
        }
        if (curNa.isNull() || q->value(0) != curNa) {
            for (int i : {0, 2})
                field(na, text(q->value(i)));
            for (int i = 13; i < 24; ++i)
                field(na, i == 17 || i == 23 ? date(q->value(i)) : text(q->value(i)));
            na += "\r\n";
        }
        curNa = q->value(0);
        curPl = q->value(1);
        curNr = q->value(2);
        for (int i : {0, 2, 3, 4, 5, 6, 7, 8})
            field(sd, i == 7 || i == 8 ? date(q->value(i)) : text(q->value(i)));
        double v[4];
        for (int i = 0; i < 4; ++i) {
            v[i] = std::round(q->value(9 + i).toDouble() * 100) / 100;
            decl[i] += v[i];
            field(sd, money(v[i]));
        }
        field(sd, money(v[2] + v[3]));
        sd += "\r\n";
    }
    closeDeclaration();
    closePackage();
    for (const QByteArray &v : {QByteArray("1"), QByteArray("2012"), QByteArray("00"), QByteArray("07"),
                                QByteArray("1234567"), QByteArray("1002600012345"), QByteArray("\x22"
                                                                                               "ar\xE3"),
                                QByteArray("15.01.2013"), QByteArray::number(packs)})
        field(t, v);
    for (double v : all)
        field(t, money(v));
    field(t, money(all[2] + all[3]));
    t += "\r\n";
    save(folder, "REV5_SD", sd);
    save(folder, "REV5_IP", ip);
    save(folder, "REV5_T", t);
    save(folder, "REV5_NA", na);
}

qint64 timedBaseline(const QString &folder)
{
    QElapsedTimer t;
    t.start();
    baseline(folder);
    return t.elapsed();
}

long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString parent = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (argc > 2)
        kDeclarations = std::atoi(argv[2]);

    BenchDatabase db(parent);
    QTemporaryDir programFolder(QFileInfo(db.path()).absolutePath() + QStringLiteral("/program-XXXXXX"));
    Platform::setProgramFolder(programFolder.path());
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/rar"),
                programFolder.filePath(QStringLiteral("rar")));
    QTemporaryDir baselineFolder(QFileInfo(db.path()).absolutePath() + QStringLiteral("/baseline-XXXXXX"));

    BenchInteraction answers; // No: no copy to removable media, no check
    setUserInteraction(&answers);
    QElapsedTimer setup;
    setup.start();
    makePackagedDeclarations(kDeclarations, kYear);
    std::printf("%d declarations of %d with 12 monthly rows each made in %lld ms\n", kDeclarations, kYear,
                static_cast<long long>(setup.elapsed()));
    loadRows(DM->econ_agent, QStringLiteral("select * from econ_agent"));
    for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data, DM->Temp})
        s->createDataSet();
    DM->Temp->append();
    DM->serverDate = QDateTime(QDate(2013, 1, 15), QTime(0, 0));

    const qint64 before = timedBaseline(baselineFolder.path());

    auto *window = new TFPers;
    window->show();
    QComboBox *year = window->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    year->setCurrentIndex(year->findText(QString::number(kYear)));
    QTimer::singleShot(0, [] {
        if (auto *d = qobject_cast<TFPach *>(QApplication::activeModalWidget())) {
            d->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentIndex(0); // "Anul intreg"
            auto *type = d->findChild<DbLookupComboBox *>(QStringLiteral("DBLookupComboBox1"));
            type->setCurrentIndex(0);
            emit type->activated(0);
            d->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        }
    });
    resetPeak();
    const long peakBefore = peakKb();
    QElapsedTimer t;
    t.start();
    window->findChild<QAction *>(QStringLiteral("Formareapachetuluielectronic1"))->trigger();
    const qint64 operation = t.elapsed();
    const long peak = peakKb();

    const qint64 after = timedBaseline(baselineFolder.path());
    const qint64 bare = std::min(before, after);
    const QString archive = programFolder.filePath(QStringLiteral("Primara/REV5_1234567_00101_2012T00.RAR"));
    std::printf("electronic package from the menu: %lld ms (%s; archive %s, %lld bytes)\n",
                static_cast<long long>(operation), qPrintable(answers.notices.join(QStringLiteral(" / "))),
                QFileInfo::exists(archive) ? "filed" : "MISSING", static_cast<long long>(QFileInfo(archive).size()));
    std::printf("bare select and four files: %lld ms (runs %lld and %lld ms)\n", static_cast<long long>(bare),
                static_cast<long long>(before), static_cast<long long>(after));
    std::printf("ratio: %.2f\n", bare > 0 ? double(operation) / double(bare) : 0.0);
    std::printf("peak memory: %ld MB during the operation (%ld MB when it started)\n", peak / 1024,
                peakBefore / 1024);
    for (const char *name : {"REV5_SD", "REV5_IP", "REV5_NA", "REV5_T"})
        std::printf("  %s: %lld bytes formed, %lld bytes baseline\n", name,
                    static_cast<long long>(QFileInfo(programFolder.filePath(QLatin1String(name))).size()),
                    static_cast<long long>(QFileInfo(baselineFolder.filePath(QLatin1String(name))).size()));
    delete window;
    setUserInteraction(nullptr);
    return 0;
}
