#include "grid/dbgridfooter.h"
#include "grid/dbgridfooteraccessible.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"

#include <QAccessible>
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

QList<int> DBGridFooter::columns() const
{
    QList<int> shown;
    const QHeaderView *header = m_grid->horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        const DBGridColumn *c = m_grid->column(logical);
        if (c && !header->isSectionHidden(logical) && c->footerKind() != DBGridColumn::FooterKind::None)
            shown << logical;
    }
    return shown;
}

QRect DBGridFooter::cellRect(int column) const
{
    const QHeaderView *header = m_grid->horizontalHeader();
    return QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column), height());
}

QString DBGridFooter::label() const
{
    for (const int column : columns())
        if (m_grid->column(column)->footerKind() == DBGridColumn::FooterKind::Text)
            return m_grid->footerText(column);
    return QStringLiteral("Total");
}

void DBGridFooter::refresh()
{
    update();
    if (!QAccessible::isActive())
        return; // no screen reader listens
    auto *footer = dynamic_cast<DBGridFooterAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (!footer)
        return;
    for (QAccessibleInterface *cell : footer->takeChangedCells()) {
        QAccessibleEvent name(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        if (QAccessibleValueInterface *sum = cell->valueInterface()) {
            QAccessibleValueChangeEvent value(cell, sum->currentValue());
            QAccessible::updateAccessibility(&value);
        }
    }
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
        const QRect cell = cellRect(logical);
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
