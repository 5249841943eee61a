#pragma once
// The footer row of a data grid for a screen reader: a footer named by its fixed text
// ("Total"), holding one cell for each column that shows a text or a sum.

#include <QAccessibleWidget>
#include <QHash>

class DBGridFooter;

class DBGridFooterAccessible : public QAccessibleWidget
{
public:
    explicit DBGridFooterAccessible(DBGridFooter *footer);
    ~DBGridFooterAccessible() override;

    DBGridFooter *footer() const;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    // The cells a screen reader has seen whose text has changed since it was last told of
    // them; from now on it counts as told.
    QList<QAccessibleInterface *> takeChangedCells();

private:
    mutable QHash<int, QAccessible::Id> m_cells; // column -> its cell
};
