// Checks an electronic package of 5 000 declarations with 12 monthly rows each (60 000 row
// lines) in 100 packages, written as the writer writes it and packed by the program's archiver,
// and times the check beside a plain read of the same archive (its headers walked, every
// member read with libarchive and its checksum compared). The classifiers are held in memory,
// with a rate for every row's category.
// Then archives built to cost as much as they can, with REV5_SD replaced by 10 MB and 30 MB of
// "x" lines and by 150 MB of lines of empty fields, each checked in a process of its own: its
// time, its peak memory and how many findings it lists and counts.
// Run by hand: build/bench/bench_packagecheck [declarations [runs]]

#include "packages/packagecheck.h"
#include "packages/packageclassifiers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

QByteArray money(qint64 cents)
{
    return QByteArray::number(cents / 100) + '.' + QByteArray::number(cents % 100).rightJustified(2, '0');
}

QByteArray line(std::initializer_list<QByteArray> fields)
{
    QByteArray out;
    for (const QByteArray &f : fields)
        out += f + '\xB0';
    return out + "\r\n";
}

// The four files of year 2015, whole year: pay 1000.00 + 10 cents per declaration, 6 % and 23 %.
void writeFiles(const QString &folder, int declarations)
{
    QByteArray t, ip, na, sd;
    qint64 grand[4] = {0, 0, 0, 0};
    const int packages = (declarations + 49) / 50;
    for (int p = 1; p <= packages; ++p) {
        qint64 sums[4] = {0, 0, 0, 0};
        int count = 0;
        for (int d = (p - 1) * 50 + 1; d <= std::min(declarations, p * 50); ++d, ++count) {
            const QByteArray id = QByteArray::number(d), nr = QByteArray::number(p);
            na += line({id, nr, QByteArray::number(10000000000LL + d), "POPESCU", "ION", "VASILE", "05.03.1980",
                        QByteArray::number(2000000000000LL + d), "1", "A", "1234567", "OF. 12", "06.03.2000"});
            qint64 decl[4] = {0, 0, 0, 0};
            for (int m = 1; m <= 12; ++m) {
                const qint64 pay = 100000 + 10 * d;
                const qint64 ind = (pay * 6 + 50) / 100, emp = (pay * 23 + 50) / 100;
                const QDate first(2015, m, 1);
                sd += line({id, nr, QByteArray::number(m), "111201", "101", "5",
                            first.toString(QStringLiteral("dd.MM.yyyy")).toLatin1(),
                            first.addMonths(1).addDays(-1).toString(QStringLiteral("dd.MM.yyyy")).toLatin1(),
                            money(pay), "0.00", money(ind), money(emp), money(ind + emp)});
                decl[0] += pay;
                decl[2] += ind;
                decl[3] += emp;
            }
            sd += line({id, nr, "13", "", "", "", "", "", money(decl[0]), money(decl[1]), money(decl[2]),
                        money(decl[3]), money(decl[2] + decl[3])});
            for (int k = 0; k < 4; ++k)
                sums[k] += decl[k];
        }
        ip += line({QByteArray::number(p), QByteArray::number(count), money(sums[0]), money(sums[1]), money(sums[2]),
                    money(sums[3]), money(sums[2] + sums[3])});
        for (int k = 0; k < 4; ++k)
            grand[k] += sums[k];
    }
    t = line({"1", "2015", "00", "07", "1234567", "1002600012345", "RESPONSABIL", "15.01.2016",
              QByteArray::number(packages), money(grand[0]), money(grand[1]), money(grand[2]), money(grand[3]),
              money(grand[2] + grand[3])});
    for (auto [name, bytes] : {std::pair{"REV5_T", &t}, {"REV5_IP", &ip}, {"REV5_NA", &na}, {"REV5_SD", &sd}}) {
        QFile f(QDir(folder).filePath(QLatin1String(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(*bytes) != bytes->size())
            std::fprintf(stderr, "cannot write %s\n", name);
    }
}

// The processor time of this process, in ms: steadier than the clock on a shared machine.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The best of the runs: time on the clock and processor time, in ms.
struct Best {
    double wall = 1e300, cpu = 1e300;
};
template <typename F> Best bestOf(int runs, F work)
{
    Best best;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const double cpu = cpuMs();
        t.start();
        work();
        best.wall = std::min(best.wall, t.nsecsElapsed() / 1e6);
        best.cpu = std::min(best.cpu, cpuMs() - cpu);
    }
    return best;
}

// The archive of the files in `folder`, named as a package of the year.
QString pack(const QString &folder, const QString &name)
{
    QProcess rar;
    rar.setWorkingDirectory(folder);
    QFile::remove(QDir(folder).filePath(name));
    rar.start(QStringLiteral(EVD_RAR_EXE), {"a", name, "REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"});
    rar.waitForFinished(-1);
    return QDir(folder).filePath(name);
}

// The check of one archive in this process: time, findings, peak memory.
int checkOne(const char *archive)
{
    QElapsedTimer t;
    t.start();
    const PackageCheck::Result r = PackageCheck::checkArchive(QString::fromLocal8Bit(archive));
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("%8.1f ms, peak %4ld MB, %zu findings listed of %d\n", t.nsecsElapsed() / 1e6, u.ru_maxrss / 1024,
                r.findings.size(), r.errors() + r.warnings());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--one")
        return checkOne(argv[2]);
    const int declarations = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    writeFiles(dir.path(), declarations);
    const QString name = QStringLiteral("REV5_1234567_00101_2015T00.RAR");
    const QString archive = pack(dir.path(), name);
    std::printf("archive: %d declarations, %d row lines, %lld bytes\n", declarations, declarations * 12,
                QFileInfo(archive).size());

    PackageClassifiers classifiers;
    classifiers.addDocumentType(1);
    classifiers.addFunction(111201);
    PackageClassifiers::Rate rate;
    rate.individualUnit = rate.employerUnit = QStringLiteral("P");
    rate.individualValue = 6;
    rate.employerValue = 23;
    rate.ceiling = 750;
    classifiers.addRate(101, 2015, 2015, rate);

    const Best read = bestOf(runs, [&] {
        PackageCheck::Members members;
        QString error;
        PackageCheck::readArchive(archive, &members, &error);
    });
    PackageCheck::Result bare, full;
    const Best checkBare = bestOf(runs, [&] { bare = PackageCheck::checkArchive(archive); });
    const Best checkFull = bestOf(runs, [&] { full = PackageCheck::checkArchive(archive, &classifiers); });
    std::printf("plain read (headers, members, checksums): %8.1f ms  (processor %.1f ms)\n", read.wall, read.cpu);
    std::printf("check without classifiers:                %8.1f ms  (processor %.1f ms, %zu findings)\n",
                checkBare.wall, checkBare.cpu, bare.findings.size());
    std::printf("check with classifiers and rates:         %8.1f ms  (processor %.1f ms, %zu findings)\n",
                checkFull.wall, checkFull.cpu, full.findings.size());
    for (size_t i = 0; i < std::min<size_t>(full.findings.size(), 5); ++i)
        std::printf("  %s\n", qPrintable(full.findings[i].text()));

    std::printf("archives built to cost the most, each checked in a process of its own:\n");
    const struct {
        const char *what;
        QByteArray line;
        qint64 bytes;
    } hostile[] = {{"REV5_SD of 10 MB of \"x\" lines:         ", "x\r\n", 10 << 20},
                   {"REV5_SD of 30 MB of \"x\" lines:         ", "x\r\n", 30 << 20},
                   {"REV5_SD of 150 MB of empty-field lines:", QByteArray(13, '\xB0') + "\r\n", qint64(150) << 20}};
    for (const auto &h : hostile) {
        QFile sd(QDir(dir.path()).filePath(QStringLiteral("REV5_SD")));
        if (!sd.open(QIODevice::WriteOnly))
            return 2;
        const QByteArray block = h.line.repeated(int((1 << 20) / h.line.size()));
        for (qint64 written = 0; written < h.bytes; written += block.size())
            sd.write(block);
        sd.close();
        const QString big = pack(dir.path(), name);
        QProcess one;
        one.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), big});
        one.waitForFinished(-1);
        std::printf("  %s %s", h.what, one.readAllStandardOutput().constData());
    }
    return full.findings.empty() ? 0 : 1;
}
