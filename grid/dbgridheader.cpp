#include "grid/dbgridheader.h"
#include "grid/dbgridmodel.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>

namespace {
constexpr int kPadX = 3;
constexpr int kPadY = 3;
}

DBGridHeader::DBGridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(12);
    connect(this, &QHeaderView::sectionResized, this, [this] {
        updateGeometry();
        emit geometriesChanged();
        viewport()->update();
    });
}

QString DBGridHeader::titleOf(int logical) const
{
    return model() ? model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
}

QString DBGridHeader::groupTitleOf(int logical) const
{
    return model() ? model()->headerData(logical, Qt::Horizontal, DBGridModel::GroupTitleRole).toString() : QString();
}

int DBGridHeader::textHeight(const QString &text, int width) const
{
    const QRect r = fontMetrics().boundingRect(QRect(0, 0, qMax(1, width - 2 * kPadX), 100000),
                                               Qt::AlignCenter | Qt::TextWordWrap, text.isEmpty() ? QStringLiteral("X") : text);
    return r.height() + 2 * kPadY;
}

std::pair<int, int> DBGridHeader::groupSpan(int logical) const
{
    const QString group = groupTitleOf(logical);
    if (group.isEmpty() || isSectionHidden(logical))
        return {logical, logical};
    const int v = visualIndex(logical);
    int first = v, last = v;
    for (int i = v - 1; i >= 0; --i) {
        const int l = logicalIndex(i);
        if (isSectionHidden(l))
            continue;
        if (groupTitleOf(l) != group)
            break;
        first = i;
    }
    for (int i = v + 1; i < count(); ++i) {
        const int l = logicalIndex(i);
        if (isSectionHidden(l))
            continue;
        if (groupTitleOf(l) != group)
            break;
        last = i;
    }
    return {logicalIndex(first), logicalIndex(last)};
}

int DBGridHeader::upperHeight() const
{
    int h = 0;
    for (int v = 0; v < count(); ++v) {
        const int l = logicalIndex(v);
        if (isSectionHidden(l))
            continue;
        const QString group = groupTitleOf(l);
        if (group.isEmpty())
            continue;
        const auto [first, last] = groupSpan(l);
        if (first != l)
            continue; // measured once, from the first column of the band
        const int width = sectionPosition(last) + sectionSize(last) - sectionPosition(first);
        h = qMax(h, textHeight(group, width));
    }
    return h;
}

int DBGridHeader::fullHeight() const
{
    const int upper = upperHeight();
    int lower = 0, whole = 0;
    for (int l = 0; l < count(); ++l) {
        if (isSectionHidden(l))
            continue;
        const int h = textHeight(titleOf(l), sectionSize(l));
        if (upper > 0 && !groupTitleOf(l).isEmpty())
            lower = qMax(lower, h);
        else
            whole = qMax(whole, h);
    }
    return std::max({upper + lower, whole, fontMetrics().height() + 2 * kPadY});
}

QSize DBGridHeader::sizeHint() const
{
    return QSize(length(), fullHeight());
}

QRect DBGridHeader::groupRect(int logical) const
{
    if (groupTitleOf(logical).isEmpty() || isSectionHidden(logical))
        return {};
    const auto [first, last] = groupSpan(logical);
    const int x = sectionViewportPosition(first);
    const int right = sectionViewportPosition(last) + sectionSize(last);
    return QRect(x, 0, right - x, upperHeight());
}

QRect DBGridHeader::titleRect(int logical) const
{
    if (isSectionHidden(logical))
        return {};
    const int top = groupTitleOf(logical).isEmpty() ? 0 : upperHeight();
    return QRect(sectionViewportPosition(logical), top, sectionSize(logical), height() - top);
}

void DBGridHeader::drawCell(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text) const
{
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    opt.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(rect.adjusted(kPadX, kPadY, -kPadX, -kPadY), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void DBGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString title = titleOf(logicalIndex);
    const QString group = groupTitleOf(logicalIndex);
    const int upper = group.isEmpty() ? 0 : upperHeight();
    if (upper <= 0) {
        drawCell(painter, rect, logicalIndex, title);
        return;
    }
    // The band is drawn whole and clipped to this column, so that its title reads as one
    // across the columns that share it.
    const QRect band = groupRect(logicalIndex);
    painter->save();
    painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), upper), Qt::IntersectClip);
    drawCell(painter, QRect(band.left(), rect.top(), band.width(), upper), logicalIndex, group);
    painter->restore();
    drawCell(painter, QRect(rect.left(), rect.top() + upper, rect.width(), rect.height() - upper), logicalIndex, title);
}
