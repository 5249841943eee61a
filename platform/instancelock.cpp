#include "platform/instancelock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &folder) : m_lock(std::make_unique<QLockFile>(path(folder)))
{
    // A running copy holds its lock for as long as it runs, however long that is: only a lock
    // whose program has ended is stale.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    if (m_held)
        return true;
    m_held = m_lock->tryLock(0);
    if (m_held)
        return true;
    // No lock can be written (a read-only folder): nothing to guard with.
    return m_lock->error() != QLockFile::LockFailedError;
}

bool InstanceLock::heldElsewhere(const QString &folder)
{
    InstanceLock probe(folder);
    if (!probe.m_lock->tryLock(0))
        return probe.m_lock->error() == QLockFile::LockFailedError;
    probe.m_lock->unlock();
    return false;
}

QString InstanceLock::path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("evidenta.lock"));
}
