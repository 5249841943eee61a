// Classifier files made to take the reader's time and memory: the XML packet of 20 000 fields
// and 3 000 rows, the binary one of 10 MB with no fields and its rows counted -1, and the worst
// that the bounds still let through (rows that name no field, files of the largest size made of
// rows of nulls), beside a profession file of 10 000 rows in both forms. Each file is listed by cdsdump and, in a child process, read
// into a record set as the classifier update reads it; prints the outcome, the time and the peak
// memory of each.
// Run by hand: build/bench/bench_packets [folder for the files]

#include "data/datapacket.h"
#include "data/ee.h"
#include "data/recordset.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray le(quint64 v, int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char((v >> (8 * i)) & 0xFF);
    return b;
}

// A binary packet of `fields` 4-byte integers and `rows` rows of nulls, counted as `counted`.
QByteArray binaryOfNulls(int fields, qint64 rows, quint32 counted)
{
    QByteArray b = QByteArray::fromHex("9619e0bd") + le(1, 2) + le(0, 2) + le(18, 4) + le(quint64(fields), 2)
                   + le(counted, 4) + le(1, 4) + le(0, 2);
    for (int i = 0; i < fields; ++i)
        b += le(6, 1) + "f" + QByteArray::number(i).rightJustified(5, '0') + le(4, 2) + le(1, 2) + le(0, 2) + le(0, 2);
    b += le(0, 2);
    const int flagBytes = (fields * 2 + 7) / 8;
    QByteArray nulls(1 + flagBytes, '\x55');
    nulls[0] = 0;
    b.reserve(b.size() + rows * nulls.size());
    for (qint64 r = 0; r < rows; ++r)
        b += nulls;
    return b;
}

// An XML packet of `fields` integer fields and `rows` rows that give the first field alone.
QByteArray xmlOfSparseRows(int fields, int rows)
{
    QByteArray b = "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
    for (int i = 0; i < fields; ++i)
        b += "<FIELD attrname=\"f" + QByteArray::number(i) + "\" fieldtype=\"i4\"/>";
    b += "</FIELDS><PARAMS/></METADATA><ROWDATA>";
    for (int r = 0; r < rows; ++r)
        b += "<ROW f0=\"" + QByteArray::number(r) + "\"/>";
    return b + "</ROWDATA></DATAPACKET>";
}

QByteArray professions(DataPacket::Format format)
{
    DataPacket::Packet p;
    p.fields = {DataPacket::makeField(QStringLiteral("kp_id"), FieldType::Integer),
                DataPacket::makeField(QStringLiteral("kp_name_ro"), FieldType::String, 250)};
    for (int i = 1; i <= 10000; ++i)
        p.rows.push_back({i, QStringLiteral("PROFESIA NOUA %1").arg(i)});
    return DataPacket::serialize(p, format);
}

struct Run {
    int status;
    double seconds;
    long peakKb;
};

Run waitFor(pid_t pid, const QElapsedTimer &t)
{
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, double(t.nsecsElapsed()) / 1e9, use.ru_maxrss};
}

// cdsdump in a child forked while this process holds no file's bytes, so that its peak is its own.
Run listed(const QString &cdsdump, const QString &path)
{
    const QByteArray exe = cdsdump.toLocal8Bit(), file = path.toLocal8Bit();
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        dup2(devNull, 2);
        execl(exe.constData(), exe.constData(), file.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return waitFor(pid, t);
}

// Read into a record set in a child of its own, so that each file's peak is its own.
Run loaded(const QString &path, QString *outcome)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {-1, 0, 0};
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        QByteArray text;
        int code = 0;
        try {
            RecordSet set(QStringLiteral("k_prof"));
            set.loadFromFile(path);
            text = QByteArray::number(set.fieldCount()) + " campuri, " + QByteArray::number(set.recordCount())
                   + " randuri";
        } catch (const EE &e) {
            text = e.message().toUtf8();
            code = 1;
        }
        if (write(pipeFds[1], text.constData(), size_t(text.size())) < 0)
            code = 2;
        _exit(code);
    }
    close(pipeFds[1]);
    QByteArray text;
    char buf[512];
    for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;)
        text.append(buf, n);
    close(pipeFds[0]);
    const Run r = waitFor(pid, t);
    *outcome = QString::fromUtf8(text).replace(path, QStringLiteral("..."));
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString cdsdump = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/cdsdump");
    QTemporaryDir temp;
    const QString folder = app.arguments().size() > 1 ? app.arguments().at(1) : temp.path();
    const qint64 tenMb = 10 * 1024 * 1024, maxSize = 8 * 1024 * 1024;
    const struct {
        const char *what;
        std::function<QByteArray()> bytes;
    } cases[] = {
        {"XML, 20 000 fields, 3 000 rows of one value", [] { return xmlOfSparseRows(20000, 3000); }},
        {"binary, no fields, rows counted -1", [&] { return binaryOfNulls(0, tenMb - 28, 0xFFFFFFFFu); }},
        {"XML, 20 000 fields, as many rows as the bounds let", [] { return xmlOfSparseRows(20000, 43); }},
        {"binary of 10 MB, 1 field, rows of nulls", [&] { return binaryOfNulls(1, tenMb / 2, quint32(tenMb / 2)); }},
        // The most that a file may weigh, of the rows that cost the most: a null each.
        {"binary of 8 MB, 1 field, rows of nulls",
         [&] { return binaryOfNulls(1, maxSize / 2 - 40, quint32(maxSize / 2 - 40)); }},
        {"binary of 8 MB, 2 fields, rows of nulls",
         [&] { return binaryOfNulls(2, maxSize / 2 - 40, quint32(maxSize / 2 - 40)); }},
        {"binary, 40 fields, more rows of nulls than the bounds let",
         [&] { return binaryOfNulls(40, 100000, 100000); }},
        {"binary, 10 000 professions", [] { return professions(DataPacket::Format::Binary); }},
        {"XML, 10 000 professions", [] { return professions(DataPacket::Format::Xml); }},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString path = QDir(folder).filePath(QStringLiteral("case%1.cds").arg(++n));
        qint64 size = 0;
        {
            const QByteArray bytes = c.bytes();
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                return 1;
            size = bytes.size();
        }
        QString outcome;
        const Run dump = listed(cdsdump, path);
        const Run load = loaded(path, &outcome);
        std::printf("%s (%lld KB)\n  %s\n  cdsdump: exit %d, %.2f s, peak %ld KB; record set: %.2f s, peak %ld KB\n",
                    c.what, size / 1024, qPrintable(outcome), dump.status, dump.seconds, dump.peakKb, load.seconds,
                    load.peakKb);
        QFile::remove(path);
    }
    return 0;
}
