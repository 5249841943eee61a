#pragma once
// The footer row under a data grid's cells: per column a fixed text or the sum of a field,
// aligned with the columns above it as they scroll and resize.

#include <QWidget>

class DBGridEh;

class DBGridFooter : public QWidget
{
    Q_OBJECT
public:
    explicit DBGridFooter(DBGridEh *grid);

    DBGridEh *grid() const { return m_grid; }

    // The columns that show something in the footer, as they stand from left to right.
    QList<int> columns() const;
    // Where the column's footer cell is, in this widget.
    QRect cellRect(int column) const;
    // The fixed text that heads the footer ("Total"), said before each sum.
    QString label() const;

    // Repaints the footer after its texts may have changed, and tells a screen reader of the
    // cells whose text did.
    void refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DBGridEh *m_grid;
};
