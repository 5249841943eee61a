#pragma once
// One windowed copy of the program per data folder: the embedded database engine lets only one
// process open the database file, so a second copy would meet the engine's raw error. The lock
// file in the data folder says whether a copy runs; a copy that crashed leaves a lock that the
// next start recognises as stale and takes over.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock
{
public:
    // The lock of `folder` (the data folder), not yet taken.
    explicit InstanceLock(const QString &folder);
    ~InstanceLock();

    // Takes the lock: false when a running program holds it. A lock left by a copy that no
    // longer runs is taken over; a folder where no lock can be written is not guarded (true).
    bool acquire();
    bool held() const { return m_held; }

    // Whether a running program holds the lock of `folder` (without taking it).
    static bool heldElsewhere(const QString &folder);

    // "evidenta.lock" in the folder.
    static QString path(const QString &folder);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};
