#pragma once

#include "Descriptor.h"

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

namespace pelko {

// Refuses a second copy of the program: one copy for each user, and one copy in each working
// folder, whoever started it and from whichever session.
//
// The user's lock is a file holding the owner's process id, kept in the first of several places
// that can hold one; a lock left by a copy that crashed is recognised as stale (its process is
// gone) and taken over without a message. A place where no lock can be kept (a folder or anything
// else standing at the lock's name, a folder that cannot be written) is no sign of another copy:
// the next place is tried, and where none can hold one the copy runs.
//
// The working folder's lock is an flock on the folder itself, held for the whole run. Every copy
// of every user locks the same folder, whatever its runtime folder, and the lock stays with the
// folder whatever is renamed or replaced inside it (a new database renamed over the old one); the
// system lets go of it when its holder ends, however it ends.
class SingleInstance
{
public:
    // lockPaths: where the user's lock may be kept, in order of preference. workDir: the working
    // folder, locked too unless empty.
    explicit SingleInstance(QStringList lockPaths, QString workDir = {});
    ~SingleInstance();

    // True when this copy may run: no other copy holds either lock. A lock that cannot be had
    // for want of a place or of the system's support is no sign of another copy.
    bool tryAcquire();

    // The user's lock file this copy holds, empty when it holds none.
    QString heldLock() const;
    // Whether this copy holds the working folder's lock: no other copy, of this user or another,
    // can be saving into the folder meanwhile.
    bool holdsFolder() const { return m_folder.fd >= 0; }

    // The user's runtime folder, then the user's cache folder, then the working folder (beside
    // the files the lock protects), each with a file pelko.lock.
    static QStringList defaultLockPaths();

private:
    enum class Attempt { Held, HeldByOther, Unusable };
    Attempt tryAt(const QString &path);
    // Locks the working folder where it can; true only when another copy holds its lock.
    bool folderHeldByOther();

    QStringList m_paths;
    QString m_workDir;
    std::unique_ptr<QLockFile> m_lock;
    Descriptor m_folder{-1}; // the locked working folder
    bool m_acquired = false;
};

} // namespace pelko
