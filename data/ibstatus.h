#pragma once
// Turns a Firebird status vector into the server's own message text and raises it. A failure
// that concerns the database file itself is raised as a DatabaseFileError, one of the network
// as a ConnectionError, and on a server database one that another user's transaction caused as
// a ConcurrencyError, each in Romanian.

#include <ibase.h>
#include <QString>

#include <exception>

class IbDatabase;

namespace IbStatus {

// Where the failure happened, for the messages that name it.
struct Context {
    const IbDatabase *database = nullptr; // null: a database file, no server
    QString statement;                    // the statement that failed, when one did
    bool attaching = false;               // opening the connection
};

QString text(const ISC_STATUS *status);
bool failed(const ISC_STATUS *status);
// The exception the failure in `status` is raised as.
std::exception_ptr error(const ISC_STATUS *status, const Context &context = {});
// Raises the failure when the status vector holds one.
void check(const ISC_STATUS *status, const Context &context = {});

} // namespace IbStatus
