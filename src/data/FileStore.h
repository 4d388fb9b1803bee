#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

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

// Replaces a file with the given bytes. The bytes go to a temporary file in the same folder that
// is renamed over the old one only when everything was written and has reached the disk; on
// failure the old file stays as it was, byte for byte, and no temporary file is left behind. The
// new file keeps the old one's permissions. Where the folder refuses a temporary file but the
// file itself may be written (a shared folder owned by someone else), the file is written in
// place, with every step still checked. Anything at the name that is not a regular file (directly
// or through a symlink) is never replaced: that is a failed save; a symlink to a file stays a
// symlink, and the file it leads to is replaced. The path is used as given, in the local 8-bit
// encoding: a relative one is resolved by the system at each save, so the files follow their
// folder when it is renamed while the program runs, and a folder whose name is not UTF-8 works.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

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
