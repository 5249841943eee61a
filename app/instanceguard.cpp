#include "app/instanceguard.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
const QByteArray Confirmation = QByteArrayLiteral("ok\n");

} // namespace

InstanceGuard::InstanceGuard(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_folder(dataFolder), m_lock(dataFolder)
{}

InstanceGuard::~InstanceGuard() = default;

QString InstanceGuard::serverName(const QString &dataFolder)
{
    const QFileInfo info(dataFolder);
    const QString canonical = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("evidenta-") + QString::fromLatin1(hash);
}

bool InstanceGuard::becomeRunningCopy(bool *answered)
{
    if (answered)
        *answered = false;
    QDir().mkpath(m_folder);
    if (!m_lock.acquire()) {
        const bool confirmed = askRunningCopyToRaise(m_folder);
        if (answered)
            *answered = confirmed;
        return false;
    }
    if (!m_lock.held())
        return true; // a folder without a lock: nothing to listen for either
    // The lock is ours: a socket of the same name is left from a copy that crashed.
    const QString name = serverName(m_folder);
    QLocalServer::removeServer(name);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &InstanceGuard::acceptConnections);
    m_server->listen(name);
    return true;
}

bool InstanceGuard::askRunningCopyToRaise(const QString &dataFolder, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // The running copy takes its lock a moment before it listens: try again until the deadline.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName(dataFolder));
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(RaiseRequest);
            QByteArray reply;
            while (!reply.endsWith('\n') && socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                reply += socket.readAll();
            return reply == Confirmation;
        }
        QThread::msleep(50);
    }
    return false;
}

QString InstanceGuard::alreadyRunningText(bool answered)
{
    return answered ? QStringLiteral("Programul este deja pornit; fereastra lui a fost adusă în față.")
                    : QStringLiteral("Baza de date este folosită de o altă pornire a programului.");
}

void InstanceGuard::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto answer = [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine();
            if (line == RaiseRequest) {
                socket->write(Confirmation);
                socket->flush();
                emit raiseRequested();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, socket, answer);
        answer();
    }
}
