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
#include <unistd.h>

namespace pelko {

SingleInstance::SingleInstance(QStringList lockPaths, QString sharedFile)
    : m_paths(std::move(lockPaths)), m_sharedFile(std::move(sharedFile))
{}

SingleInstance::~SingleInstance()
{
    if (m_sharedLock >= 0)
        ::close(m_sharedLock);
}

bool SingleInstance::tryAcquire()
{
    if (holdsLock())
        return true;
    for (const QString &path : m_paths) {
        switch (tryAt(path)) {
        case Attempt::Held:
            return true;
        case Attempt::HeldByOther:
            return false;
        case Attempt::Unusable:
            break;
        }
    }
    // Refusing now would keep the user out with a message about a copy that does not exist.
    return tryShared() != Attempt::HeldByOther;
}

SingleInstance::Attempt SingleInstance::tryShared()
{
    if (m_sharedFile.isEmpty())
        return Attempt::Unusable;
    // Opened for reading only, and only a regular file: a FIFO or device put at the name is not
    // waited on, and the database is never written, so no copy can change it while locking it.
    const QByteArray name = QFile::encodeName(m_sharedFile);
    struct stat st {
    };
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return Attempt::Unusable;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Attempt::Unusable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Attempt::HeldByOther : Attempt::Unusable;
    }
    m_sharedLock = fd;
    return Attempt::Held;
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
