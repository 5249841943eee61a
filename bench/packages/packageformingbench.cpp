// Forms the packages of 5 000 declarations of one agent and year, 12 monthly rows each, all in
// one package at the start (100 packages at the end), timing each step; on the same database
// in the same run, as many declarations of the next year are moved into the same shape by bare
// single-row UPDATEs of na_pl, each committed, and the package lookup is timed alone. With
// "fereastra" the forming runs as in the program, its progress shown in the progress window
// (offscreen without a display), so that the two runs can be compared.
// Run by hand: build/bench/bench_packages [folder for the database file [declarations [fereastra]]]

#include "app/qtuserinteraction.h"
#include "app/tfprogres.h"
#include "bench/benchdatabase.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "packages/findopenpackage.h"
#include "packages/packageforming.h"
#include "platform/progress.h"
#include "tests/support/testworkspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

int kDeclarations = 5000;
constexpr int kYear = 2010;

// Persons 1..n of agent 1, each with a declaration of kYear (na_id = ap_id, in package 1) and
// one of the next year (na_id = ap_id + 100000, in package 2), each with 12 monthly rows.
void makeDeclarations(int n)
{
    DM->execWrite(QStringLiteral("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')"));
    for (int p = 1; p <= 2; ++p)
        DM->execWrite(
            QStringLiteral("insert into packlabel values(%1,1,5,%2,'01.02.2010',1,'DA',%1)").arg(p).arg(kYear + p - 1));
    DM->execWrite(QStringLiteral("set generator gen_pl_id to 2"));
    DM->execWrite(
        QStringLiteral(
            "execute block as declare i integer = 1; declare m integer; begin while (i <= %1) do begin "
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,ap_birth_dt) "
            "values (:i, 1, '1' || lpad(:i, 10, '0'), 'NUME', 'PRENUME', '01.01.1980'); "
            "insert into name_account (na_id,na_pl,na_ap,na_year,na_rest) values (:i, 1, :i, %2, 0); "
            "insert into name_account (na_id,na_pl,na_ap,na_year,na_rest) values (:i + 100000, 2, :i, %3, 0); "
            "m = 1; while (m <= 12) do begin "
            "insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond) values (:i * 100 + :m, :i, :m, 7000); "
            "insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond) values (50000000 + :i * 100 + :m, :i + 100000, "
            ":m, 7000); "
            "m = m + 1; end i = i + 1; end end")
            .arg(n)
            .arg(kYear)
            .arg(kYear + 1));
}

// The end state of the next year written bare: packages 3.. created untimed, then one UPDATE
// per declaration beyond the first 50, each committed.
qint64 bareMoves(int n, int *moved)
{
    const int packages = (n + kPackageCapacity - 1) / kPackageCapacity;
    for (int p = 1; p < packages; ++p)
        DM->execWrite(QStringLiteral("insert into packlabel values(%1,1,5,%2,'01.02.2010',1,'DA',%1)")
                          .arg(1000 + p)
                          .arg(kYear + 1));
    QElapsedTimer t;
    t.start();
    *moved = 0;
    for (int i = kPackageCapacity; i < n; ++i, ++*moved)
        DM->execWrite(QStringLiteral("update name_account set na_pl=%1 where na_id=%2")
                          .arg(1000 + i / kPackageCapacity)
                          .arg(100001 + i));
    return t.nsecsElapsed();
}

const char *stepName(int step)
{
    switch (step) {
    case 1:
        return "post edits, wait cursor";
    case 2:
        return "delete declarations without rows";
    case 3:
        return "packages made primary";
    case 4:
        return "delete declarations without rows again";
    case 5:
        return "packaged marks cleared";
    case 6:
        return "the year's packages read";
    case 7:
        return "first package";
    case 8:
        return "over-full packages split";
    case 9:
        return "under-full packages filled";
    case 10:
        return "packaged marks set";
    case 11:
        return "empty packages deleted";
    case 12:
        return "generator reset";
    case 13:
        return "dates of birth checked";
    case 14:
        return "record sets closed";
    }
    return "";
}

// The program's progress window, counting what it is told and while it is shown.
class CountingInteraction : public QtUserInteraction
{
public:
    void progressUpdate(qint64 done, qint64 total, const QString &part) override
    {
        ++updates;
        QtUserInteraction::progressUpdate(done, total, part);
        // Looked at every hundredth update, so that the looking costs nothing to speak of.
        if (updates % 100 != 0)
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        if (std::any_of(windows.begin(), windows.end(),
                        [](QWidget *w) { return qobject_cast<TFProgres *>(w) && w->isVisible(); }))
            shown += 100;
    }
    long updates = 0, shown = 0;
};

} // namespace

int main(int argc, char **argv)
{
    const bool window = argc > 3 && qstrcmp(argv[3], "fereastra") == 0;
    if (window && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = window ? std::make_unique<QApplication>(argc, argv)
                                                   : std::make_unique<QCoreApplication>(argc, argv);
    CountingInteraction shown;
    if (window)
        setUserInteraction(&shown);
    if (argc > 2)
        kDeclarations = QString::fromLocal8Bit(argv[2]).toInt();
    BenchDatabase db(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    DM->serverDate = QDateTime(QDate(kYear, 12, 31), QTime(0, 0));
    TestWorkspace workspace;
    workspace.year = QString::number(kYear);
    makeDeclarations(kDeclarations);
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent"));
        CopyToMemTable(read.query(), DM->econ_agent, 3);
    }
    std::printf("database: %s\n", qPrintable(db.path()));

    int bareCount = 0;
    const qint64 bareNs = bareMoves(kDeclarations, &bareCount);

    std::map<int, qint64> stepNs;
    QElapsedTimer t, step;
    int current = 1;
    t.start();
    step.start();
    PackageForming::run([&](int next) {
        stepNs[current] += step.nsecsElapsed();
        current = next;
        step.start();
    });
    stepNs[current] += step.nsecsElapsed();
    const qint64 formNs = t.nsecsElapsed();

    // The lookup each moved declaration makes, alone: two reads in one transaction.
    QElapsedTimer lookup;
    lookup.start();
    for (int i = 0; i < bareCount; ++i)
        FindOpenPackage();
    const qint64 lookupNs = lookup.nsecsElapsed();

    int packages = 0, largest = 0;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select count(*), max(c) from (select count(*) as c from name_account "
                                                "where na_year=%1 group by na_pl)")
                                     .arg(kYear));
        packages = read.value(0).toInt();
        largest = read.value(1).toInt();
    }
    const double bareRate = bareCount / (bareNs / 1e9), formRate = bareCount / (formNs / 1e9);
    std::printf("%d declarations x 12 rows in one package -> %d packages (largest %d)\n", kDeclarations, packages,
                largest);
    std::printf("forming packages: %.3f s, %.0f moved declarations/s\n", formNs / 1e9, formRate);
    for (const auto &[n, ns] : stepNs)
        std::printf("  step %2d %-40s %8.3f s\n", n, stepName(n), ns / 1e9);
    std::printf("bare UPDATE + commit, %d declarations: %.3f s, %.0f/s\n", bareCount, bareNs / 1e9, bareRate);
    std::printf("package lookup alone, %d calls: %.3f s\n", bareCount, lookupNs / 1e9);
    std::printf("forming / bare rate: %.2f\n", formRate / bareRate);
    if (window) {
        std::printf("progress window: %ld updates told, about %ld of them while it was shown\n", shown.updates,
                    shown.shown);
        // What an update costs the work alone, the window shown and refreshed as it asks.
        constexpr int kUpdates = 2000000;
        QElapsedTimer alone;
        {
            Progress p(QStringLiteral("Numărarea"), kUpdates);
            QThread::msleep(QtUserInteraction::kProgressDelayMs);
            alone.start();
            for (int i = 1; i <= kUpdates; ++i)
                p.step(i);
        }
        const qint64 aloneNs = alone.nsecsElapsed();
        std::printf("progress updates alone: %d in %.3f s, %.0f ns each\n", kUpdates, aloneNs / 1e9,
                    double(aloneNs) / kUpdates);
    }
    setUserInteraction(nullptr);
    return 0;
}
