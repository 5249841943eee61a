#include "reports/engine/reportpreview.h"

#include "reports/engine/reportprinting.h"
#include "reports/engine/reportpageview.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The scales offered under the zoom button besides the fitting ones, in percent.
constexpr int kScales[] = {50, 75, 100, 150, 200};
constexpr double kZoomStep = 1.25;
} // namespace

ReportPreview::ReportPreview(ReportDocument document, QWidget *parent)
    : QDialog(parent), m_document(std::move(document))
{
    setWindowTitle(QStringLiteral("Previzualizare"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    // A tall window for a portrait page, within the screen it opens on.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableSize() * 0.9 : QSize(900, 1000);
    resize(QSize(900, 1000).boundedTo(room));

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, bar](const char *name, const QString &text, const QString &tip, const QList<QKeySequence> &keys,
                           void (ReportPreview::*slot)()) {
        QAction *a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(tip);
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_first = add("firstPageAction", QStringLiteral("|<"), QStringLiteral("Prima pagină"),
                  {QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)}, &ReportPreview::firstPage);
    m_previous = add("previousPageAction", QStringLiteral("<"), QStringLiteral("Pagina precedentă"),
                     {QKeySequence(Qt::Key_PageUp)}, &ReportPreview::previousPage);
    m_next = add("nextPageAction", QStringLiteral(">"), QStringLiteral("Pagina următoare"),
                 {QKeySequence(Qt::Key_PageDown)}, &ReportPreview::nextPage);
    m_last = add("lastPageAction", QStringLiteral(">|"), QStringLiteral("Ultima pagină"),
                 {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)}, &ReportPreview::lastPage);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    bar->addSeparator();
    add("fitWidthAction", QStringLiteral("Lăţime pagină"), QStringLiteral("Pagina pe toată lăţimea"), {},
        &ReportPreview::fitWidth);
    add("fitPageAction", QStringLiteral("Pagina întreagă"), QStringLiteral("Toată pagina în fereastră"), {},
        &ReportPreview::fitPage);
    QList<QKeySequence> zoomInKeys = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    zoomInKeys << QKeySequence(Qt::CTRL | Qt::Key_Equal); // the "+" key without Shift
    add("zoomOutAction", QStringLiteral("-"), QStringLiteral("Micşorare"),
        QKeySequence::keyBindings(QKeySequence::ZoomOut), &ReportPreview::zoomOut);
    m_zoomButton = new QToolButton(this);
    m_zoomButton->setObjectName(QStringLiteral("zoomButton"));
    m_zoomButton->setToolTip(QStringLiteral("Scara paginii"));
    m_zoomButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(m_zoomButton);
    add("zoomInAction", QStringLiteral("+"), QStringLiteral("Mărire"), zoomInKeys, &ReportPreview::zoomIn);
    bar->addSeparator();
    add("printAction", QStringLiteral("Tipărire"), QStringLiteral("Tipărire"),
        QKeySequence::keyBindings(QKeySequence::Print), &ReportPreview::printDocument);
    add("savePdfAction", QStringLiteral("Salvare PDF"), QStringLiteral("Salvare PDF"), {}, &ReportPreview::savePdf);
    bar->addSeparator();
    // Escape closes the window as it closes every dialog.
    QAction *close = bar->addAction(QStringLiteral("Închidere"));
    close->setObjectName(QStringLiteral("closeAction"));
    connect(close, &QAction::triggered, this, &QDialog::reject);

    m_view = new ReportPageView;
    m_view->setObjectName(QStringLiteral("pageView"));
    m_view->setDocument(&m_document);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScrollArea"));
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    // The fitting scales follow the room the page has, which the scroll area knows only once
    // it has laid out its viewport (after the window has its size, and again at each resize).
    m_scroll->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_scroll, 1);

    buildZoomMenu();
    applyZoom(m_view->zoom());
    refresh();
}

void ReportPreview::buildZoomMenu()
{
    auto *menu = new QMenu(m_zoomButton);
    menu->setObjectName(QStringLiteral("zoomMenu"));
    menu->addAction(findChild<QAction *>(QStringLiteral("fitWidthAction")));
    menu->addAction(findChild<QAction *>(QStringLiteral("fitPageAction")));
    menu->addSeparator();
    for (const int percent : kScales) {
        QAction *a = menu->addAction(QStringLiteral("%1%").arg(percent));
        a->setObjectName(percent == 100 ? QStringLiteral("actualSizeAction")
                                        : QStringLiteral("zoom%1Action").arg(percent));
        if (percent == 100)
            a->setToolTip(QStringLiteral("Mărime reală"));
        connect(a, &QAction::triggered, this, [this, percent] { setZoom(percent / 100.0); });
    }
    m_zoomButton->setMenu(menu);
}

double ReportPreview::zoom() const
{
    return m_view->zoom();
}

void ReportPreview::firstPage()
{
    setPage(0);
}
void ReportPreview::previousPage()
{
    setPage(m_page - 1);
}
void ReportPreview::nextPage()
{
    setPage(m_page + 1);
}
void ReportPreview::lastPage()
{
    setPage(pageCount() - 1);
}

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
    // The button shows the scale the page is drawn at, whichever way it was reached.
    m_zoomButton->setText(QStringLiteral("%1%").arg(qRound(m_view->zoom() * 100)));
}

void ReportPreview::fitToViewport()
{
    const QScrollBar *vertical = m_scroll->verticalScrollBar();
    QSize area = m_scroll->viewport()->size();
    if (m_zoomMode == ZoomMode::FitWidth) {
        // Leave room for the vertical scroll bar that a long page needs, so that showing it
        // does not change the scale again.
        if (!vertical->isVisible())
            area.rwidth() -= vertical->sizeHint().width();
        applyZoom(m_view->fitWidthZoom(area));
    } else if (m_zoomMode == ZoomMode::FitPage) {
        applyZoom(m_view->fitPageZoom(area));
    } else {
        applyZoom(m_view->zoom());
    }
}

bool ReportPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        fitToViewport();
    return QDialog::eventFilter(watched, event);
}

void ReportPreview::fitWidth()
{
    m_zoomMode = ZoomMode::FitWidth;
    fitToViewport();
}

void ReportPreview::fitPage()
{
    m_zoomMode = ZoomMode::FitPage;
    fitToViewport();
}

void ReportPreview::setZoom(double zoom)
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(zoom);
}

void ReportPreview::actualSize()
{
    setZoom(1.0);
}

void ReportPreview::zoomIn()
{
    setZoom(m_view->zoom() * kZoomStep);
}

void ReportPreview::zoomOut()
{
    setZoom(m_view->zoom() / kZoomStep);
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
                             QStringLiteral("Fişierul %1 nu poate fi scris: %2")
                                 .arg(QDir::toNativeSeparators(path), error));
}
