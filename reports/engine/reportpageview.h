#pragma once
// One page of a laid-out report drawn on screen at a chosen zoom, as a sheet of paper on a grey
// desk; the preview window puts it in a scroll area.

#include "reports/engine/reportdocument.h"

#include <QImage>
#include <QWidget>

class ReportPageView : public QWidget
{
    Q_OBJECT
public:
    explicit ReportPageView(QWidget *parent = nullptr);

    void setDocument(const ReportDocument *document);
    void setPage(int index);
    int page() const { return m_page; }
    // 1.0 shows the paper at its real size on the screen.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The zoom at which the page's width or whole page fits into `area` pixels.
    double fitWidthZoom(const QSize &area) const;
    double fitPageZoom(const QSize &area) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double pixelsPerMm() const;
    QSize pagePixels() const;

    const ReportDocument *m_document = nullptr;
    int m_page = 0;
    double m_zoom = 1.0;
    QImage m_cache;
    int m_cachePage = -1;
    double m_cacheZoom = 0;
};
