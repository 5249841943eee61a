#pragma once
// The session's requests to end the program (SIGTERM at logout or shutdown, SIGINT from a
// terminal, SIGHUP when the terminal goes away) reach the event loop as a Qt signal, so that the
// program closes the way its own menu closes it instead of dying or being ignored.

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

class SignalBridge : public QObject
{
    Q_OBJECT
public:
    // Catches SIGTERM, SIGINT and SIGHUP from now on; one bridge at a time.
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

    // Runs a call that may start the database engine. The engine takes SIGTERM and SIGINT for
    // itself when it starts (and then neither ends the program nor lets it end). The call runs
    // with the signals blocked, which the threads the engine starts inherit and keep, so that
    // the signals reach the program's own thread only; afterwards they come back to the bridge
    // when there is one, otherwise (the command line, the tools) to the system's default
    // action, so that they end the process.
    static void engineCall(const std::function<void()> &call);

    // "SIGTERM", "SIGINT", "SIGHUP".
    static QString name(int signal);

signals:
    // Delivered from the event loop, once for each signal caught.
    void received(int signal);

private:
    void readPending();

    int m_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
