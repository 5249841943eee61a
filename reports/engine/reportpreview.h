#pragma once
// The window in which the user reads a report before printing it: page by page, at a chosen
// zoom, with printing on a chosen printer and saving as PDF.

#include "reports/engine/reportdocument.h"

#include <QDialog>

class QAction;
class QLabel;
class QScrollArea;
class QToolButton;
class ReportPageView;

class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    explicit ReportPreview(ReportDocument document, QWidget *parent = nullptr);

    const ReportDocument &document() const { return m_document; }
    int currentPage() const { return m_page; }
    int pageCount() const { return m_document.pageCount(); }
    double zoom() const;

public slots:
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    // 0-based; clamped to the document's pages.
    void setPage(int index);
    // The page's width or the whole page fills the window, and keeps filling it as the window
    // is resized.
    void fitWidth();
    void fitPage();
    // A fixed scale: 1.0 is the paper's real size on the screen.
    void setZoom(double zoom);
    void actualSize();
    void zoomIn();
    void zoomOut();
    void printDocument();
    void savePdf();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class ZoomMode { FitWidth, FitPage, Fixed };

    void buildZoomMenu();
    void fitToViewport();
    void applyZoom(double zoom);
    void refresh();

    ReportDocument m_document;
    int m_page = 0;
    ZoomMode m_zoomMode = ZoomMode::FitWidth;
    ReportPageView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageLabel = nullptr;
    QToolButton *m_zoomButton = nullptr;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
};
