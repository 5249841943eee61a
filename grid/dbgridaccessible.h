#pragma once
// The data grid as a screen reader walks it: a table of column titles and cells, numbered as
// Qt's item views number them in the events they send, and after them the footer row with
// its totals.

#include <QAccessibleWidget>
#include <QHash>
#include <QPair>

class DBGridEh;

class DBGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit DBGridAccessible(DBGridEh *grid);
    ~DBGridAccessible() override;

    DBGridEh *grid() const;

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QAccessibleInterface *cellAt(int row, int column) const override;
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    // The grid selects one cell, the record set's current one: never whole rows or columns.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells stand for places in the grid, whatever rows the record set holds now.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // The child at a place: row -1 holds the column titles, column -1 the (hidden) row titles.
    int indexOf(int row, int column) const;
    QAccessibleInterface *place(int row, int column) const;

private:
    int cellChildren() const;

    mutable QHash<QPair<int, int>, QAccessible::Id> m_places;
};
