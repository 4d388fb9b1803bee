#include "FileStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelko {
namespace {

SaveObserver saveObserver;

// Closes a descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

ReadStatus statusOfFailedCall()
{
    return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
}

// Maps every page of a fresh buffer in one call. A read into fresh memory otherwise stops at
// each page for a fault of its own, which costs more than copying the page: a 10 MB database
// is read in about two thirds of the time with its buffer faulted in first. Only a hint: a
// kernel that cannot do it (before Linux 5.14) faults the pages in as the read goes.
void prefault(QByteArray &buffer)
{
#ifdef MADV_POPULATE_WRITE
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t end = begin + static_cast<std::uintptr_t>(buffer.size());
    const std::uintptr_t first = (begin + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t last = end & ~(pageSize - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(buffer);
#endif
}

} // namespace

void setSaveObserver(SaveObserver observer)
{
    saveObserver = std::move(observer);
}

FileRead readFile(const QString &path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    // The kind of thing at the name is decided before opening it: opening a device can have
    // effects of its own, and a FIFO opened for reading waits for a writer.
    struct stat st {
    };
    if (::stat(name.constData(), &st) != 0)
        return {statusOfFailedCall(), {}};
    if (!S_ISREG(st.st_mode))
        return {ReadStatus::Unreadable, {}};
    if (st.st_size > maxBytes)
        return {ReadStatus::TooLarge, {}};

    // O_NONBLOCK: should a FIFO have been put at the name since, the open still returns at once,
    // and fstat then refuses it.
    const Descriptor file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return {statusOfFailedCall(), {}};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {ReadStatus::Unreadable, {}};
    if (st.st_size > maxBytes)
        return {ReadStatus::TooLarge, {}};

    // The size is only a hint (the file may grow, and some report 0): read until the end of the
    // file, never more than one byte past the limit.
    QByteArray bytes;
    bytes.resize(qMin<qint64>(st.st_size, maxBytes) + 1);
    prefault(bytes);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                return {ReadStatus::TooLarge, {}};
            bytes.resize(qMin<qint64>(total * 2 + 4096, maxBytes + 1));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + total, std::size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {ReadStatus::Unreadable, {}};
        if (n == 0)
            break;
        total += n;
    }
    if (total > maxBytes)
        return {ReadStatus::TooLarge, {}};
    bytes.truncate(total);
    return {ReadStatus::Ok, bytes};
}

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    if (saveObserver)
        saveObserver(path);
    // Renaming a file over a device (through a symlink, say to /dev/null) would replace the
    // device itself; writing into a FIFO would block. Only a regular file, or nothing, is saved
    // over. A dangling symlink is followed: the file is created where it points.
    struct stat st {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return false;
    } else if (errno != ENOENT) {
        return false;
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Each step is checked: a short write that surfaces only in commit()'s own flush would
    // otherwise be reported as success, and commit() ignores a failed sync, which is how a
    // full or failing disk may first report a write that did not reach it.
    bool written = file.write(bytes) == bytes.size() && file.flush();
    while (written && ::fdatasync(file.handle()) != 0) {
        // A file system that cannot sync at all (EINVAL, ENOSYS) has nothing more to do.
        if (errno == EINVAL || errno == ENOSYS)
            break;
        if (errno != EINTR)
            written = false;
    }
    if (!written) {
        // Discards the temporary file. Where the file was written in place, commit() closes it
        // without removing it; what was written stays, and the failure is still reported.
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

QStringList removeSaveLeftovers(const QString &folder, const QStringList &savedNames)
{
    QStringList removed;
    const QDir dir(folder);
    for (const QString &saved : savedNames) {
        // Qt names its temporary files after the target, a full stop and six ASCII letters.
        const QRegularExpression temporary(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(saved) + QStringLiteral("\\.[A-Za-z]{6}")));
        const QStringList candidates = dir.entryList({saved + QStringLiteral(".??????")},
                                                     QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : candidates) {
            struct stat st {
            };
            const QByteArray native = QFile::encodeName(dir.filePath(name));
            // lstat: a symlink of that name was not made by a save.
            if (!temporary.match(name).hasMatch() || ::lstat(native.constData(), &st) != 0
                || !S_ISREG(st.st_mode))
                continue;
            if (::unlink(native.constData()) == 0)
                removed << name;
        }
    }
    return removed;
}

} // namespace pelko
