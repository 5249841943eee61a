#include "grid/dbgridfootercellaccessible.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridfooter.h"

#include <QWindow>

DBGridFooterCellAccessible::DBGridFooterCellAccessible(DBGridFooter *footer, int column)
    : m_footer(footer), m_column(column), m_told(text(QAccessible::Value))
{}

bool DBGridFooterCellAccessible::takeChange()
{
    const QString shown = text(QAccessible::Value);
    if (shown == m_told)
        return false;
    m_told = shown;
    return true;
}

bool DBGridFooterCellAccessible::isValid() const
{
    return m_footer && m_footer->columns().contains(m_column);
}

bool DBGridFooterCellAccessible::isSum() const
{
    return isValid() && m_footer->grid()->column(m_column)->footerKind() == DBGridColumn::FooterKind::Sum;
}

void *DBGridFooterCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface && isSum())
        return static_cast<QAccessibleValueInterface *>(this);
    return nullptr;
}

QVariant DBGridFooterCellAccessible::currentValue() const
{
    if (!isSum() || text(QAccessible::Value).isEmpty())
        return {};
    const DBGridEh *grid = m_footer->grid();
    return grid->columnSum(grid->column(m_column)->footerSumField());
}

QWindow *DBGridFooterCellAccessible::window() const
{
    return m_footer ? m_footer->window()->windowHandle() : nullptr;
}

QAccessibleInterface *DBGridFooterCellAccessible::parent() const
{
    return m_footer ? QAccessible::queryAccessibleInterface(m_footer.data()) : nullptr;
}

QString DBGridFooterCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const DBGridEh *grid = m_footer->grid();
    const QString shown = grid->footerText(m_column);
    switch (t) {
    case QAccessible::Name: {
        if (!isSum())
            return shown;
        const QString label = m_footer->label();
        return shown.isEmpty() ? label : label + QStringLiteral(": ") + shown;
    }
    case QAccessible::Description:
        return grid->model() ? grid->model()->headerData(m_column, Qt::Horizontal).toString()
                             : grid->column(m_column)->title();
    case QAccessible::Value:
        return shown;
    default:
        return {};
    }
}

QRect DBGridFooterCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect cell = m_footer->cellRect(m_column).intersected(m_footer->rect());
    return cell.translated(m_footer->mapToGlobal(QPoint(0, 0)));
}

QAccessible::State DBGridFooterCellAccessible::state() const
{
    QAccessible::State s;
    s.invisible = !isValid() || !m_footer->isVisible() || rect().isEmpty();
    return s;
}
