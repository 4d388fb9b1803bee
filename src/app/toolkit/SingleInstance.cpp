#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace pelko {

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(lockPath)
{
    // The program may run for days: age alone never makes the lock stale, only a dead owner.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/pelko.lock");
}

} // namespace pelko
