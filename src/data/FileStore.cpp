#include "FileStore.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// The name a save writes to: the path itself or, where it is a symlink, the name the links lead
// to in the end, which need not exist yet. Empty when they go round in a loop or cannot be read.
QByteArray nameToWrite(QByteArray name)
{
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(name.constData(), target, sizeof target);
        if (n < 0) // EINVAL: no symlink; ENOENT: nothing at the name, to be made
            return errno == EINVAL || errno == ENOENT ? name : QByteArray();
        if (n == sizeof target)
            return {};
        QByteArray next(target, n);
        // A relative link is relative to the folder the link stands in.
        if (!next.startsWith('/') && name.contains('/'))
            next.prepend(name.left(name.lastIndexOf('/') + 1));
        name = next;
    }
    return {};
}

// A new file beside target, named with the marker only saves use and six random letters or
// digits; -1 when the folder refuses it, with errno saying why. One that is to replace a file
// may be read by its owner alone until it takes that file's permissions.
int createTemporary(const QByteArray &target, bool replacing, QByteArray &name)
{
    static const char characters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kSaveMarker;
        for (int i = 0; i < 6; ++i)
            name += characters[QRandomGenerator::global()->bounded(int(sizeof characters) - 1)];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                              replacing ? 0600 : 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Everything written, or false; a short write is a failure.
bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The data on the disk. A failed sync is how a full or failing disk may first report a write
// that did not reach it; a file system that cannot sync at all (EINVAL, ENOSYS) has nothing more
// to do.
bool syncData(int fd)
{
    while (::fdatasync(fd) != 0) {
        if (errno == EINVAL || errno == ENOSYS)
            return true;
        if (errno != EINTR)
            return false;
    }
    return true;
}

// The file written in place, for a folder that refuses a temporary file: checked at every step,
// but a failure halfway leaves the file cut short.
bool writeInPlace(const QByteArray &target, const QByteArray &bytes)
{
    // O_NONBLOCK and the check after opening: should a FIFO have been put at the name since, the
    // open returns at once and nothing is written.
    struct stat st {
    };
    Descriptor file{::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const bool written =
        ::ftruncate(file.fd, 0) == 0 && writeAll(file.fd, bytes) && syncData(file.fd);
    return ::close(std::exchange(file.fd, -1)) == 0 && written;
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

void setSaveObserver(SaveObserver observer)
{
    saveObserver = std::move(observer);
}

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

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    if (saveObserver)
        saveObserver(path);
    const QByteArray target = nameToWrite(QFile::encodeName(path));
    // Renaming a file over a device (through a symlink, say to /dev/null) would replace the
    // device itself; writing into a FIFO would block. Only a regular file, or nothing, is saved
    // over.
    struct stat st {
    };
    const bool exists = !target.isEmpty() && ::stat(target.constData(), &st) == 0;
    if (target.isEmpty() || (exists ? !S_ISREG(st.st_mode) : errno != ENOENT))
        return false;

    QByteArray temporary;
    Descriptor file{createTemporary(target, exists, temporary)};
    if (file.fd < 0)
        return exists && errno == EACCES && writeInPlace(target, bytes);
    // The file keeps its permissions, a file that only its owner may write among them.
    bool written = (!exists || ::fchmod(file.fd, st.st_mode & 0777) == 0)
                   && writeAll(file.fd, bytes) && syncData(file.fd);
    written = ::close(std::exchange(file.fd, -1)) == 0 && written;
    if (written && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
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
