#pragma once
// The session's requests to end the program (SIGTERM at logout or shutdown, SIGINT from a
// terminal, SIGHUP when the terminal goes away) reach the event loop as a Qt signal, so that the
// program closes the way its own menu closes it instead of dying or being ignored.

#include <QObject>
#include <memory>

class QSocketNotifier;

class SignalBridge : public QObject
{
    Q_OBJECT
public:
    // Catches SIGTERM, SIGINT and SIGHUP from now on; one bridge at a time.
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

    // The database engine takes SIGTERM and SIGINT for itself when it is first used (and then
    // neither ends the program nor lets it end). Called after every attach: with a bridge the
    // signals come back to it, without one (the command line, the tools) the system's default
    // action applies again, so that they end the process.
    static void reclaimSignals();

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
