#pragma once

#include <QLockFile>
#include <QString>

namespace pelko {

// Refuses a second copy of the program for the same user. The lock is a file in the user's
// runtime folder holding the owner's process id; a lock left by a copy that crashed is
// recognised as stale (its process is gone) and taken over without a message.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &lockPath);

    // True when this copy now holds the lock.
    bool tryAcquire();

    static QString defaultLockPath();

private:
    QLockFile m_lock;
};

} // namespace pelko
