// Saving a file whole: through a temporary file and a rename where the file may be replaced,
// else in place, never cut short first (see saveWholeFile).
#include "Descriptor.h"
#include "FileStore.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace pelko {
namespace {

SaveObserver saveObserver;

// Whether the system itself would follow the symlink at name, whose lstat is link: in a folder
// that is sticky and writable by all (such as /tmp), only a link of this user or of the folder's
// owner, as fs.protected_symlinks has it. Another user's link there may lead anywhere this user
// can write; the program follows links itself, so the system never gets to judge them.
bool mayFollow(const QByteArray &name, const struct stat &link)
{
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : name.left(slash > 0 ? slash : 1);
    struct stat st {
    };
    if (::stat(folder.constData(), &st) != 0)
        return false;
    const bool shared = (st.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

// The name a save writes to: the path itself or, where it is a symlink, the name the links lead
// to in the end, which need not exist yet. Empty when they go round in a loop, cannot be read,
// or lead where the system would not follow them.
QByteArray nameToWrite(QByteArray name)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {
        };
        if (::lstat(name.constData(), &st) != 0) // ENOENT: nothing at the name, to be made
            return errno == ENOENT ? name : QByteArray();
        if (!S_ISLNK(st.st_mode))
            return name;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(name.constData(), target, sizeof target);
        if (n <= 0 || n == sizeof target || !mayFollow(name, st))
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

// Everything written from offset on, or false; a short write is a failure.
bool writeAll(int fd, const char *data, qsizetype size, off_t offset)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, std::size_t(size - done), offset + done);
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

bool closeChecked(Descriptor &file)
{
    return ::close(file.release()) == 0;
}

// Room for size bytes in the file, taken before its old bytes are touched, so that a full disk
// or a quota stops the save while the file is whole. The reservation leaves the file as it reads;
// a file system that cannot reserve gets blanks after the old end instead, which every reader of
// the program's files passes over, as it stops at the old end mark.
bool reserve(int fd, off_t oldSize, off_t size)
{
    // A size limit (ulimit -f) holds for writes, not for reservations, and would cut the write.
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && rlim_t(size) > limit.rlim_cur) {
        errno = EFBIG;
        return false;
    }
    int reserved;
    while ((reserved = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size)) != 0 && errno == EINTR) {
    }
    if (reserved == 0)
        return syncData(fd);
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    const QByteArray blanks(qsizetype(size - oldSize), ' ');
    if (writeAll(fd, blanks.constData(), blanks.size(), oldSize) && syncData(fd))
        return true;
    const int error = errno;
    (void)!::ftruncate(fd, oldSize);
    errno = error;
    return false;
}

// The file written in place, for where it cannot be replaced. At every step the file reads as
// its old bytes or its new ones: the room is reserved first, the new bytes go over the old ones
// in one write (a longer old file still ends in its own tail, past the new end mark), and the
// file is cut to the new length last.
bool writeInPlace(Descriptor &file, const QByteArray &bytes)
{
    struct stat st {
    };
    const off_t size = bytes.size();
    const bool written =
        ::fstat(file.fd, &st) == 0 && (size <= st.st_size || reserve(file.fd, st.st_size, size))
        && writeAll(file.fd, bytes.constData(), bytes.size(), 0) && syncData(file.fd)
        && (size >= st.st_size || (::ftruncate(file.fd, size) == 0 && syncData(file.fd)));
    return closeChecked(file) && written;
}

// Gives the new file what the old one carries beyond its bytes: owner and group, permissions
// (a file only its owner may write among them), the access control list and the user.*
// attributes. False when it cannot: the old file is then no file to replace.
bool takeOver(int from, const struct stat &st, int to)
{
    struct stat made {
    };
    if (::fstat(to, &made) != 0
        || ((made.st_uid != st.st_uid || made.st_gid != st.st_gid)
            && ::fchown(to, st.st_uid, st.st_gid) != 0)
        || ::fchmod(to, st.st_mode & 0777) != 0)
        return false;
    // The list ends every name with a NUL. The access control list comes after the permissions,
    // as it sets the group bits to its mask.
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP;
    QByteArray names(listSize, '\0');
    if (::flistxattr(from, names.data(), std::size_t(listSize)) != listSize)
        return false;
    for (const QByteArray &name : names.split('\0')) {
        if (!name.startsWith("user.") && name != "system.posix_acl_access")
            continue;
        const ssize_t valueSize = ::fgetxattr(from, name.constData(), nullptr, 0);
        QByteArray value(valueSize > 0 ? valueSize : 0, '\0');
        if (valueSize < 0
            || ::fgetxattr(from, name.constData(), value.data(), std::size_t(valueSize))
                   != valueSize
            || ::fsetxattr(to, name.constData(), value.constData(), std::size_t(valueSize), 0) != 0)
            return false;
    }
    return true;
}

} // namespace

void setSaveObserver(SaveObserver observer)
{
    saveObserver = std::move(observer);
}

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    if (saveObserver)
        saveObserver(path);
    const QByteArray target = nameToWrite(QFile::encodeName(path));
    // Renaming a file over a device would replace the device itself, and opening one for writing
    // can have effects of its own; writing into a FIFO would block. Only a regular file, or
    // nothing, is saved over; the file is opened first, so that the system decides whether this
    // user may write it.
    struct stat st {
    };
    if (target.isEmpty())
        return false;
    const bool exists = ::lstat(target.constData(), &st) == 0;
    if (exists ? !S_ISREG(st.st_mode) : errno != ENOENT)
        return false;
    Descriptor old{exists ? ::open(target.constData(),
                                   O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW)
                          : -1};
    struct stat opened {
    };
    if (exists
        && (old.fd < 0 || ::fstat(old.fd, &opened) != 0 || opened.st_dev != st.st_dev
            || opened.st_ino != st.st_ino))
        return false;

    // A file of several names (hard links) keeps them all: replaced, it would leave the old
    // bytes under the other names.
    if (exists && st.st_nlink > 1)
        return writeInPlace(old, bytes);
    QByteArray temporary;
    Descriptor file{createTemporary(target, exists, temporary)};
    if (file.fd < 0)
        return exists && errno == EACCES && writeInPlace(old, bytes);
    if (exists && !takeOver(old.fd, st, file.fd)) {
        ::unlink(temporary.constData());
        return writeInPlace(old, bytes);
    }
    bool written = writeAll(file.fd, bytes.constData(), bytes.size(), 0) && syncData(file.fd);
    written = closeChecked(file) && written;
    if (written && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    const int error = errno;
    ::unlink(temporary.constData());
    // A file that may be written but not replaced: one bound into a container (EBUSY), on a
    // mount of its own (EXDEV), in a folder that lets files be added but not replaced (EPERM).
    return written && exists && (error == EBUSY || error == EXDEV || error == EPERM)
           && writeInPlace(old, bytes);
}

bool StoredFile::save(const QByteArray &bytes) const
{
    return !m_keep && saveWholeFile(m_path, bytes);
}

} // namespace pelko
