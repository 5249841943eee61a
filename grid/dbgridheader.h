#pragma once
// Column titles on two levels: an upper title spanning the neighbouring columns that share it,
// with their own titles beneath; columns without an upper title use the full height. Long
// titles wrap inside their column.

#include <QHeaderView>

class DBGridHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit DBGridHeader(QWidget *parent = nullptr);

    QSize sizeHint() const override;

    QString titleOf(int logical) const;
    QString groupTitleOf(int logical) const;
    // Height of the upper level, 0 when no column has an upper title.
    int upperHeight() const;
    // In the header's viewport: the band of the upper title over this column and its
    // neighbours (empty when the column has none), and the place of the column's own title.
    QRect groupRect(int logical) const;
    QRect titleRect(int logical) const;
    // First and last logical columns sharing the column's upper title.
    std::pair<int, int> groupSpan(int logical) const;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    int textHeight(const QString &text, int width) const;
    void drawCell(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text) const;
    int fullHeight() const;
};
