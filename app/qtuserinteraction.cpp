#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "reports/engine/reportprinting.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

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
