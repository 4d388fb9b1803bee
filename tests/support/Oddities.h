#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>
#include <vector>

namespace pelko::test {

// Puts something other than an ordinary file at a name: "fifo", "folder", "device" (a private
// node of an endless device, like /dev/zero), "link to device" (a symlink to such a node),
// "sparse 50 GB", "no read permission" (the present file made write-only). False when the
// system does not allow it (a device node needs root).
bool placeOddity(const QString &path, const QString &kind);

// What stands at a name, for proving that nothing replaced or changed it: its kind, size,
// device number and, for a small regular file, its bytes; for a symlink also what it points to.
QByteArray fingerprint(const QString &path);

// While one exists, the process acts as the unprivileged user nobody, so that file permissions
// hold as they do for a player (root passes every check). It opens the given folder to nobody
// for reading, not for writing. Nothing changes when the process does not run as root.
class Unprivileged
{
public:
    explicit Unprivileged(const QString &folder);
    ~Unprivileged();
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_dropped = false;
    std::vector<gid_t> m_groups;
};

} // namespace pelko::test
