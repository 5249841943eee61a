#include "grid/dbgridaccessible.h"
#include "grid/dbgridcellaccessible.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridfooter.h"

#include <QHeaderView>
#include <QItemSelectionModel>

DBGridAccessible::DBGridAccessible(DBGridEh *grid) : QAccessibleWidget(grid, QAccessible::Table)
{}

DBGridAccessible::~DBGridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_places))
        QAccessible::deleteAccessibleInterface(id);
}

DBGridEh *DBGridAccessible::grid() const
{
    return static_cast<DBGridEh *>(widget());
}

void *DBGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int DBGridAccessible::columnCount() const
{
    return grid()->model() ? grid()->model()->columnCount() : 0;
}

int DBGridAccessible::rowCount() const
{
    return grid()->model() ? grid()->model()->rowCount() : 0;
}

// Qt's numbering: a first row of titles and a first column of row titles (kept although the
// grid hides them), row by row.
int DBGridAccessible::cellChildren() const
{
    return grid()->model() ? (rowCount() + 1) * (columnCount() + 1) : 0;
}

int DBGridAccessible::indexOf(int row, int column) const
{
    return (row + 1) * (columnCount() + 1) + column + 1;
}

int DBGridAccessible::childCount() const
{
    return cellChildren() + (grid()->isFooterVisible() ? 1 : 0);
}

QAccessibleInterface *DBGridAccessible::place(int row, int column) const
{
    if (row < -1 || column < -1 || row >= rowCount() || column >= columnCount())
        return nullptr;
    const QPair<int, int> key(row, column);
    if (const auto known = m_places.constFind(key); known != m_places.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto *cell = new DBGridCellAccessible(grid(), row, column);
    m_places.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *DBGridAccessible::child(int index) const
{
    const int cells = cellChildren();
    if (index >= 0 && index < cells) {
        const int width = columnCount() + 1;
        return place(index / width - 1, index % width - 1);
    }
    if (index == cells && grid()->isFooterVisible())
        return QAccessible::queryAccessibleInterface(grid()->footer());
    return nullptr;
}

int DBGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (child->object() && child->object() == grid()->footer())
        return grid()->isFooterVisible() ? cellChildren() : -1;
    const auto *cell = dynamic_cast<const DBGridCellAccessible *>(child);
    if (!cell || cell->grid() != grid() || !cell->isValid())
        return -1;
    return indexOf(cell->row(), cell->column());
}

QAccessibleInterface *DBGridAccessible::childAt(int x, int y) const
{
    const QPoint global(x, y);
    DBGridFooter *footer = grid()->footer();
    if (grid()->isFooterVisible() && footer->rect().contains(footer->mapFromGlobal(global)))
        return QAccessible::queryAccessibleInterface(footer);
    const QHeaderView *header = grid()->horizontalHeader();
    if (header->isVisible() && header->rect().contains(header->mapFromGlobal(global))) {
        const int column = header->logicalIndexAt(header->viewport()->mapFromGlobal(global));
        return column >= 0 ? place(-1, column) : nullptr;
    }
    const QModelIndex index = grid()->indexAt(grid()->viewport()->mapFromGlobal(global));
    return index.isValid() ? place(index.row(), index.column()) : nullptr;
}

QAccessibleInterface *DBGridAccessible::focusChild() const
{
    const QModelIndex current = grid()->currentIndex();
    return current.isValid() ? place(current.row(), current.column()) : nullptr;
}

QAccessibleInterface *DBGridAccessible::cellAt(int row, int column) const
{
    return row >= 0 && column >= 0 ? place(row, column) : nullptr;
}

QString DBGridAccessible::columnDescription(int column) const
{
    return grid()->model() ? grid()->model()->headerData(column, Qt::Horizontal).toString() : QString();
}

QString DBGridAccessible::rowDescription(int row) const
{
    return grid()->model() ? grid()->model()->headerData(row, Qt::Vertical).toString() : QString();
}

int DBGridAccessible::selectedCellCount() const
{
    return grid()->selectionModel() ? int(grid()->selectionModel()->selectedIndexes().size()) : 0;
}

int DBGridAccessible::selectedColumnCount() const
{
    return int(selectedColumns().size());
}

int DBGridAccessible::selectedRowCount() const
{
    return int(selectedRows().size());
}

QList<QAccessibleInterface *> DBGridAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    if (const QItemSelectionModel *selection = grid()->selectionModel())
        for (const QModelIndex &index : selection->selectedIndexes())
            if (QAccessibleInterface *cell = place(index.row(), index.column()))
                cells << cell;
    return cells;
}

QList<int> DBGridAccessible::selectedColumns() const
{
    QList<int> columns;
    if (const QItemSelectionModel *selection = grid()->selectionModel())
        for (const QModelIndex &index : selection->selectedColumns())
            columns << index.column();
    return columns;
}

QList<int> DBGridAccessible::selectedRows() const
{
    QList<int> rows;
    if (const QItemSelectionModel *selection = grid()->selectionModel())
        for (const QModelIndex &index : selection->selectedRows())
            rows << index.row();
    return rows;
}

bool DBGridAccessible::isColumnSelected(int column) const
{
    return grid()->selectionModel() && grid()->selectionModel()->isColumnSelected(column, QModelIndex());
}

bool DBGridAccessible::isRowSelected(int row) const
{
    return grid()->selectionModel() && grid()->selectionModel()->isRowSelected(row, QModelIndex());
}
