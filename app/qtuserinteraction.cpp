#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "app/tfprogres.h"
#include "reports/engine/reportprinting.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <optional>

namespace {
// Messages may break lines with a carriage return alone; message boxes want line feeds.
QString shown(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
} // namespace

QWidget *QtUserInteraction::parentWindow()
{
    return QApplication::activeWindow();
}

bool QtUserInteraction::confirm(const QString &text)
{
    return QMessageBox::question(parentWindow(), QStringLiteral("Confirmare"), shown(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void QtUserInteraction::inform(const QString &text)
{
    QMessageBox::information(parentWindow(), TFMain::baseCaption(), shown(text));
}

void QtUserInteraction::showError(const QString &text)
{
    QMessageBox::critical(parentWindow(), TFMain::baseCaption(), shown(text));
}

QString QtUserInteraction::browseFolder(const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(parentWindow(), caption, start);
}

QString QtUserInteraction::openFileName(const QString &caption, const QString &startFolder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, startFolder, filter);
}

void QtUserInteraction::showReport(const Report &report)
{
    ReportOutput::preview(report, parentWindow());
}

bool QtUserInteraction::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtUserInteraction::windowsCanBeSeen() const
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void QtUserInteraction::printReport(const Report &report)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parentWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!ReportOutput::print(report, &printer))
        showError(QStringLiteral("Imprimanta nu poate fi folosita."));
}

void QtUserInteraction::beginWait()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInteraction::endWait()
{
    QApplication::restoreOverrideCursor();
}

void QtUserInteraction::progressBegin(const QString &name, qint64 total, bool mayStop)
{
    if (m_progress.empty()) {
        m_stopAsked = false;
        m_progressStarted.start();
    }
    m_progress.push_back({name, QString(), 0, total, mayStop});
    refreshProgress();
}

void QtUserInteraction::progressUpdate(qint64 done, qint64 total, const QString &part)
{
    ProgressLevel &level = m_progress.back();
    level.done = done;
    level.total = total;
    level.part = part;
    refreshProgress();
}

void QtUserInteraction::progressEnd()
{
    m_progress.pop_back();
    if (m_progress.empty())
        closeProgress();
    else
        refreshProgress();
}

void QtUserInteraction::refreshProgress()
{
    if (!m_progressWindow) {
        if (m_progressStarted.elapsed() < m_progressDelayMs)
            return;
        // Nothing of the program runs under the window but the work: it blocks the others.
        m_progressWindow = new TFProgres(parentWindow());
        m_progressWindow->setWindowModality(Qt::ApplicationModal);
        QObject::connect(m_progressWindow, &TFProgres::stopRequested, m_progressWindow, [this] { m_stopAsked = true; });
    } else if (m_progressShown.elapsed() < kRefreshMs) {
        return;
    }
    auto line = [](const ProgressLevel &l) {
        return TFProgres::Line{l.part.isEmpty() ? l.name : l.part, l.done, l.total};
    };
    std::optional<TFProgres::Line> step;
    if (m_progress.size() > 1)
        step = line(m_progress.back());
    const bool mayStop = std::any_of(m_progress.begin(), m_progress.end(), [](const auto &l) { return l.mayStop; });
    m_progressWindow->showProgress(m_progress.front().name, line(m_progress.front()), step, mayStop);
    if (!m_progressWindow->isVisible())
        m_progressWindow->show();
    m_progressShown.start();
    // The window paints itself and hears "Anulare"; other windows take no input meanwhile.
    QCoreApplication::processEvents();
}

void QtUserInteraction::closeProgress()
{
    delete m_progressWindow.data();
    m_progressWindow = nullptr;
}
