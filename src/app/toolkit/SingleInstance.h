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
// When none can hold a lock file, a file that every copy reads and none rewrites (the quest
// database) is locked with flock instead; the system lets go of that lock when its holder ends.
class SingleInstance
{
public:
    // lockPaths: where the lock may be kept, in order of preference. sharedFile: the file to lock
    // when none of them can hold a lock; none when empty.
    explicit SingleInstance(QStringList lockPaths, QString sharedFile = {});
    ~SingleInstance();

    // True when this copy may run: it now holds a lock, or no place could hold one at all.
    bool tryAcquire();

    // The lock file this copy holds, empty when it holds none.
    QString heldLock() const;
    // Whether this copy holds a lock of either kind, so that no other copy runs meanwhile.
    bool holdsLock() const { return m_lock || m_sharedLock >= 0; }

    // The user's runtime folder, then the user's cache folder, then the working folder (beside
    // the files the lock protects), each with a file pelko.lock.
    static QStringList defaultLockPaths();

private:
    enum class Attempt { Held, HeldByOther, Unusable };
    Attempt tryAt(const QString &path);
    Attempt tryShared();

    QStringList m_paths;
    QString m_sharedFile;
    std::unique_ptr<QLockFile> m_lock;
    int m_sharedLock = -1; // the descriptor of the locked shared file
};

} // namespace pelko
