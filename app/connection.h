#pragma once
// Connecting to the database: opens the file, prepares every record set, reads the server
// date, makes the daily archive and brings an older database file up to the current schema.

#include "data/databaselocation.h"
#include "platform/clock.h"

#include <QDate>
#include <QString>
#include <functional>

namespace Connection {

// The database file of the data folder.
QString databasePath();

// Makes the data folder ready before the first connection: a data folder of the user's own
// receives a copy of the database delivered in the program folder when it has none yet.
// Returns the problem in the user's words, empty when there is none.
QString prepareDataFolder();

// What the connection opens: the server database named in evidenta.ini of the data folder,
// else the database file. Raises EE when evidenta.ini cannot be read or names nothing usable.
DatabaseLocation databaseLocation();
// True when evidenta.ini names a database on a server, which several running copies of the
// program may share. False without it, and when it cannot be used (connecting then says why).
bool isServerDatabase();
// What the connection dialog shows as the database: the file, or "host/port:path" on a
// server; the reason when evidenta.ini cannot be used.
QString databaseShown();

struct Hooks {
    std::function<void()> menuConnected;             // step 8: enable the menu
    std::function<void(const QString &)> versionText; // step 13: "    v" + date, for the title
};

// The whole sequence. A failure to open the database raises the server's error before
// anything else changed; a later failure leaves the program connected. After the connection to
// the server was lost it only connects again (reconnect), keeping what the windows show.
void connect(const QString &user, const QString &password, const Hooks &hooks,
             const QDate &today = Clock::today());

// The connection of a command that only reads: the database opened, the classifiers loaded, the
// record sets and their rules prepared, the server date read; no daily archive and no schema
// correction, so that nothing is written.
void connectToRead(const QString &user, const QString &password);

// The connection to a server that was lost, made again with the account: the record sets,
// their pending edits and the classifiers stay as they are. False (nothing done) when no
// connection was lost.
bool reconnect(const QString &user, const QString &password, const Hooks &hooks = {});

// The schema corrections of an older database file (each runs only once).
void upgradeSchema();

// The end of the run: the pending edits of the monthly rows, declarations and persons are
// cancelled, so that nothing half-edited is posted; the queries and the connection close.
void close();

} // namespace Connection
