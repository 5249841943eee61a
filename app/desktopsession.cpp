#include "app/desktopsession.h"
#include "app/instanceguard.h"
#include "app/tfmain.h"
#include "data/ibdatabase.h"
#include "data/tdm.h"
#include "platform/signalbridge.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

DesktopSession::DesktopSession(TFMain *mainWindow, InstanceGuard *guard, QObject *parent)
    : QObject(parent), m_window(mainWindow), m_bridge(new SignalBridge(this))
{
    connect(m_bridge, &SignalBridge::received, this, &DesktopSession::onSignal);
    if (guard)
        connect(guard, &InstanceGuard::raiseRequested, this, &DesktopSession::onRaiseRequested);
}

DesktopSession::~DesktopSession() = default;

void DesktopSession::start()
{
    if (!connectAtStartWanted() || !m_window)
        return;
    const QString user = qEnvironmentVariable("ISC_USER", QStringLiteral("sysdba"));
    const QString password = qEnvironmentVariable("ISC_PASSWORD", QStringLiteral("masterkey"));
    m_window->connectWithAccount(user, password);
    if (DM && DM->IDB->connected())
        trace(QStringLiteral("conectată la %1").arg(DM->IDB->databaseName()));
}

bool DesktopSession::connectAtStartWanted()
{
    return qEnvironmentVariableIntValue("EVD_CONNECT_AT_START") == 1;
}

bool DesktopSession::traceWanted()
{
    return qEnvironmentVariableIntValue("EVD_TRACE") == 1;
}

void DesktopSession::trace(const QString &line)
{
    if (!traceWanted())
        return;
    std::fprintf(stderr, "evidenta: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

void DesktopSession::bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}

void DesktopSession::onSignal(int signal)
{
    trace(QStringLiteral("închidere la %1").arg(SignalBridge::name(signal)));
    closeWhenNoDialogWaits(0);
}

void DesktopSession::closeWhenNoDialogWaits(int attempts)
{
    // A dialog that waits for an answer keeps the main window from closing: it is cancelled as
    // Escape would, and the window closes once the dialog's handler has returned. A dialog that
    // will not close (or a long row of them) ends the event loop instead.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && attempts < 100) {
        modal->close();
        QMetaObject::invokeMethod(
            this, [this, attempts] { closeWhenNoDialogWaits(attempts + 1); }, Qt::QueuedConnection);
        return;
    }
    // The same road as "&Iesire": pending edits cancelled, the connection closed, the loop ended.
    if (m_window && !QApplication::activeModalWidget())
        m_window->close();
    else
        QCoreApplication::quit();
}

void DesktopSession::onRaiseRequested()
{
    trace(QStringLiteral("adusă în față la cererea unei alte porniri"));
    bringToFront(m_window);
}
