#include "data/ibstatus.h"
#include "data/databasefileerror.h"
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

void check(const ISC_STATUS *status)
{
    if (!failed(status))
        return;
    const QString engineText = text(status);
    const int sqlCode = int(isc_sqlcode(status));
    // A file the engine cannot use is told in the user's words; any other failure in the engine's.
    if (std::optional<DatabaseFileError> file = DatabaseFileError::recognise(status, engineText, sqlCode))
        throw *file;
    throw DbError(engineText, sqlCode);
}

} // namespace IbStatus

#include "data/ibhandle.h"
#include <type_traits>
static_assert(std::is_same_v<IbHandle, FB_API_HANDLE>, "IbHandle must be the client library's handle type");
