#include "reports/engine/reportdocument.h"

#include "reports/engine/reportelement.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

QSizeF ReportDocument::pageSize() const
{
    const QSizeF a4(210, 297);
    return m_orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

QPageLayout ReportDocument::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void ReportDocument::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    const QPaintDevice *device = painter.device();
    const double sx = device->logicalDpiX() / 25.4;
    const double sy = device->logicalDpiY() / 25.4;
    auto toDevice = [sx, sy](const QRectF &mm) {
        return QRectF(mm.x() * sx, mm.y() * sy, mm.width() * sx, mm.height() * sy);
    };

    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    double currentPen = -1;
    ReportFont currentFont;
    bool fontSet = false;
    auto usePen = [&](double mm) {
        if (mm != currentPen) {
            currentPen = mm;
            pen.setWidthF(mm * sx);
            painter.setPen(pen);
        }
    };

    for (const Item &item : m_pages[size_t(index)]) {
        const QRectF r = toDevice(item.rect);
        switch (item.kind) {
        case Item::Kind::Text:
            if (item.text.isEmpty())
                break;
            if (!fontSet || !(item.font == currentFont)) {
                currentFont = item.font;
                fontSet = true;
                painter.setFont(currentFont.toQFont());
            }
            usePen(currentPen < 0 ? 0.2 : currentPen);
            painter.drawText(r, item.flags, item.text);
            break;
        case Item::Kind::Frame:
            usePen(item.pen);
            if (item.sides == ReportElement::AllSides) {
                painter.drawRect(r);
                break;
            }
            if (item.sides & ReportElement::Left)
                painter.drawLine(r.topLeft(), r.bottomLeft());
            if (item.sides & ReportElement::Top)
                painter.drawLine(r.topLeft(), r.topRight());
            if (item.sides & ReportElement::Right)
                painter.drawLine(r.topRight(), r.bottomRight());
            if (item.sides & ReportElement::Bottom)
                painter.drawLine(r.bottomLeft(), r.bottomRight());
            break;
        case Item::Kind::Line:
            usePen(item.pen);
            painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        case Item::Kind::Cross: {
            usePen(item.pen);
            const QRectF c = r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
            painter.drawLine(c.topLeft(), c.bottomRight());
            painter.drawLine(c.bottomLeft(), c.topRight());
            break;
        }
        }
    }
    painter.restore();
}

QImage ReportDocument::renderPage(int index, double dpi) const
{
    const QSizeF mm = pageSize();
    QImage image(qMax(1, qRound(mm.width() * dpi / 25.4)), qMax(1, qRound(mm.height() * dpi / 25.4)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, index);
    return image;
}

QString ReportDocument::pageText(int index) const
{
    QStringList lines;
    for (const Item &item : m_pages.at(size_t(index)))
        if (item.kind == Item::Kind::Text && !item.text.isEmpty())
            lines << item.text;
    return lines.join(u'\n');
}
