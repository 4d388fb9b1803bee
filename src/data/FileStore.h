#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace pelko {

// What stands at a file's name, as far as reading it goes.
enum class ReadStatus {
    Ok,         // a regular file, read whole
    Missing,    // nothing at the name
    Unreadable, // something is there that cannot be read: a folder, FIFO, device or socket
                // (directly or through a symlink), no permission, an I/O error
    TooLarge,   // a regular file larger than the reader's limit; never loaded into memory
};

struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes; // the whole file when status is Ok, else empty

    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads a file that may be anything a user or a crash left at the name. Only a regular file is
// read; nothing else is even opened, so a FIFO or a device never blocks the program or feeds it
// without end. At most maxBytes + 1 bytes are read, whatever the file claims its size is.
FileRead readFile(const QString &path, qint64 maxBytes);
// The same for a name in the local 8-bit encoding, as a command line gives it: such a name need
// not be valid text in that encoding, and passes through unchanged.
FileRead readLocalFile(const QByteArray &localName, qint64 maxBytes);

// Replaces a file with the given bytes, so that the file holds either its old bytes or the new
// ones, whole, whatever happens on the way; false when the save failed or was refused, the old
// file then as it was, byte for byte.
//
// The bytes go to a temporary file beside the old one, which is renamed over it only when
// everything was written and has reached the disk. The new file carries what the old one did:
// its owner and group, its permissions, its access control list and its user.* attributes.
// Where it cannot (another user's file that this one may write, attributes that do not copy, a
// file of several names), where the folder refuses a temporary file but the file itself may be
// written (a shared folder owned by someone else), or where the file cannot be replaced (a file
// bound into a container is busy), the file is written in place instead, never cut short first:
// the room for the new bytes is reserved, the new bytes go over the old ones in one write, and
// the file is cut to their length last. The program reads its files up to their own end (the end
// line of clr_stat.dat, the fourth value of Pelko.ini), so a save killed between any two steps
// leaves a file that reads as the old or the new one; only a disk failing in the middle of that
// one write can leave a mix.
//
// Refused, and left untouched: anything at the name that is not a regular file (directly or
// through a symlink), a file this user may not write (one the player made read-only, another
// user's), and a symlink that the system itself would not follow (one in a folder that is sticky
// and writable by all, such as /tmp, that belongs neither to this user nor to the folder's
// owner). A symlink that is followed stays a symlink, and the file it leads to is saved. The
// path is used as given, in the local 8-bit encoding: a relative one is resolved by the system
// at each save, so the files follow their folder when it is renamed while the program runs, and
// a folder whose name is not UTF-8 works.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

// A file the program reads once at start and saves over later. One that exists but cannot be
// read (no read permission, an I/O error, too large, not a regular file) is never saved over: its
// bytes may be the player's only copy of what the program could not show. Only a missing file
// is a fresh start.
class StoredFile
{
public:
    explicit StoredFile(QString path) : m_path(std::move(path)) {}
    FileRead read(qint64 maxBytes);
    // saveWholeFile, refused for a file that could not be read.
    bool save(const QByteArray &bytes) const;

private:
    QString m_path;
    bool m_keep = false;
};

// The marker in the name of every temporary file a save makes, after the saved file's name:
// "clr_stat.dat.pelko-save-" and six letters or digits.
inline constexpr char kSaveMarker[] = ".pelko-save-";

// Removes what saves of the given files left in a folder when the program was killed between
// writing a temporary file and renaming it: regular files of this user named as the saves name
// their temporary files (see kSaveMarker). Nothing else is touched, whatever its name: a player's
// own copy such as "clr_stat.dat.backup" is no file the program made. Call it only while no other
// copy of the program can be saving in the folder. Returns the names removed.
QStringList removeSaveLeftovers(const QString &folder, const QStringList &savedNames);

// Tests count the program's writes through this hook; it is called once per save attempt.
using SaveObserver = std::function<void(const QString &path)>;
void setSaveObserver(SaveObserver observer);

} // namespace pelko
