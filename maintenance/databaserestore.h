#pragma once
// "Restabilire din arhivă": the newest archive of the folder ARHIVA put in the place of a
// database file that cannot be used. The file standing there is kept under a new name with the
// date in it (never deleted, never overwritten); the archive's copy is written under a temporary
// name and takes the database's name only once it is whole.

#include "platform/clock.h"

#include <QDateTime>
#include <QString>
#include <functional>

class DatabaseFileError;
class DatabaseLocation;

namespace DatabaseRestore {

// An archive of the database in the archive folder.
struct Archive {
    QString path;
    QDateTime written; // its last write
    bool isNull() const { return path.isEmpty(); }
    // "„bdkolm_20310709.rar”, din 09.07.2031 10:15"
    QString shown() const;
};

// The newest archive of the database (bdkolm*.rar, by last write) in `folder`; a null one when
// there is none.
Archive newestArchive(const QString &folder);

// The free name beside `databasePath` that the file standing there is kept under at `moment`:
// "bdkolm_inlocuit_20310709_101500.gdb", then with "_2", "_3" ... when that is taken.
QString keptName(const QString &databasePath, const QDateTime &moment);

// Puts the database held by `archive` in the place of `databasePath` and returns the name the
// file found there (a file or a folder, with its delta file) is now kept under; empty when
// there was none. Raises EE, with the place as it stood, when the archive cannot be read or
// holds no database.
QString restore(const QString &databasePath, const Archive &archive, const QDateTime &moment = Clock::now());

// The first step of the connection: runs `open`. When it fails because the database file
// `databasePath` (empty for a server's database) is lost or damaged and an archive can take its
// place, the user is asked whether to restore it now; with Yes it is restored and `open` runs
// again. Otherwise the failure is raised as EE: what is wrong with the file and what the user
// can do ("Restabilire din arhivă" in the menu "Tirvola", with the archive's name and date).
void openOrOfferRestore(const QString &databasePath, const std::function<void()> &open);
// What the user can do about `error`, which concerns `databasePath`; empty when the message of
// the error says it already.
QString advice(const DatabaseFileError &error, const QString &databasePath);

// The menu entry: asks, restores the database of `where` from the newest archive, and says
// where the earlier file is kept. For a server's database it only says that the server's
// backups apply.
void restoreFromMenu(const DatabaseLocation &where, const QDateTime &moment = Clock::now());

} // namespace DatabaseRestore
