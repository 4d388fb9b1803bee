// Saving when the disk is full or fails to sync, when the folder cannot be written, and when
// something other than a file stands at the name: a save either writes the new bytes or reports
// the failure; the previous file stays as it was wherever the save could be atomic, nothing that
// is not a regular file is ever replaced, and no temporary file is left behind.
//
// Each save runs in a child process (this program, started with --save), so that a file size
// limit, a change of user or a fault injected by strace stays there. A full disk is stood in for
// by RLIMIT_FSIZE: with SIGXFSZ ignored, a write() beyond the limit fails with EFBIG exactly where
// a full disk fails with ENOSPC, and it works for root too.
#include "FileStore.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kStatus = QStringLiteral("clr_stat.dat");
const QByteArray kOldStatus = "1,1\r\n0,1\r\n";

// Much larger than the old file, and than Qt's write buffer: a short write then surfaces only in
// write()'s own answer.
const QByteArray kNewStatus = QByteArray("1,1\r\n").repeated(8000);

// Runs f while this process's files cannot grow beyond the given size. Only the soft limit is
// lowered, so that the old one can be restored.
template <typename F> void withFileSizeLimit(rlim_t bytes, F f)
{
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN); // write() then fails with EFBIG instead of ending the process
    const rlimit lowered{bytes, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &lowered); // were this to fail, no save would fail
    f();
    ::setrlimit(RLIMIT_FSIZE, &saved);
}

// The child: saves kNewStatus to path, as nobody when asked, under a size limit unless it is -1.
int saveAsChild(const char *path, long long limit, bool asNobody)
{
    if (asNobody && ::getuid() == 0
        && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 3;
    bool saved = false;
    const auto save = [&] { saved = saveWholeFile(QFile::decodeName(path), kNewStatus); };
    if (limit >= 0)
        withFileSizeLimit(rlim_t(limit), save);
    else
        save();
    return saved ? 0 : 1;
}

// strace, when it is installed and may trace here.
bool straceWorks()
{
    return !QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty()
           && QProcess::execute(QStringLiteral("strace"), {"-qq", "-o", "/dev/null", "true"}) == 0;
}

} // namespace

class Saving : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // what: what stands at clr_stat.dat ("file": the old progress; "parent is a file": the
    // target is clr_stat.dat/new). player: saved as an unprivileged user in a folder that user
    // cannot write, with the file (unless "read-only") writable. limit: the size files may grow
    // to, -1 none. syncFails: fdatasync fails with EIO. after: clr_stat.dat afterwards, empty
    // when what stood there must stand there unchanged.
    void save_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("player");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("syncFails");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QByteArray>("after");
        const qint64 size = kNewStatus.size();
        const auto row = [](const char *name, const char *what, bool player, qint64 limit,
                            bool syncFails, bool saved, const QByteArray &after) {
            addRow(name, what, player, limit, syncFails, saved, after);
        };
        row("nothing fits", "file", false, 0, false, false, kOldStatus);
        row("one byte", "file", false, 1, false, false, kOldStatus);
        row("all but one byte", "file", false, size - 1, false, false, kOldStatus);
        row("exactly enough", "file", false, size, false, true, kNewStatus);
        row("parent is a file", "parent is a file", false, -1, false, false, kOldStatus);
        row("sync fails", "file", false, -1, true, false, kOldStatus);
        // The folder refuses a temporary file: the file itself is written, every step checked.
        row("folder not writable", "file", true, -1, false, true, kNewStatus);
        row("folder not writable, disk full", "file", true, 1, false, false, kNewStatus.left(1));
        row("folder not writable, sync fails", "file", true, -1, true, false, kNewStatus);
        row("folder and file not writable", "read-only", true, -1, false, false, kOldStatus);
        row("symlink to a device", "link to device", false, -1, false, false, {});
        row("fifo", "fifo", false, -1, false, false, {});
        row("folder", "folder", false, -1, false, false, {});
    }

    void save()
    {
        QFETCH(QString, what);
        QFETCH(bool, player);
        QFETCH(qint64, limit);
        QFETCH(bool, syncFails);
        QFETCH(bool, saved);
        QFETCH(QByteArray, after);
        if (syncFails && !straceWorks())
            QSKIP("strace cannot inject faults here");
        WorkDir dir;
        const QString path = dir.filePath(kStatus);
        if (what == "file" || what == "read-only" || what == "parent is a file") {
            dir.write(kStatus, kOldStatus);
            QFile::setPermissions(path,
                                  QFileDevice::Permissions(what == "read-only" ? 0x4444 : 0x6666));
        } else if (what == "link to device") {
            // A private null device, never the system's own.
            if (::mknod(QFile::encodeName(dir.filePath("null")).constData(), S_IFCHR | 0666,
                        makedev(1, 3))
                != 0)
                QSKIP("device nodes cannot be made here");
            QVERIFY(QFile::link("null", path));
        } else {
            QVERIFY(placeOddity(path, what));
        }
        // Readable, not writable, by the player (and by the owner, when the test is not root).
        if (player)
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555));
        const QByteArray before = fingerprint(path);
        const QStringList entries = dir.entries();

        QStringList args{"--save", what == "parent is a file" ? path + "/new" : path,
                         QString::number(limit), player ? "1" : "0"};
        QString program = QCoreApplication::applicationFilePath();
        if (syncFails) {
            args = QStringList{"-f",   "-qq",
                               "-o",   "/dev/null",
                               "-e",   "trace=fdatasync",
                               "-e",   "inject=fdatasync:error=EIO",
                               program}
                   + args;
            program = QStringLiteral("strace");
        }
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(program, args);
        QVERIFY(child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit);
        QCOMPARE(child.exitCode(), saved ? 0 : 1);
        if (after.isEmpty())
            QCOMPARE(fingerprint(path), before);
        else
            QCOMPARE(dir.read(kStatus).value_or(""), after);
        QCOMPARE(dir.entries(), entries);
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700)); // to be removed
    }
};

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--save") == 0)
        return saveAsChild(argv[2], std::atoll(argv[3]), argv[4][0] == '1');
    QCoreApplication app(argc, argv);
    Saving test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_saving.moc"
