#include "SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pelko {

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(lockPath)
{
    // The program may run for days: age alone never makes the lock stale, only a dead owner.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire()
{
    if (m_lock.isLocked() || m_lock.tryLock(0))
        return true;
    // Only a lock held by someone else means another copy. When no lock can be made here at all,
    // refusing would keep the user out with a message about a copy that does not exist.
    if (m_lock.error() != QLockFile::LockFailedError)
        return true;
    // A lock file that names no process (its owner died between creating and writing it) never
    // looks stale by its pid. A live owner writes the file at once and keeps it locked, so an
    // unreadable file that has stood for a while and that nobody holds is taken over.
    if (m_lock.getLockInfo(nullptr, nullptr, nullptr))
        return false;
    const qint64 age =
        QFileInfo(m_lock.fileName()).lastModified().secsTo(QDateTime::currentDateTime());
    if (qAbs(age) < 5)
        return false;
    return m_lock.removeStaleLockFile() && m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        // No runtime folder: the user's own cache folder, never one shared by all users.
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
              + QStringLiteral("/pelko");
        QDir().mkpath(dir);
    }
    return dir + QStringLiteral("/pelko.lock");
}

} // namespace pelko
