#pragma once
// Turns a Firebird status vector into the server's own message text and raises it; a failure
// that concerns the database file itself is raised as a DatabaseFileError in Romanian.

#include <ibase.h>
#include <QString>

namespace IbStatus {
QString text(const ISC_STATUS *status);
// Raises DbError when the status vector holds an error.
void check(const ISC_STATUS *status);
bool failed(const ISC_STATUS *status);
}
