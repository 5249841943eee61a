#include "grid/dbgridaccessibility.h"
#include "grid/dbgridaccessible.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridfooter.h"
#include "grid/dbgridfooteraccessible.h"

#include <QAccessible>

namespace {

QAccessibleInterface *gridInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("DBGridEh"))
        if (auto *grid = qobject_cast<DBGridEh *>(object))
            return new DBGridAccessible(grid);
    if (className == QLatin1String("DBGridFooter"))
        if (auto *footer = qobject_cast<DBGridFooter *>(object))
            return new DBGridFooterAccessible(footer);
    return nullptr;
}

} // namespace

void DBGridAccessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
