#include "reports/engine/reportpreview.h"

#include "reports/engine/reportprinting.h"
#include "reports/engine/reportpageview.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(ReportDocument document, QWidget *parent)
    : QDialog(parent), m_document(std::move(document))
{
    setWindowTitle(QStringLiteral("Previzualizare"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(900, 1000);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, bar](const char *name, const QString &text, const QString &tip,
                           const QKeySequence &key, void (ReportPreview::*slot)()) {
        QAction *a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(tip);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_first = add("firstPageAction", QStringLiteral("|<"), QStringLiteral("Prima pagină"),
                  QKeySequence(Qt::CTRL | Qt::Key_Home), &ReportPreview::firstPage);
    m_previous = add("previousPageAction", QStringLiteral("<"), QStringLiteral("Pagina precedentă"),
                     QKeySequence(Qt::Key_PageUp), &ReportPreview::previousPage);
    m_next = add("nextPageAction", QStringLiteral(">"), QStringLiteral("Pagina următoare"),
                 QKeySequence(Qt::Key_PageDown), &ReportPreview::nextPage);
    m_last = add("lastPageAction", QStringLiteral(">|"), QStringLiteral("Ultima pagină"),
                 QKeySequence(Qt::CTRL | Qt::Key_End), &ReportPreview::lastPage);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    bar->addSeparator();
    add("fitWidthAction", QStringLiteral("Lăţime pagină"), QStringLiteral("Pagina pe toată lăţimea"),
        {}, &ReportPreview::fitWidth);
    add("fitPageAction", QStringLiteral("Pagina întreagă"), QStringLiteral("Toată pagina în fereastră"),
        {}, &ReportPreview::fitPage);
    add("actualSizeAction", QStringLiteral("100%"), QStringLiteral("Mărime reală"), {}, &ReportPreview::actualSize);
    add("zoomInAction", QStringLiteral("+"), QStringLiteral("Mărire"), QKeySequence::ZoomIn, &ReportPreview::zoomIn);
    add("zoomOutAction", QStringLiteral("-"), QStringLiteral("Micşorare"), QKeySequence::ZoomOut, &ReportPreview::zoomOut);
    bar->addSeparator();
    add("printAction", QStringLiteral("Tipărire"), QStringLiteral("Tipărire"), QKeySequence::Print,
        &ReportPreview::printDocument);
    add("savePdfAction", QStringLiteral("Salvare PDF"), QStringLiteral("Salvare PDF"), {}, &ReportPreview::savePdf);
    bar->addSeparator();
    QAction *close = bar->addAction(QStringLiteral("Închidere"));
    close->setObjectName(QStringLiteral("closeAction"));
    connect(close, &QAction::triggered, this, &QDialog::reject);

    m_view = new ReportPageView;
    m_view->setDocument(&m_document);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScrollArea"));
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_scroll, 1);

    refresh();
}

double ReportPreview::zoom() const
{
    return m_view->zoom();
}

void ReportPreview::firstPage() { setPage(0); }
void ReportPreview::previousPage() { setPage(m_page - 1); }
void ReportPreview::nextPage() { setPage(m_page + 1); }
void ReportPreview::lastPage() { setPage(pageCount() - 1); }

void ReportPreview::setPage(int index)
{
    m_page = qBound(0, index, qMax(0, pageCount() - 1));
    m_view->setPage(m_page);
    m_scroll->verticalScrollBar()->setValue(0);
    refresh();
}

void ReportPreview::refresh()
{
    const int count = pageCount();
    m_pageLabel->setText(QStringLiteral("Pagina %1 din %2").arg(count ? m_page + 1 : 0).arg(count));
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < count);
    m_last->setEnabled(m_page + 1 < count);
}

void ReportPreview::applyZoom(double zoom)
{
    m_view->setZoom(zoom);
}

void ReportPreview::fitWidth()
{
    m_zoomMode = ZoomMode::FitWidth;
    // Leave room for the vertical scroll bar that a long page needs.
    const QSize area = m_scroll->viewport()->size()
        - QSize(m_scroll->verticalScrollBar()->isVisible() ? 0 : m_scroll->verticalScrollBar()->sizeHint().width(), 0);
    applyZoom(m_view->fitWidthZoom(area));
}

void ReportPreview::fitPage()
{
    m_zoomMode = ZoomMode::FitPage;
    applyZoom(m_view->fitPageZoom(m_scroll->viewport()->size()));
}

void ReportPreview::actualSize()
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(1.0);
}

void ReportPreview::zoomIn()
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(m_view->zoom() * 1.25);
}

void ReportPreview::zoomOut()
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(m_view->zoom() / 1.25);
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_zoomMode == ZoomMode::FitWidth)
        fitWidth();
    else if (m_zoomMode == ZoomMode::FitPage)
        fitPage();
}

void ReportPreview::printDocument()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(m_document.orientation());
    if (!m_document.name().isEmpty())
        printer.setDocName(m_document.name());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tipărire"));
    dialog.setMinMax(1, qMax(1, pageCount()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!ReportOutput::print(m_document, &printer))
        QMessageBox::warning(this, QStringLiteral("Tipărire"), QStringLiteral("Imprimanta nu poate fi folosită."));
}

void ReportPreview::savePdf()
{
    QString name = m_document.name().trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("raport");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salvare PDF"),
                                                QDir::home().filePath(name + QStringLiteral(".pdf")),
                                                QStringLiteral("Fişiere PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    if (!ReportOutput::exportPdf(m_document, path, &error))
        QMessageBox::warning(this, QStringLiteral("Salvare PDF"),
                             QStringLiteral("Fişierul %1 nu poate fi scris: %2").arg(QDir::toNativeSeparators(path), error));
}
