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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DBGridEh *m_grid;
};
