#include "FileStore.h"

#include "Descriptor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelko {
namespace {

ReadStatus statusOfFailedCall()
{
    return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
}

bool isSaveLeftover(const QByteArray &name, const QStringList &savedNames)
{
    for (const QString &saved : savedNames) {
        const QByteArray prefix = QFile::encodeName(saved) + kSaveMarker;
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix)
            && std::all_of(name.end() - 6, name.end(), [](char c) {
                   return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
                          || (c >= '0' && c <= '9');
               }))
            return true;
    }
    return false;
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

FileRead readFile(const QString &path, qint64 maxBytes)
{
    return readLocalFile(QFile::encodeName(path), maxBytes);
}

FileRead readLocalFile(const QByteArray &name, qint64 maxBytes)
{
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

FileRead StoredFile::read(qint64 maxBytes)
{
    FileRead file = readFile(m_path, maxBytes);
    m_keep = !file.ok() && file.status != ReadStatus::Missing;
    return file;
}

QStringList removeSaveLeftovers(const QString &folder, const QStringList &savedNames)
{
    QStringList removed;
    // The folder's entries are taken as the bytes they are, never decoded and spelled again.
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return removed;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        struct stat st {
        };
        // A symlink with such a name was not made by a save, nor was a file of another user, whose
        // own copy of the program may be saving in a folder the two share.
        if (isSaveLeftover(name, savedNames)
            && ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            removed << QFile::decodeName(name);
    }
    ::closedir(dir);
    return removed;
}

} // namespace pelko
