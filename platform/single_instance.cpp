#include "platform/single_instance.h"

#include <QStandardPaths>

namespace ardovin {

QString DefaultLockPath()
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty())
        directory = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return directory + QStringLiteral("/ardovin.lock");
}

SingleInstanceLock::SingleInstanceLock(const QString& lockPath) : m_lock(lockPath)
{
    // A copy may run for weeks: only a lock whose process has died counts as stale.
    m_lock.setStaleLockTime(0);
}

SingleInstanceLock::Result SingleInstanceLock::tryAcquire()
{
    if (m_lock.isLocked() || m_lock.tryLock(0))
        return Result::Acquired;
    // Only a lock that exists and names a live process means another copy; a folder that
    // refuses the lock file says nothing about other copies.
    return m_lock.error() == QLockFile::LockFailedError ? Result::HeldByAnotherCopy
                                                        : Result::Unavailable;
}

} // namespace ardovin
