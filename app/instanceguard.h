#pragma once
// The running copy of the program on a data folder, and what a second start does: the first
// copy holds the folder's lock and listens on a local socket named after the folder; a second
// copy finds the lock held, asks the first through the socket to come to the front, and ends.

#include "platform/instancelock.h"

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class InstanceGuard : public QObject
{
    Q_OBJECT
public:
    explicit InstanceGuard(const QString &dataFolder, QObject *parent = nullptr);
    ~InstanceGuard() override;

    // Becomes the running copy of the folder: takes the lock and listens. False when another
    // copy runs already; then it has been asked to come to the front (when it answers within a
    // few seconds: `answered`).
    bool becomeRunningCopy(bool *answered = nullptr);

    // The socket's name: the same for every spelling of the folder's path.
    static QString serverName(const QString &dataFolder);

    // Asks the copy running on the folder to come to the front; true when it confirmed.
    static bool askRunningCopyToRaise(const QString &dataFolder, int timeoutMs = 3000);

    // What a second start says on standard error before it ends.
    static QString alreadyRunningText(bool answered);

signals:
    // A second start asked this copy to come to the front.
    void raiseRequested();

private:
    void acceptConnections();

    QString m_folder;
    InstanceLock m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
