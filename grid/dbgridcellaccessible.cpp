#include "grid/dbgridcellaccessible.h"
#include "grid/dbgridaccessible.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QWindow>

DBGridCellAccessible::DBGridCellAccessible(DBGridEh *grid, int row, int column)
    : m_grid(grid), m_row(row), m_column(column)
{}

QModelIndex DBGridCellAccessible::index() const
{
    return m_grid && m_grid->model() && isCell() ? m_grid->model()->index(m_row, m_column) : QModelIndex();
}

bool DBGridCellAccessible::isValid() const
{
    if (!m_grid || !m_grid->model())
        return false;
    const QAbstractItemModel *model = m_grid->model();
    return m_row < model->rowCount() && m_column < model->columnCount();
}

QWindow *DBGridCellAccessible::window() const
{
    return m_grid ? m_grid->window()->windowHandle() : nullptr;
}

QAccessibleInterface *DBGridCellAccessible::parent() const
{
    return m_grid ? QAccessible::queryAccessibleInterface(m_grid.data()) : nullptr;
}

QAccessibleInterface *DBGridCellAccessible::table() const
{
    return parent();
}

QString DBGridCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const QAbstractItemModel *model = m_grid->model();
    if (m_row < 0 && m_column >= 0) {
        // A column title; the upper title it stands under describes it.
        if (t == QAccessible::Name)
            return model->headerData(m_column, Qt::Horizontal).toString();
        if (t == QAccessible::Description)
            return model->headerData(m_column, Qt::Horizontal, DBGridModel::GroupTitleRole).toString();
        return {};
    }
    if (m_column < 0)
        return t == QAccessible::Name && m_row >= 0 ? model->headerData(m_row, Qt::Vertical).toString() : QString();
    const QModelIndex i = index();
    if (t == QAccessible::Name) {
        const QString spoken = model->data(i, Qt::AccessibleTextRole).toString();
        return spoken.isEmpty() ? model->data(i, Qt::DisplayRole).toString() : spoken;
    }
    if (t == QAccessible::Description)
        return model->data(i, Qt::AccessibleDescriptionRole).toString();
    return {};
}

QRect DBGridCellAccessible::rect() const
{
    if (!isValid() || m_column < 0)
        return {};
    if (m_row < 0) {
        const QHeaderView *header = m_grid->horizontalHeader();
        const QRect title(header->sectionViewportPosition(m_column), 0, header->sectionSize(m_column),
                          header->height());
        return title.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    const QRect cell = m_grid->visualRect(index());
    return cell.isNull() ? cell : cell.translated(m_grid->viewport()->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role DBGridCellAccessible::role() const
{
    if (m_row < 0 && m_column < 0)
        return QAccessible::Pane;
    if (m_row < 0)
        return QAccessible::ColumnHeader;
    if (m_column < 0)
        return QAccessible::RowHeader;
    return QAccessible::Cell;
}

QAccessible::State DBGridCellAccessible::state() const
{
    QAccessible::State s;
    if (!isValid())
        return s;
    if (!isCell()) {
        const QHeaderView *header = m_row < 0 && m_column >= 0 ? m_grid->horizontalHeader() : m_grid->verticalHeader();
        s.invisible = !header->isVisible();
        s.disabled = !header->isEnabled();
        return s;
    }
    const QModelIndex i = index();
    const QRect shown(m_grid->mapToGlobal(QPoint(0, 0)), m_grid->size());
    s.invisible = !m_grid->isVisible() || !shown.intersects(rect());
    const QItemSelectionModel *selection = m_grid->selectionModel();
    s.selected = selection && selection->isSelected(i);
    s.focused = selection && selection->currentIndex() == i;
    const Qt::ItemFlags flags = i.flags();
    s.selectable = s.focusable = bool(flags & Qt::ItemIsSelectable);
    s.editable = bool(flags & Qt::ItemIsEditable);
    return s;
}

void *DBGridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface && isCell())
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

bool DBGridCellAccessible::isSelected() const
{
    return isValid() && m_grid->selectionModel() && m_grid->selectionModel()->isSelected(index());
}

QList<QAccessibleInterface *> DBGridCellAccessible::columnHeaderCells() const
{
    auto *grid = m_grid ? dynamic_cast<DBGridAccessible *>(parent()) : nullptr;
    QAccessibleInterface *title = grid ? grid->place(-1, m_column) : nullptr;
    return title ? QList<QAccessibleInterface *>{title} : QList<QAccessibleInterface *>{};
}
