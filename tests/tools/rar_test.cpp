// Runs the archiver as the program does and checks its archives with bsdtar and with a
// header parser of its own, byte for byte.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray stdErr;
};

Result runRar(const QStringList &args, const QString &folder)
{
    QProcess rar;
    rar.setWorkingDirectory(folder);
    rar.start(QStringLiteral(RAR_EXE), args);
    EXPECT_TRUE(rar.waitForFinished(60000));
    return {rar.exitStatus() == QProcess::NormalExit ? rar.exitCode() : -1, rar.readAllStandardError()};
}

void expectOneLineFailure(const Result &result)
{
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.stdErr.endsWith('\n')) << result.stdErr.constData();
    EXPECT_EQ(result.stdErr.count('\n'), 1) << result.stdErr.constData();
    EXPECT_GT(result.stdErr.size(), 5);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// Member names in archive order, as bsdtar lists them.
QStringList listMembers(const QString &archive)
{
    QProcess tar;
    tar.start(QStringLiteral(BSDTAR_EXE), {QStringLiteral("-tf"), archive});
    EXPECT_TRUE(tar.waitForFinished(60000));
    EXPECT_EQ(tar.exitCode(), 0) << tar.readAllStandardError().constData();
    return QString::fromUtf8(tar.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Extracts with bsdtar (which checks the header and data CRCs) and returns name -> contents.
QMap<QString, QByteArray> extract(const QString &archive)
{
    QTemporaryDir out;
    QProcess tar;
    tar.start(QStringLiteral(BSDTAR_EXE), {QStringLiteral("-xf"), archive, QStringLiteral("-C"), out.path()});
    EXPECT_TRUE(tar.waitForFinished(60000));
    EXPECT_EQ(tar.exitCode(), 0) << tar.readAllStandardError().constData();
    QMap<QString, QByteArray> members;
    for (const QString &name : folderEntries(out.path()))
        members.insert(name, readFile(out.filePath(name)));
    return members;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

quint16 le16(const QByteArray &b, qsizetype at) { return quint8(b[at]) | quint8(b[at + 1]) << 8; }
quint32 le32(const QByteArray &b, qsizetype at) { return le16(b, at) | quint32(le16(b, at + 2)) << 16; }

struct Member
{
    quint16 headCrc, flags, headSize;
    quint32 packSize, unpSize, fileCrc, ftime, attr;
    quint8 hostOs, unpVer, method;
    QByteArray headerBody;  // HEAD_TYPE to the end of the name
    QByteArray name, data;
};

// Reads the file headers after the marker and the 13-byte archive header; `end` gets the offset
// of the block that follows the last member.
QList<Member> parseMembers(const QByteArray &archive, qsizetype &end)
{
    QList<Member> members;
    qsizetype at = 7 + 13;
    while (at + 7 <= archive.size() && quint8(archive[at + 2]) == 0x74) {
        Member m;
        m.headCrc = le16(archive, at);
        m.flags = le16(archive, at + 3);
        m.headSize = le16(archive, at + 5);
        m.packSize = le32(archive, at + 7);
        m.unpSize = le32(archive, at + 11);
        m.hostOs = quint8(archive[at + 15]);
        m.fileCrc = le32(archive, at + 16);
        m.ftime = le32(archive, at + 20);
        m.unpVer = quint8(archive[at + 24]);
        m.method = quint8(archive[at + 25]);
        m.attr = le32(archive, at + 28);
        m.name = archive.mid(at + 32, le16(archive, at + 26));
        m.headerBody = archive.mid(at + 2, m.headSize - 2);
        m.data = archive.mid(at + m.headSize, m.packSize);
        members.append(m);
        at += m.headSize + m.packSize;
    }
    end = at;
    return members;
}

const QStringList packageFiles = {QStringLiteral("REV5_T"), QStringLiteral("REV5_IP"), QStringLiteral("REV5_NA"),
                                  QStringLiteral("REV5_SD")};

// Package-like contents: Windows-1250 letters (0xBA s-cedilla, 0xFE t-cedilla) and CRLF line ends.
QByteArray packageContents(int index)
{
    QByteArray text = "1;REV5;" + QByteArray::number(index) + ";\xBA\x74\xFE\x61\xE3;CHI\xAA\x49N\xC3U\r\n";
    return text.repeated(index + 1);
}

} // namespace

TEST(RarTool, AddsThePackageFilesUnderTheirBareNames)
{
    QTemporaryDir dir;
    for (int i = 0; i < packageFiles.size(); ++i)
        writeFile(dir.filePath(packageFiles[i]), packageContents(i));

    const Result result = runRar(QStringList{"a", "REV5_1234567_00101_20153.RAR"} + packageFiles, dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.stdErr.constData();
    EXPECT_TRUE(result.stdErr.isEmpty());

    const QString archive = dir.filePath("REV5_1234567_00101_20153.RAR");
    EXPECT_EQ(listMembers(archive), packageFiles);
    const QMap<QString, QByteArray> members = extract(archive);
    ASSERT_EQ(members.size(), 4);
    for (int i = 0; i < packageFiles.size(); ++i) {
        EXPECT_EQ(members.value(packageFiles[i]), packageContents(i)) << packageFiles[i].toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(packageFiles[i])));  // "a" keeps the sources
    }
}

TEST(RarTool, WritesRar4BlocksWithCorrectChecksums)
{
    QTemporaryDir dir;
    const QByteArray first = packageContents(2);
    const QByteArray second = "read-only\r\n";
    const QString localName = QString::fromUtf8("\xC5\xA3\x61r\xC4\x83.txt");  // "ţară.txt"
    writeFile(dir.filePath("REV5_T"), first);
    writeFile(dir.filePath(localName), second);
    const QDateTime stamp(QDate(2015, 3, 31), QTime(14, 25, 37));
    for (const QString &name : {QStringLiteral("REV5_T"), localName}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QFile::setPermissions(dir.filePath(localName), QFile::ReadOwner | QFile::ReadGroup);

    ASSERT_EQ(runRar({"a", "x.rar", "REV5_T", localName}, dir.path()).exitCode, 0);
    const QByteArray archive = readFile(dir.filePath("x.rar"));

    EXPECT_EQ(archive.left(7), QByteArray("Rar!\x1A\x07\x00", 7));
    const QByteArray mainHeader = archive.mid(7, 13);
    EXPECT_EQ(mainHeader.mid(2), QByteArray("\x73\x00\x00\x0D\x00\x00\x00\x00\x00\x00\x00", 11));
    EXPECT_EQ(le16(mainHeader, 0), crc32(mainHeader.mid(2)) & 0xFFFF);

    qsizetype end = 0;
    const QList<Member> members = parseMembers(archive, end);
    ASSERT_EQ(members.size(), 2);
    const quint32 dosTime = (35u << 25) | (3u << 21) | (31u << 16) | (14u << 11) | (25u << 5) | 18u;
    const QList<QByteArray> names = {"REV5_T", "\xFE\x61r\xE3.txt"};
    const QList<QByteArray> datas = {first, second};
    for (int i = 0; i < 2; ++i) {
        const Member &m = members[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(m.headCrc, crc32(m.headerBody) & 0xFFFF);
        EXPECT_EQ(m.flags & 0x8000, 0x8000);
        EXPECT_EQ(m.flags & 0x0100, 0);
        EXPECT_EQ(m.headSize, 32 + names[i].size());
        EXPECT_EQ(m.name, names[i]);
        EXPECT_EQ(m.packSize, quint32(datas[i].size()));
        EXPECT_EQ(m.unpSize, quint32(datas[i].size()));
        EXPECT_EQ(m.data, datas[i]);
        EXPECT_EQ(m.fileCrc, crc32(datas[i]));
        EXPECT_EQ(m.hostOs, 2);
        EXPECT_EQ(m.ftime, dosTime);
        EXPECT_EQ(m.unpVer, 29);
        EXPECT_EQ(m.method, 0x30);
    }
    EXPECT_EQ(members[0].attr, 0x20u);
    EXPECT_EQ(members[1].attr, 0x21u);  // read-only
    EXPECT_EQ(archive.mid(end), QByteArray("\xC4\x3D\x7B\x00\x40\x07\x00", 7));
}

TEST(RarTool, AddingToAnArchiveKeepsItsMembersAndReplacesOneOfTheSameName)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("REV5_T"), "old T\r\n");
    writeFile(dir.filePath("REV5_IP"), "IP\r\n");
    ASSERT_EQ(runRar({"a", "p.RAR", "REV5_T", "REV5_IP"}, dir.path()).exitCode, 0);

    writeFile(dir.filePath("REV5_T"), "new T, longer\r\n");
    writeFile(dir.filePath("REV5_SD"), "SD\r\n");
    ASSERT_EQ(runRar({"a", "p.RAR", "REV5_T", "REV5_SD"}, dir.path()).exitCode, 0);

    const QString archive = dir.filePath("p.RAR");
    EXPECT_EQ(listMembers(archive), (QStringList{"REV5_T", "REV5_IP", "REV5_SD"}));
    const QMap<QString, QByteArray> members = extract(archive);
    EXPECT_EQ(members.value("REV5_T"), "new T, longer\r\n");
    EXPECT_EQ(members.value("REV5_IP"), "IP\r\n");
    EXPECT_EQ(members.value("REV5_SD"), "SD\r\n");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"REV5_IP", "REV5_SD", "REV5_T", "p.RAR"}));
}

TEST(RarTool, MoveStoresTheBareNameAndDeletesTheSource)
{
    QTemporaryDir work, sources, archives;
    const QString copy = sources.filePath("bdkolm_20150331.gdb");
    const QString archive = archives.filePath("bdkolm_20150331.rar");
    QByteArray database(200000, '\0');
    for (int i = 0; i < database.size(); i += 7)
        database[i] = char(i % 251);
    writeFile(copy, database);

    Result result = runRar({"m", "-ep", archive, copy}, work.path());
    ASSERT_EQ(result.exitCode, 0) << result.stdErr.constData();
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(listMembers(archive), QStringList{"bdkolm_20150331.gdb"});
    EXPECT_EQ(extract(archive).value("bdkolm_20150331.gdb"), database);
    EXPECT_EQ(folderEntries(archives.path()), QStringList{"bdkolm_20150331.rar"});

    // Moving into an archive that exists adds to it.
    const QString second = sources.filePath("other.gdb");
    writeFile(second, "second");
    result = runRar({"m", "-ep", archive, second}, work.path());
    ASSERT_EQ(result.exitCode, 0) << result.stdErr.constData();
    EXPECT_FALSE(QFile::exists(second));
    const QMap<QString, QByteArray> members = extract(archive);
    EXPECT_EQ(members.keys(), (QStringList{"bdkolm_20150331.gdb", "other.gdb"}));
    EXPECT_EQ(members.value("bdkolm_20150331.gdb"), database);
}

TEST(RarTool, StoresEmptyAndMultiMegabyteFilesExactly)
{
    QTemporaryDir dir;
    QByteArray random(3 * 1024 * 1024 + 12345, Qt::Uninitialized);
    QRandomGenerator generator(20150331);
    for (char &byte : random)
        byte = char(generator.bounded(256));
    writeFile(dir.filePath("empty"), QByteArray());
    writeFile(dir.filePath("random.bin"), random);

    ASSERT_EQ(runRar({"a", "big.rar", "empty", "random.bin"}, dir.path()).exitCode, 0);
    const QMap<QString, QByteArray> members = extract(dir.filePath("big.rar"));
    ASSERT_TRUE(members.contains("empty"));
    EXPECT_TRUE(members.value("empty").isEmpty());
    EXPECT_EQ(members.value("random.bin"), random);
}

TEST(RarTool, MissingInputFailsAndLeavesNoArchive)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("REV5_T"), "T\r\n");

    expectOneLineFailure(runRar({"a", "p.RAR", "REV5_T", "REV5_IP"}, dir.path()));
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"REV5_T"});

    // An archive that exists is left exactly as it was.
    ASSERT_EQ(runRar({"a", "p.RAR", "REV5_T"}, dir.path()).exitCode, 0);
    const QByteArray before = readFile(dir.filePath("p.RAR"));
    expectOneLineFailure(runRar({"a", "p.RAR", "REV5_NA"}, dir.path()));
    EXPECT_EQ(readFile(dir.filePath("p.RAR")), before);

    // "m" keeps its sources when one of them is missing.
    expectOneLineFailure(runRar({"m", "-ep", "q.rar", "REV5_T", "REV5_SD"}, dir.path()));
    EXPECT_TRUE(QFile::exists(dir.filePath("REV5_T")));
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"REV5_T", "p.RAR"}));
}

TEST(RarTool, UnwritableArchiveFailsAndKeepsTheSource)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("copy.gdb"), "database");
    QDir(dir.path()).mkdir("folder.rar");

    expectOneLineFailure(runRar({"m", "-ep", dir.filePath("missing/a.rar"), dir.filePath("copy.gdb")}, dir.path()));
    expectOneLineFailure(runRar({"m", "-ep", "folder.rar", "copy.gdb"}, dir.path()));
    EXPECT_EQ(readFile(dir.filePath("copy.gdb")), "database");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"copy.gdb", "folder.rar"}));
    EXPECT_TRUE(folderEntries(dir.filePath("folder.rar")).isEmpty());
}

TEST(RarTool, RefusesWrongCommandLines)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("f"), "f");
    const QList<QStringList> lines = {
        {}, {"x", "a.rar", "f"}, {"a", "-zz", "a.rar", "f"}, {"a", "a.rar"}, {"m", "-ep", "a.rar"}};
    for (const QStringList &line : lines) {
        SCOPED_TRACE(line.join(' ').toStdString());
        expectOneLineFailure(runRar(line, dir.path()));
    }
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"f"});
}

TEST(RarTool, TestFindsAChangedByteOfAMembersDataAndATruncation)
{
    QTemporaryDir dir;
    QByteArray data(300000, '\0');
    QRandomGenerator random(11);
    for (char &c : data)
        c = char(random.bounded(256));
    writeFile(dir.filePath("data.gdb"), data);
    writeFile(dir.filePath("small"), "small");
    ASSERT_EQ(runRar({"a", "a.rar", "data.gdb", "small"}, dir.path()).exitCode, 0);
    const Result sound = runRar({"t", "a.rar"}, dir.path());
    EXPECT_EQ(sound.exitCode, 0);
    EXPECT_TRUE(sound.stdErr.isEmpty()) << sound.stdErr.constData();

    const QByteArray archive = readFile(dir.filePath("a.rar"));
    for (const qsizetype at : {archive.size() / 4, archive.size() / 2, archive.size() - 30}) {
        SCOPED_TRACE(at);
        QByteArray changed = archive;
        changed[at] = char(changed[at] ^ 0x20);
        writeFile(dir.filePath("changed.rar"), changed);
        const Result r = runRar({"t", "changed.rar"}, dir.path());
        expectOneLineFailure(r);
        EXPECT_EQ(r.exitCode, 2);
    }
    writeFile(dir.filePath("cut.rar"), archive.left(archive.size() / 2));
    expectOneLineFailure(runRar({"t", "cut.rar"}, dir.path()));
    for (const QStringList &line : QList<QStringList>{{"t"}, {"t", "a.rar", "small"}})
        expectOneLineFailure(runRar(line, dir.path()));
}

TEST(RarTool, RefusesNamesOutsideWindows1250)
{
    QTemporaryDir dir;
    const QString name = QString::fromUtf8("\xE6\x96\x87.txt");  // a CJK ideograph
    writeFile(dir.filePath(name), "x");
    expectOneLineFailure(runRar({"a", "a.rar", name}, dir.path()));
    EXPECT_FALSE(QFile::exists(dir.filePath("a.rar")));
}

TEST(RarTool, LeavesAFileThatIsNotARar4ArchiveUntouched)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("f"), "f");
    const QList<QByteArray> notRar4 = {"plain text, not an archive", QByteArray("Rar!\x1A\x07\x01\x00", 8) + "rest"};
    for (const QByteArray &contents : notRar4) {
        writeFile(dir.filePath("a.rar"), contents);
        expectOneLineFailure(runRar({"a", "a.rar", "f"}, dir.path()));
        EXPECT_EQ(readFile(dir.filePath("a.rar")), contents);
    }
}
