#include "maintenance/databasearchive.h"
#include "data/databaselocation.h"
#include "data/dberror.h"
#include "data/helpers.h"
#include "data/ibdatabase.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

namespace DatabaseArchive {

namespace {

QString two(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// Moves the copy into the archive with the archiver of the program folder; its result is not
// needed by the callers.
void runArchiver(const QString &archive, const QString &copy)
{
    RunAndWait(Platform::inProgramFolder(QStringLiteral("rar")),
               {QStringLiteral("m"), QStringLiteral("-ep"), archive, copy});
}

void commitWriters()
{
    DM->IBT3->commitIfActive();
    DM->IBT2->commitIfActive();
}

// The database header page: its type, the on-disk structure's version and the flags that hold
// the backup lock's state.
constexpr int kHeaderSize = 64, kOdsOffset = 18, kFlagsOffset = 42;
constexpr quint16 kBackupMask = 0x0C00;

quint16 word(const QByteArray &bytes, int offset)
{
    return quint16(uchar(bytes[offset]) | (uchar(bytes[offset + 1]) << 8));
}

bool isHeaderPage(const QByteArray &head)
{
    return head.size() >= kHeaderSize && head[0] == 1 && (word(head, kOdsOffset) & 0x7FFF) >= 11;
}

// A file copied under the backup lock carries the lock's state in its header page; clearing
// it makes the copy an ordinary database that opens without the lock's delta file.
void clearBackupState(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        throw DbError(QStringLiteral("Cannot open the copy %1").arg(path));
    const QByteArray head = f.read(kHeaderSize);
    if (!isHeaderPage(head))
        throw DbError(QStringLiteral("The copy %1 is not a database file").arg(path));
    const quint16 flags = word(head, kFlagsOffset) & quint16(~kBackupMask);
    f.seek(kFlagsOffset);
    const char bytes[2] = {char(flags & 0xFF), char(flags >> 8)};
    f.write(bytes, 2);
    f.close();
}

// The engine keeps in its cache pages that the lock's end changed and writes them some time
// later; the end of its last attachment writes them at once.
void writeEnginePagesOut()
{
    DM->IDB->close();
    DM->IDB->open();
}

} // namespace

QString missingArchiverMessage()
{
    return QStringLiteral("Lipseste fisierul rar.exe Baza de date nu poate fi arhivata !");
}

QString serverBackupMessage(const QString &server)
{
    return QStringLiteral("Baza de date se afla pe serverul %1; arhivarea ei se face prin copiile de siguranta "
                          "ale serverului.")
        .arg(server);
}

QString stemOf(const QString &databasePath)
{
    const int dot = int(databasePath.indexOf(QStringLiteral(".gdb"), 0, Qt::CaseInsensitive));
    if (dot <= 0)
        return QStringLiteral("bdkolm");
    const int slash = int(databasePath.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]")), dot - 1));
    if (slash < 0)
        return QStringLiteral("bdkolm");
    return databasePath.mid(slash + 1, dot - slash - 1);
}

QString copySource(const QString &databasePath)
{
    const int first = int(databasePath.indexOf(u':'));
    if (first >= 0 && databasePath.indexOf(u':', first + 1) > first)
        return databasePath.mid(first + 1);
    return databasePath;
}

QString datePart(const QDate &day)
{
    return QString::number(day.year()) + two(day.month()) + two(day.day());
}

QString archiveFolder()
{
    return Platform::inDataFolder(QStringLiteral("ARHIVA"));
}

bool archiverPresent()
{
    return Platform::fileExistsNoCase(Platform::programFolder(), QStringLiteral("rar"));
}

bool dailyArchiveDue(const QString &folder, const QDate &today)
{
    const QFileInfoList found =
        QDir(folder).entryInfoList({QStringLiteral("bdkolm*.rar")}, QDir::Files, QDir::NoSort);
    if (found.isEmpty())
        return true;
    QDateTime newest;
    for (const QFileInfo &fi : found)
        if (!newest.isValid() || fi.lastModified() > newest)
            newest = fi.lastModified();
    return QDateTime(today.addDays(-1), QTime(0, 0)) > newest;
}

QString freeArchiveName(const QString &folder, const QString &stem, const QString &datePart)
{
    const QString base = folder + u'/' + stem + u'_' + datePart;
    QString name = base + QStringLiteral(".rar");
    for (int counter = 0; QFileInfo::exists(name) && counter <= 999999; ++counter)
        name = base + QString::number(counter) + QStringLiteral(".rar");
    return name;
}

FileState headerState(const QByteArray &firstBytes)
{
    if (!isHeaderPage(firstBytes))
        return FileState::NotADatabase;
    return (word(firstBytes, kFlagsOffset) & kBackupMask) ? FileState::UnderBackupLock : FileState::Ordinary;
}

FileState fileState(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileState::NotADatabase;
    return headerState(f.read(kHeaderSize));
}

void consistentCopy(const QString &source, const QString &target)
{
    DM->execWrite(QStringLiteral("ALTER DATABASE BEGIN BACKUP"));
    bool copied = false;
    try {
        QFile::remove(target);
        copied = QFile::copy(source, target);
        if (const int hold = qEnvironmentVariableIntValue("EVD_ARCHIVE_HOLD_MS"); hold > 0 && copied)
            QThread::msleep(ulong(hold));
    } catch (...) {
        DM->execWrite(QStringLiteral("ALTER DATABASE END BACKUP"));
        throw;
    }
    DM->execWrite(QStringLiteral("ALTER DATABASE END BACKUP"));
    writeEnginePagesOut();
    if (!copied)
        throw DbError(QStringLiteral("Cannot copy %1 to %2").arg(source, target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    clearBackupState(target);
}

void endInterruptedBackup(const QString &databasePath)
{
    if (DatabaseLocation::ofConnectionName(databasePath).onServer())
        return;
    int state = 0;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select mon$backup_state from mon$database"));
        state = read.found() ? read.value(0).toInt() : 0;
    }
    if (state == 0) // normal; 1 locked, 2 merging
        return;
    DM->execWrite(QStringLiteral("ALTER DATABASE END BACKUP"));
    writeEnginePagesOut();
}

void removeHalfMadeCopies(const QString &folder, const QString &stem)
{
    const QFileInfoList copies = QDir(folder).entryInfoList({stem + QStringLiteral("_*.gdb")}, QDir::Files,
                                                            QDir::NoSort);
    for (const QFileInfo &copy : copies)
        if (fileState(copy.filePath()) == FileState::UnderBackupLock)
            QFile::remove(copy.filePath());
}

void makeDailyArchive(const QString &databasePath, const QDate &today)
{
    if (DatabaseLocation::ofConnectionName(databasePath).onServer())
        return;
    const QString folder = archiveFolder();
    QDir().mkpath(folder);
    removeHalfMadeCopies(folder, stemOf(databasePath));
    if (!dailyArchiveDue(folder, today))
        return;
    const QString name = folder + u'/' + stemOf(databasePath) + u'_' + datePart(today);
    const QString copy = name + QStringLiteral(".gdb");
    try {
        consistentCopy(copySource(databasePath), copy);
    } catch (const DbError &) {
        return; // the daily archive reports nothing
    }
    runArchiver(name + QStringLiteral(".rar"), copy);
}

void makeManualArchive(const QString &databasePath, const QDate &today)
{
    if (const DatabaseLocation where = DatabaseLocation::ofConnectionName(databasePath); where.onServer()) {
        userInteraction().inform(serverBackupMessage(where.server()));
        return;
    }
    const QString folder = archiveFolder();
    QDir().mkpath(folder);
    const QString stem = stemOf(databasePath);
    const QString date = datePart(today);
    const QString copy = folder + u'/' + stem + u'_' + date + QStringLiteral(".gdb");
    const QString archive = freeArchiveName(folder, stem, date);
    consistentCopy(copySource(databasePath), copy);
    runArchiver(archive, copy);
    commitWriters();
    if (!archiverPresent())
        userInteraction().inform(missingArchiverMessage());
}

} // namespace DatabaseArchive
