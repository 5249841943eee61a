#pragma once
// What the desktop session asks of the running program, apart from its windows: the session's
// end (SIGTERM, SIGINT, SIGHUP) closes the main window the way "&Iesire" does, and a second
// start on the same data folder brings the main window to the front.

#include <QObject>
#include <QPointer>

class InstanceGuard;
class QWidget;
class SignalBridge;
class TFMain;

class DesktopSession : public QObject
{
    Q_OBJECT
public:
    // `mainWindow` closes at a signal and comes to the front at a second start (`guard` may be
    // null when several copies are allowed).
    DesktopSession(TFMain *mainWindow, InstanceGuard *guard, QObject *parent = nullptr);
    ~DesktopSession() override;

    // Once the main window is shown: connects when EVD_CONNECT_AT_START asks for it.
    void start();

    // Environment switches for scripts and tests of the whole program:
    // EVD_CONNECT_AT_START=1 connects at start as "&Conectare" with OK would (account from
    // ISC_USER / ISC_PASSWORD, else the dialog's), EVD_TRACE=1 writes one line on standard
    // error for each of these events.
    static bool connectAtStartWanted();
    static bool traceWanted();
    static void trace(const QString &line);

    // Brings the window to the front: shown, not minimised, raised and active, with the dialog
    // that waits for an answer above it.
    static void bringToFront(QWidget *window);

private:
    void onSignal(int signal);
    void closeWhenNoDialogWaits(int attempts);
    void onRaiseRequested();

    QPointer<TFMain> m_window;
    SignalBridge *m_bridge;
};
