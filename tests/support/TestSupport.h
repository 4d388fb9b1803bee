#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/types.h>
#include <vector>

namespace pelko::test {

// One row of a data table: its name, then a value for each column in order.
template <typename... T> void addRow(const char *name, const T &...values)
{
    (QTest::newRow(name) << ... << values);
}

// A fresh working folder for one test, removed afterwards.
class WorkDir
{
public:
    WorkDir();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    // The file's bytes; "(none)" when it cannot be read.
    QByteArray file(const QString &name) const;
    // Every entry of the folder, to prove that no stray file was left behind.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

// One quest as a test writes it; texts are encoded to code page 932 and quoted.
struct Quest {
    int region = 1;
    int chainNo = 0;
    int questNo = 0; // 0: the row number (only where the test is not about quest numbers)
    QString name;
    QString client{};
    QString process{};
    QString reward1{};
    QString reward2{};
};

QByteArray ansi(const QString &text);
// A Pelko.dat image: one line per quest, CR LF, then the end record.
QByteArray databaseBytes(const std::vector<Quest> &quests, bool withEndRecord = true);
// Quests with the given names, one a row, all in region 1.
std::vector<Quest> namedQuests(const QStringList &names);

// A fresh working folder holding a database of the given quests and, unless left out, a progress
// file and a settings file.
struct Folder : WorkDir {
    explicit Folder(const std::vector<Quest> &quests,
                    const std::optional<QByteArray> &progress = QByteArray("0,0\r\n"),
                    const std::optional<QByteArray> &ini = std::nullopt);
};

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
