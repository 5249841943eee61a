#include "data/ibstatus.h"
#include "data/concurrencyerror.h"
#include "data/connectionerror.h"
#include "data/databasefileerror.h"
#include "data/ibdatabase.h"
#include "data/win1250.h"

#include <QStringList>

namespace IbStatus {

QString text(const ISC_STATUS *status)
{
    QStringList lines;
    const ISC_STATUS *p = status;
    char buf[1024];
    while (fb_interpret(buf, sizeof buf, &p) > 0)
        lines << Win1250::decode(buf, int(strlen(buf)));
    return lines.join(u'\n');
}

bool failed(const ISC_STATUS *status)
{
    return status[0] == 1 && status[1] != 0;
}

std::exception_ptr error(const ISC_STATUS *status, const Context &context)
{
    const QString engineText = text(status);
    const int sqlCode = int(isc_sqlcode(status));
    // A file the engine cannot use is told in the user's words; any other failure in the engine's.
    if (std::optional<DatabaseFileError> file = DatabaseFileError::recognise(status, engineText, sqlCode))
        return std::make_exception_ptr(*file);
    const IbDatabase *db = context.database;
    const QString server = db ? db->server() : QString();
    if (!server.isEmpty()) {
        // Only a server database has other users, and a network between it and the program.
        if (std::optional<ConnectionError> net = ConnectionError::recognise(
                status, engineText, sqlCode, context.attaching, server, db->connectTimeout()))
            return std::make_exception_ptr(*net);
        if (std::optional<ConcurrencyError> other = ConcurrencyError::recognise(
                status, engineText, sqlCode, context.statement, db->lockTimeout()))
            return std::make_exception_ptr(*other);
    }
    return std::make_exception_ptr(DbError(engineText, sqlCode, long(status[1])));
}

void check(const ISC_STATUS *status, const Context &context)
{
    if (failed(status))
        std::rethrow_exception(error(status, context));
}

} // namespace IbStatus

#include "data/ibhandle.h"
#include <type_traits>
static_assert(std::is_same_v<IbHandle, FB_API_HANDLE>, "IbHandle must be the client library's handle type");
