#pragma once
// Archives of the database file in the folder "ARHIVA" of the program folder: the daily one
// made at connection and the one the user asks for. The copy is taken under the database's
// backup lock, so that an archive always opens as a consistent database.

#include <QDate>
#include <QString>

namespace DatabaseArchive {

// The message shown when the archiver is missing from the program folder.
QString missingArchiverMessage();
// The message shown instead of an archive when the database lies on the server `server`
// ("host" or "host/port"): there is no local file to copy.
QString serverBackupMessage(const QString &server);

// The file name of the database without extension ("bdkolm" when it cannot be found).
QString stemOf(const QString &databasePath);
// The path to copy from: "host:drive:path" loses its "host:" part.
QString copySource(const QString &databasePath);
// Year, month and day as eight digits: 20080305.
QString datePart(const QDate &day);
QString archiveFolder();
bool archiverPresent();

// True when no "bdkolm*.rar" exists in the folder or the newest was last written before
// the start of yesterday.
bool dailyArchiveDue(const QString &folder, const QDate &today);
// folder/stem_datepart.rar, then with 0, 1, 2 ... after the date part while the name is taken.
QString freeArchiveName(const QString &folder, const QString &stem, const QString &datePart);

// Copies the open database file consistently (backup lock around the copy; the copy is then
// made an ordinary database again). Raises DbError when the lock cannot be had. Once the lock
// has ended, the connection is opened again, so that the engine writes out at once the pages
// the lock's end changed: a program ended right after the archive leaves a sound file.
// EVD_ARCHIVE_HOLD_MS=N in the environment holds the finished copy N ms under the lock, for
// the tests that end the program in that moment.
void consistentCopy(const QString &source, const QString &target);

// What the first page of a file says of it: a database, one copied under the backup lock and
// never made ordinary again (it cannot be opened without the lock's delta file), or no
// database at all.
enum class FileState { NotADatabase, Ordinary, UnderBackupLock };
FileState fileState(const QString &path);
// The same, of a file's first bytes.
FileState headerState(const QByteArray &firstBytes);

// At connection, before anything else: a database left under the backup lock by an archive
// that never ended (the program was ended during the copy) has the lock ended, its delta file
// merged into it. Nothing for a server database, whose backups are the server's.
void endInterruptedBackup(const QString &databasePath);
// The copies of the database (stem_*.gdb) in the archive folder that an interrupted archive
// left under the lock's state are removed: they cannot be opened. A finished copy that the
// archiver could not take stays, and so does any other file.
void removeHalfMadeCopies(const QString &folder, const QString &stem);

// Step of the connection: removes the half-made copies, then archives when due; reports nothing. A server database is left to
// the server's own backup.
void makeDailyArchive(const QString &databasePath, const QDate &today);
// "Arhivarea bazei": always archives, under a free name; tells the user when the archiver
// is missing (the copy then stays in the archive folder). For a server database it only
// tells the user that the server's own backup applies.
void makeManualArchive(const QString &databasePath, const QDate &today);

} // namespace DatabaseArchive
