#pragma once
// One place of the data grid for a screen reader: a cell, read as the grid shows it, or a
// column title (row -1), or one of the row titles the grid keeps hidden (column -1).

#include <QAccessible>
#include <QPointer>

class DBGridEh;

class DBGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    DBGridCellAccessible(DBGridEh *grid, int row, int column);

    DBGridEh *grid() const { return m_grid; }
    int row() const { return m_row; }
    int column() const { return m_column; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    // Cells are edited through the grid, which posts the row through its record set.
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    bool isCell() const { return m_row >= 0 && m_column >= 0; }
    QModelIndex index() const;

    QPointer<DBGridEh> m_grid;
    int m_row;
    int m_column;
};
