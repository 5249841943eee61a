#include "grid/dbgridfooter.h"
#include "grid/dbgrideh.h"

#include <QHeaderView>
#include <QPainter>

DBGridFooter::DBGridFooter(DBGridEh *grid) : QWidget(grid), m_grid(grid)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
}

QSize DBGridFooter::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 8);
}

void DBGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const QColor line = palette().color(QPalette::Mid);
    const QHeaderView *header = m_grid->horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (header->isSectionHidden(logical))
            continue;
        const QRect cell(header->sectionViewportPosition(logical), 0, header->sectionSize(logical), height());
        if (cell.right() < 0 || cell.left() > width())
            continue;
        p.setPen(line);
        p.drawLine(cell.topRight(), cell.bottomRight());
        const QString text = m_grid->footerText(logical);
        if (text.isEmpty())
            continue;
        p.setPen(palette().color(QPalette::ButtonText));
        const QRect inner = cell.adjusted(4, 0, -4, 0);
        p.drawText(inner, int(m_grid->footerAlignment(logical) | Qt::AlignVCenter),
                   p.fontMetrics().elidedText(text, Qt::ElideRight, inner.width()));
    }
    p.setPen(line);
    p.drawLine(0, 0, width(), 0);
}
