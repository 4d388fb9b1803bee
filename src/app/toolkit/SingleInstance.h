#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

namespace pelko {

// Refuses a second copy of the program for the same user. The lock is a file holding the
// owner's process id, kept in the first of several places that can hold one; a lock left by a
// copy that crashed is recognised as stale (its process is gone) and taken over without a
// message. A place where no lock can be kept (a folder or anything else standing at the lock's
// name, a folder that cannot be written) is no sign of another copy: the next place is tried.
class SingleInstance
{
public:
    // lockPaths: where the lock may be kept, in order of preference.
    explicit SingleInstance(QStringList lockPaths);
    ~SingleInstance();

    // True when this copy may run: it now holds a lock, or no place could hold one at all.
    bool tryAcquire();

    // The lock this copy holds, empty when it holds none.
    QString heldLock() const;

    // The user's runtime folder, then the user's cache folder, then the working folder (beside
    // the files the lock protects), each with a file pelko.lock.
    static QStringList defaultLockPaths();

private:
    enum class Attempt { Held, HeldByOther, Unusable };
    Attempt tryAt(const QString &path);

    QStringList m_paths;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace pelko
