#include "SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace pelko {

SingleInstance::SingleInstance(QStringList lockPaths, QString workDir)
    : m_paths(std::move(lockPaths)), m_workDir(std::move(workDir))
{}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    if (m_acquired)
        return true;
    for (const QString &path : m_paths) {
        const Attempt user = tryAt(path);
        if (user == Attempt::HeldByOther)
            return false;
        if (user == Attempt::Held)
            break;
    }
    if (folderHeldByOther()) {
        m_lock.reset(); // a refused copy keeps no other copy of the user out
        return false;
    }
    m_acquired = true;
    return true;
}

// Where the folder cannot be locked, the copy runs without its lock: that is no sign of another
// copy, and refusing would keep the player out for good. flock answers ENOLCK on a network file
// system whose lock service is missing, and may answer EBADF on NFS, which carries flock out as
// a byte-range lock that, exclusive, needs a descriptor open for writing. Nothing else would do:
// a folder cannot be opened for writing, so the only byte-range lock (fcntl, OFD) it can take is
// a shared one, which excludes no one, and a lock file in the folder would outlive a copy that
// crashed on another machine. Such a copy only never removes what an interrupted save left (see
// holdsFolder): a leftover is clutter, while removing the temporary file of another copy's save
// in progress would make that save fail.
bool SingleInstance::folderHeldByOther()
{
    if (m_workDir.isEmpty())
        return false;
    // Read-only, so a folder the player may only read is locked too; never inherited by a
    // program the copy starts (the browser), which would hold the lock after the copy ended.
    Descriptor folder{
        ::open(QFile::encodeName(m_workDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd < 0)
        return false;
    if (::flock(folder.fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    m_folder.fd = folder.release();
    return false;
}

SingleInstance::Attempt SingleInstance::tryAt(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    // Only a regular file can be a lock. Anything else is looked at no further: reading a FIFO
    // would block, and a folder can neither be read as a lock nor removed as a stale one.
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return Attempt::Unusable;

    auto lock = std::make_unique<QLockFile>(path);
    // The program may run for days: age alone never makes the lock stale, only a dead owner.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError)
            return Attempt::Unusable; // the folder cannot hold a lock
        // A lock file that names no process (its owner died between creating and writing it)
        // never looks stale by its pid. A live owner writes the file at once and keeps it
        // locked, so an unreadable file that has stood for a while is taken over.
        if (lock->getLockInfo(nullptr, nullptr, nullptr))
            return Attempt::HeldByOther;
        const qint64 age = QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime());
        if (qAbs(age) < 5)
            return Attempt::HeldByOther;
        if (!lock->removeStaleLockFile() || !lock->tryLock(0))
            return Attempt::Unusable;
    }
    m_lock = std::move(lock);
    return Attempt::Held;
}

QString SingleInstance::heldLock() const
{
    return m_lock ? m_lock->fileName() : QString();
}

QStringList SingleInstance::defaultLockPaths()
{
    const QString name = QStringLiteral("pelko.lock");
    QStringList paths;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        paths << runtime + u'/' + name;
    // The user's own cache folder, never one shared by all users.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        paths << cache + QStringLiteral("/pelko/") + name;
    // Relative, so that it follows the working folder as the data files do.
    paths << name;
    return paths;
}

} // namespace pelko
