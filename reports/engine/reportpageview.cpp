#include "reports/engine/reportpageview.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr int kDesk = 12; // grey border around the sheet, pixels
}

ReportPageView::ReportPageView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPageView::setDocument(const ReportDocument *document)
{
    m_document = document;
    m_page = 0;
    m_cachePage = -1;
    resize(sizeHint());
    update();
}

void ReportPageView::setPage(int index)
{
    m_page = index;
    update();
}

void ReportPageView::setZoom(double zoom)
{
    m_zoom = qBound(0.1, zoom, 8.0);
    resize(sizeHint());
    updateGeometry();
    update();
}

double ReportPageView::pixelsPerMm() const
{
    return logicalDpiX() / 25.4 * m_zoom;
}

QSize ReportPageView::pagePixels() const
{
    const QSizeF mm = m_document ? m_document->pageSize() : QSizeF(210, 297);
    return QSize(qRound(mm.width() * pixelsPerMm()), qRound(mm.height() * pixelsPerMm()));
}

double ReportPageView::fitWidthZoom(const QSize &area) const
{
    const QSizeF mm = m_document ? m_document->pageSize() : QSizeF(210, 297);
    return (area.width() - 2 * kDesk) / (mm.width() * logicalDpiX() / 25.4);
}

double ReportPageView::fitPageZoom(const QSize &area) const
{
    const QSizeF mm = m_document ? m_document->pageSize() : QSizeF(210, 297);
    const double perMm = logicalDpiX() / 25.4;
    return qMin((area.width() - 2 * kDesk) / (mm.width() * perMm), (area.height() - 2 * kDesk) / (mm.height() * perMm));
}

QSize ReportPageView::sizeHint() const
{
    return pagePixels() + QSize(2 * kDesk, 2 * kDesk);
}

void ReportPageView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    if (!m_document || m_page < 0 || m_page >= m_document->pageCount())
        return;
    const double ratio = devicePixelRatioF();
    if (m_cachePage != m_page || m_cacheZoom != m_zoom) {
        m_cache = m_document->renderPage(m_page, logicalDpiX() * m_zoom * ratio);
        m_cache.setDevicePixelRatio(ratio);
        m_cachePage = m_page;
        m_cacheZoom = m_zoom;
    }
    const QSize size = pagePixels();
    const int x = qMax(kDesk, (width() - size.width()) / 2);
    p.fillRect(QRect(x + 3, kDesk + 3, size.width(), size.height()), QColor(60, 60, 60));
    p.drawImage(QRect(QPoint(x, kDesk), size), m_cache);
}
