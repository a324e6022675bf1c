#pragma once

#include <QLockFile>
#include <QString>

namespace ardovin {

// Where the running copy of Ardovin keeps its lock: the user's runtime directory, or the
// temporary directory where the system has none.
QString DefaultLockPath();

// Tells whether another copy of the program is running. The lock is held from a successful
// tryAcquire() until destruction. A lock left behind by a copy that
// crashed names a process that no longer runs and is taken over; a live copy's lock is never
// broken, however old it is.
class SingleInstanceLock
{
public:
    explicit SingleInstanceLock(const QString& lockPath);

    enum class Result {
        Acquired,          // this copy holds the lock now (or already held it)
        HeldByAnotherCopy, // a live copy holds it
        Unavailable,       // the lock file cannot be made: no copy can be told from another
    };
    Result tryAcquire();

private:
    QLockFile m_lock;
};

} // namespace ardovin
