#include "data/ibstatus.h"
#include "data/dberror.h"
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
    if (failed(status))
        throw DbError(text(status), int(isc_sqlcode(status)));
}

} // namespace IbStatus

#include "data/ibhandle.h"
#include <type_traits>
static_assert(std::is_same_v<IbHandle, FB_API_HANDLE>, "IbHandle must be the client library's handle type");
