#include "grid/dbgridfooteraccessible.h"
#include "grid/dbgridfooter.h"
#include "grid/dbgridfootercellaccessible.h"

DBGridFooterAccessible::DBGridFooterAccessible(DBGridFooter *footer) : QAccessibleWidget(footer, QAccessible::Footer)
{}

DBGridFooterAccessible::~DBGridFooterAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

DBGridFooter *DBGridFooterAccessible::footer() const
{
    return static_cast<DBGridFooter *>(widget());
}

QString DBGridFooterAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && footer()->accessibleName().isEmpty())
        return footer()->label();
    return QAccessibleWidget::text(t);
}

int DBGridFooterAccessible::childCount() const
{
    return int(footer()->columns().size());
}

QAccessibleInterface *DBGridFooterAccessible::child(int index) const
{
    const QList<int> columns = footer()->columns();
    if (index < 0 || index >= columns.size())
        return nullptr;
    const int column = columns.at(index);
    if (const auto known = m_cells.constFind(column); known != m_cells.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto *cell = new DBGridFooterCellAccessible(footer(), column);
    m_cells.insert(column, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int DBGridFooterAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const DBGridFooterCellAccessible *>(child);
    if (!cell || cell->footer() != footer())
        return -1;
    return int(footer()->columns().indexOf(cell->column()));
}

QAccessibleInterface *DBGridFooterAccessible::childAt(int x, int y) const
{
    const QPoint at = footer()->mapFromGlobal(QPoint(x, y));
    const QList<int> columns = footer()->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (footer()->cellRect(columns.at(i)).contains(at))
            return child(i);
    return nullptr;
}

QList<QAccessibleInterface *> DBGridFooterAccessible::takeChangedCells()
{
    QList<QAccessibleInterface *> changed;
    for (const int column : footer()->columns()) {
        const auto known = m_cells.constFind(column);
        if (known == m_cells.constEnd())
            continue; // never seen, nothing to correct
        auto *cell = static_cast<DBGridFooterCellAccessible *>(QAccessible::accessibleInterface(*known));
        if (cell && cell->takeChange())
            changed << cell;
    }
    return changed;
}
