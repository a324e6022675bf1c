#pragma once

#include <QLockFile>
#include <QString>

namespace ardovin {

// Where the running copy of Ardovin keeps its lock: the user's runtime directory, or the
// temporary directory where the system has none.
QString DefaultLockPath();

// Tells whether this is the only running copy of the program. The lock is held from a
// successful tryAcquire() until release() or destruction. A lock left behind by a copy that
// crashed names a process that no longer runs and is taken over; a live copy's lock is never
// broken, however old it is.
class SingleInstanceLock
{
public:
    explicit SingleInstanceLock(const QString& lockPath);

    // True when this copy now holds the lock (or already held it); false while another live
    // copy holds it or the lock file cannot be written.
    bool tryAcquire();
    void release();
    bool isHeld() const;

private:
    QLockFile m_lock;
};

} // namespace ardovin
