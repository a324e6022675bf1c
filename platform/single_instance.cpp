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

bool SingleInstanceLock::tryAcquire()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

void SingleInstanceLock::release()
{
    m_lock.unlock();
}

bool SingleInstanceLock::isHeld() const
{
    return m_lock.isLocked();
}

} // namespace ardovin
