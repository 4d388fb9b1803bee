#include "ResidentMemory.h"

#include <QFile>

#include <sys/resource.h>

namespace pelko::bench {

long long processStatusKb(const QByteArray &field)
{
    // /proc files report a size of 0, so atEnd() is true at once: read until the read ends.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = field + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        // "VmRSS:	   12345 kB"
        const QByteArray value = line.mid(prefix.size()).trimmed();
        bool ok = false;
        const long long kb = value.left(value.indexOf(' ')).toLongLong(&ok);
        return ok ? kb : -1;
    }
    return -1;
}

long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

} // namespace pelko::bench
