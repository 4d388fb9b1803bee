// Reading whatever stands at a file's name: only a regular file within the limit is read, and
// the answer comes at once whatever else is there.
//
// TestFileStore when the disk is full or fails to sync, when the folder cannot be written, and when
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
#include <QDir>
#include <QStandardPaths>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

Q_DECLARE_METATYPE(pelko::ReadStatus)

namespace {

const QByteArray kOld = "1,1\r\n0,1\r\n";
// A progress file of 8,000 quests: larger than Qt's write buffer, so that a short write surfaces
// only in write()'s own answer.
const QByteArray kNew = QByteArray("1,1\r\n").repeated(8000);

// The child: saves kNew to path, as nobody when asked, under a size limit unless it is -1.
int saveAsChild(const char *path, long long limit, bool asNobody)
{
    if (asNobody && ::getuid() == 0
        && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 3;
    const rlimit lowered{rlim_t(limit), rlim_t(limit)};
    if (limit >= 0
        && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &lowered) != 0))
        return 3;
    return saveWholeFile(QFile::decodeName(path), kNew) ? 0 : 1;
}

} // namespace

class TestFileStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // kind: how the file "f" is made; bytes: written first (and read back when Ok). The limit
    // is 10 bytes.
    void read_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ReadStatus>("status");
        addRow("regular file", "", QByteArray("0,0\r\n"), ReadStatus::Ok);
        addRow("empty file", "", QByteArray(), ReadStatus::Ok);
        addRow("exactly the limit", "", QByteArray("0123456789"), ReadStatus::Ok);
        addRow("one byte over", "", QByteArray("0123456789A"), ReadStatus::TooLarge);
        addRow("missing", "missing", QByteArray(), ReadStatus::Missing);
        addRow("dangling symlink", "dangling", QByteArray(), ReadStatus::Missing);
        addRow("symlink to a file", "link", QByteArray("1,1\r\n"), ReadStatus::Ok);
        addRow("fifo", "fifo", QByteArray(), ReadStatus::Unreadable);
        addRow("folder", "folder", QByteArray(), ReadStatus::Unreadable);
        addRow("endless device", "device", QByteArray(), ReadStatus::Unreadable);
        addRow("link to device", "link to device", QByteArray(), ReadStatus::Unreadable);
        addRow("sparse 50 GB", "sparse 50 GB", QByteArray(), ReadStatus::TooLarge);
        addRow("no read permission", "no read permission", QByteArray("0,0\r\n"),
               ReadStatus::Unreadable);
    }

    void read()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(ReadStatus, status);
        WorkDir dir;
        const QString path = dir.filePath("f");
        if (kind == "link" || kind == "no read permission" || kind.isEmpty())
            dir.write(kind == "link" ? "target" : "f", bytes);
        if (kind == "link" || kind == "dangling")
            QVERIFY(QFile::link("target", path));
        else if (!kind.isEmpty() && kind != "missing" && kind != "link" && !placeOddity(path, kind))
            QSKIP("device nodes cannot be made here");
        FileRead read;
        {
            Unprivileged player(dir.path());
            read = readFile(path, 10);
        }
        QCOMPARE(read.status, status);
        QCOMPARE(read.bytes, status == ReadStatus::Ok ? bytes : QByteArray());
    }

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
        const qint64 size = kNew.size(), none = -1;
        addRow("nothing fits", "file", false, qint64(0), false, false, kOld);
        addRow("one byte", "file", false, qint64(1), false, false, kOld);
        addRow("all but one byte", "file", false, size - 1, false, false, kOld);
        addRow("exactly enough", "file", false, size, false, true, kNew);
        addRow("parent is a file", "parent is a file", false, none, false, false, kOld);
        addRow("sync fails", "file", false, none, true, false, kOld);
        // The folder refuses a temporary file: the file itself is written, every step checked.
        addRow("folder not writable", "file", true, none, false, true, kNew);
        addRow("folder not writable, disk full", "file", true, qint64(1), false, false,
               kNew.left(1));
        addRow("folder not writable, sync fails", "file", true, none, true, false, kNew);
        addRow("folder and file not writable", "read-only", true, none, false, false, kOld);
        addRow("symlink to a device", "link to device", false, none, false, false, QByteArray());
        addRow("fifo", "fifo", false, none, false, false, QByteArray());
        addRow("folder", "folder", false, none, false, false, QByteArray());
    }

    void save()
    {
        QFETCH(QString, what);
        QFETCH(bool, player);
        QFETCH(qint64, limit);
        QFETCH(bool, syncFails);
        QFETCH(QByteArray, after);
        if (syncFails && QProcess::execute("strace", {"-qq", "-o", "/dev/null", "true"}) != 0)
            QSKIP("strace cannot inject faults here");
        WorkDir dir;
        const QString path = dir.filePath("clr_stat.dat");
        if (what == "file" || what == "read-only" || what == "parent is a file") {
            dir.write("clr_stat.dat", kOld);
            QFile::setPermissions(path,
                                  QFileDevice::Permissions(what == "read-only" ? 0x4444 : 0x6666));
        } else if (!placeOddity(path, what)) {
            QSKIP("device nodes cannot be made here");
        }
        // Readable, not writable, by the player (and by the owner, when the test is not root).
        if (player)
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555));
        const QByteArray before = fingerprint(path);
        const QStringList entries = dir.entries();
        QStringList args{QCoreApplication::applicationFilePath(), "--save",
                         what == "parent is a file" ? path + "/new" : path, QString::number(limit),
                         player ? "1" : "0"};
        if (syncFails)
            args = QString("-f -qq -o /dev/null -e trace=fdatasync -e inject=fdatasync:error=EIO")
                       .split(' ')
                   + args;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        const QString program = syncFails ? "strace" : args.takeFirst();
        child.start(program, args);
        QVERIFY(child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit);
        QTEST(child.exitCode() == 0, "saved");
        QCOMPARE(child.exitCode() > 1, false);
        if (after.isEmpty())
            QCOMPARE(fingerprint(path), before);
        else
            QCOMPARE(dir.file("clr_stat.dat"), after);
        QCOMPARE(dir.entries(), entries);
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700)); // to be removed
    }

    // A working folder whose name is not UTF-8 (Shift_JIS, as drives shared with older systems
    // have them), named relative to it as the program names its files: a save over a file keeps
    // its permissions, a new file is made, and only the leftovers of saves are removed: regular
    // files of this user named after a saved file, the marker and six letters or digits.
    // Whatever else stands there is the player's and is kept: copies like clr_stat.dat.backup,
    // names that older versions' saves made (the program cannot tell them from the player's),
    // links or folders with a save's name, and another user's file (their own copy may be saving
    // it, in a folder the two share).
    void shiftJisFolder()
    {
        WorkDir dir;
        const QByteArray folder =
            QFile::encodeName(dir.path()) + "/\x83\x79\x83\x8b\x83\x52"; // ペルコ
        const QByteArray back = QFile::encodeName(QDir::currentPath());
        QVERIFY(::mkdir(folder.constData(), 0700) == 0 && ::chdir(folder.constData()) == 0);
        for (const QString &name :
             QString("clr_stat.dat clr_stat.dat.backup clr_stat.dat.before Pelko.ini.backup "
                     "clr_stat.dat.AbCdEf clr_stat.dat.pelko-save-AbCd pelko.ini.pelko-save-AbCdEf "
                     "clr_stat.dat.pelko-save-Nobody Pelko.ini.pelko-save-Gh1jK9 "
                     "clr_stat.dat.pelko-save-x1Y2z3")
                 .split(' '))
            QFile(name).open(QIODevice::WriteOnly);
        QVERIFY(::symlink("clr_stat.dat", "Pelko.ini.pelko-save-QwErTy") == 0
                && ::mkdir("clr_stat.dat.pelko-save-Folder", 0700) == 0);
        // Another user's, where the test may give a file away (as root); else not there.
        const bool root = ::geteuid() == 0;
        QVERIFY(root ? ::chown("clr_stat.dat.pelko-save-Nobody", 65534, 0) == 0
                     : QFile::remove("clr_stat.dat.pelko-save-Nobody"));
        QVERIFY(::chmod("clr_stat.dat", 0604) == 0);
        const bool saved = saveWholeFile("clr_stat.dat", kNew) && saveWholeFile("Pelko.ini", kOld);
        QStringList removed = removeSaveLeftovers(".", {"clr_stat.dat", "Pelko.ini"});
        const FileRead progress = readFile("clr_stat.dat", kNew.size());
        const QByteArray mode = fingerprint("clr_stat.dat").left(6);
        // The folder gets a name that the temporary folder's own clean-up can spell.
        QVERIFY(::chdir(back.constData()) == 0
                && ::rename(folder.constData(), QFile::encodeName(dir.filePath("x"))) == 0);
        QVERIFY(saved);
        removed.sort();
        QCOMPARE(removed,
                 QStringList({"Pelko.ini.pelko-save-Gh1jK9", "clr_stat.dat.pelko-save-x1Y2z3"}));
        QCOMPARE(progress.bytes, kNew);
        QCOMPARE(mode, "100604");
        QCOMPARE(dir.file("x/Pelko.ini"), kOld);
        QStringList left =
            QString("Pelko.ini Pelko.ini.backup Pelko.ini.pelko-save-QwErTy clr_stat.dat "
                    "clr_stat.dat.AbCdEf clr_stat.dat.backup clr_stat.dat.before "
                    "clr_stat.dat.pelko-save-AbCd clr_stat.dat.pelko-save-Folder "
                    "clr_stat.dat.pelko-save-Nobody pelko.ini.pelko-save-AbCdEf")
                .split(' ');
        if (!root)
            left.removeOne("clr_stat.dat.pelko-save-Nobody");
        QCOMPARE(QDir(dir.filePath("x"))
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 left);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--save") == 0)
        return saveAsChild(argv[2], std::atoll(argv[3]), argv[4][0] == '1');
    QCoreApplication app(argc, argv);
    TestFileStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_file_store.moc"
