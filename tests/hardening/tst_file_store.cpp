// Reading whatever stands at a file's name: only a regular file within the limit is read, and
// the answer comes at once whatever else is there.
//
// Saving whatever the disk, the folder, the user or a kill does: a save writes the new bytes or
// reports the failure, and at every step the file reads as its old or its new bytes, whole. A
// file the player may not write, anything that is not a regular file and a link the system would
// not follow are never replaced or written through; a file that is replaced keeps its owner,
// permissions, access control list and attributes; no temporary file is left behind.
//
// Each save runs in a child process (this program, started with --save), so that a file size
// limit, a change of user or a fault injected by strace stays there. A full disk is stood in for
// by RLIMIT_FSIZE: with SIGXFSZ ignored, a write() beyond the limit fails with EFBIG exactly where
// a full disk fails with ENOSPC, and it works for root too. A kill is injected by strace on
// entering a system call, so that the file is seen as it stands after the call before.
#include "ClearStatus.h"
#include "FileStore.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

Q_DECLARE_METATYPE(pelko::ReadStatus)

namespace {

// Two progress files: quests 3 and 10, and quest 1 on 8,000 lines (larger than a page, so that a
// short write surfaces only in write()'s own answer). A save writes the one the file does not
// hold.
const QByteArray kShort = "3,1\r\n10,2\r\n0,23\r\n";
const QByteArray kLong = QByteArray("1,1\r\n").repeated(8000) + "0,8000\r\n";

// The child: as nobody ('n'), having read the file first as the program does ('r'), saves kShort
// ('s') or kLong to path (see 'i' below), under a file size limit unless it is -1. 0: saved, 4:
// refused (apart from strace's own failures), 3: the child could not be set up.
int saveAsChild(const char *path, long long limit, const QByteArray &how)
{
    const rlimit lowered{rlim_t(limit), rlim_t(limit)};
    if ((how.contains('n') && ::getuid() == 0
         && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        || (limit >= 0
            && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR
                || ::setrlimit(RLIMIT_FSIZE, &lowered) != 0)))
        return 3;
    StoredFile file(QFile::decodeName(path));
    if (how.contains('r'))
        file.read(kMaxClearStatusBytes);
    // Every descriptor a save opens is closed again, and none of the process's own.
    // (Counted without opening anything: the row's fault may fail every later openat.)
    const auto open = [] {
        int n = 0;
        for (int fd = 0; fd < 1024; ++fd)
            n += ::fcntl(fd, F_GETFD) != -1;
        return n;
    };
    // With the standard input closed ('i') the save's first descriptor is 0, closed like any
    // other; left open, it is the process's own, which the save leaves alone.
    if (how.contains('i'))
        ::close(STDIN_FILENO);
    const int before = open();
    const bool saved = file.save(how.contains('s') ? kShort : kLong);
    return open() != before ? 5 : saved ? 0 : 4;
}

// Puts `what` at dir's clr_stat.dat (see save_data) in a folder of the given mode; the path to
// save, or empty when the system does not allow the fixture.
QString place(const WorkDir &dir, const QString &what, int folderMode)
{
    const QString path = dir.filePath("clr_stat.dat");
    // A mode for a name in dir (unless -1) and, where the test runs as root, an owner.
    const auto set = [&dir](int mode, uid_t owner, const QString &name = "clr_stat.dat") {
        const QByteArray native = QFile::encodeName(dir.filePath(name));
        return (mode < 0 || ::chmod(native.constData(), mode_t(mode)) == 0)
               && (::geteuid() != 0 || ::lchown(native.constData(), owner, owner) == 0);
    };
    const uid_t nobody = 65534;
    bool placed = true;
    if (QStringList{"fifo", "folder", "link to device"}.contains(what)) {
        placed = placeOddity(path, what);
    } else if (what.endsWith("link") && what != "hard link") {
        QDir(dir.path()).mkdir("home");
        dir.write("home/notes.txt", kShort); // the player's own file elsewhere
        const uid_t owner = what.startsWith("own") ? nobody : what.startsWith("folder") ? 0 : 1234;
        placed = set(-1, nobody, "home") && set(-1, nobody, "home/notes.txt")
                 && QFile::link(what.contains("dangling") ? "home/new.txt" : "home/notes.txt", path)
                 && set(-1, owner);
    } else if (what != "missing") {
        dir.write("clr_stat.dat", what == "long file" ? kLong : kShort);
        const auto run = &QProcess::execute; // 0: done
        placed = what == "read-only"            ? set(0444, nobody)
                 : what == "another's file"     ? set(0644, 0)
                 : what == "no read permission" ? set(0222, 0)
                 : what == "hard link"          ? !run("ln", {path, dir.filePath("copy")})
                 : what != "acl"                ? set(0666, 0)
                                 : set(0640, 0) && !run("setfacl", {"-m", "u:nobody:rw,g::r", path})
                                       && !run("setfattr", {"-n", "user.note", "-v", "mine", path})
                                       && (::geteuid() != 0 // the group alone not the saver's
                                           || ::chown(QFile::encodeName(path), 0, nobody) == 0);
    }
    placed = placed && set(folderMode, 0, ".");
    return !placed ? QString() : what == "parent is a file" ? path + "/new" : path;
}

// The number of the first call to `call` whose trace holds text, in a save of what that only
// traces, over a fixture of its own; 0 when there is none.
int callNumber(const QString &what, int folder, QStringList args, const QString &call,
               const QString &text)
{
    WorkDir twin;
    args[2] = place(twin, what, folder);
    QProcess::execute(
        "strace", QStringList{"-qq", "-o", twin.filePath("trace"), "-e", "trace=" + call} + args);
    return QString(twin.file("trace")).split('\n').indexOf(QRegularExpression(".*" + text + ".*"))
           + 1;
}

// What stands at a name: its inode and what fingerprint() sees, which a save that does not
// replace the file keeps; then what a save that does must carry over: the name's kind (a symlink
// stays one), the file's number of names, owner, group, mode and extended attributes (the access
// control list among them).
QByteArrayList facts(const QString &path)
{
    QProcess dump;
    dump.start("sh", {"-c",
                      "stat -c %i \"$0\"; stat -c %F \"$0\"; stat -L -c '%h %u %g %f' \"$0\"; "
                      "getfattr -d -m - -e hex --absolute-names \"$0\"",
                      path});
    dump.waitForFinished();
    const QByteArray out = dump.readAllStandardOutput();
    return {out.left(out.indexOf('\n')) + fingerprint(path), out.mid(out.indexOf('\n'))};
}

} // namespace

class TestFileStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // kind: what stands at "f" ("file": bytes; "link": a symlink to a file of bytes; "dangling":
    // a symlink to nothing; else an oddity); bytes: read back when Ok. The limit is 10 bytes.
    void read_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ReadStatus>("status");
        const auto row = [](const char *name, const char *kind, const char *bytes, ReadStatus s) {
            addRow(name, QString(kind), QByteArray(bytes), s);
        };
        row("regular file", "file", "0,0\r\n", ReadStatus::Ok);
        row("empty file", "file", "", ReadStatus::Ok);
        row("exactly the limit", "file", "0123456789", ReadStatus::Ok);
        row("one byte over", "file", "0123456789A", ReadStatus::TooLarge);
        row("missing", "missing", "", ReadStatus::Missing);
        row("dangling symlink", "dangling", "", ReadStatus::Missing);
        row("symlink to a file", "link", "1,1\r\n", ReadStatus::Ok);
        for (const char *kind : {"fifo", "folder", "device", "link to device"})
            row(kind, kind, "", ReadStatus::Unreadable);
        row("sparse 50 GB", "sparse 50 GB", "", ReadStatus::TooLarge);
        row("no read permission", "no read permission", "0,0\r\n", ReadStatus::Unreadable);
    }

    void read()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        WorkDir dir;
        const QString path = dir.filePath("f");
        dir.write(kind == "file" || kind == "no read permission" ? "f" : "target", bytes);
        if (kind == "link" || kind == "dangling")
            QVERIFY(QFile::link(kind == "link" ? "target" : "nothing", path));
        else if (kind != "file" && kind != "missing" && !placeOddity(path, kind))
            QSKIP("device nodes cannot be made here");
        const FileRead read = [&] {
            Unprivileged player(dir.path());
            return readFile(path, 10);
        }();
        QTEST(read.status, "status");
        QCOMPARE(read.bytes, read.status == ReadStatus::Ok ? bytes : QByteArray());
    }

    // what: what stands at clr_stat.dat: a "file" of kShort (saved with kLong), a "long file" of
    // kLong (saved with kShort), both 0666 and root's; the player's own "read-only" file;
    // "another's file" (root's, 0644); an "acl" file (root's, 0640, that nobody may write through
    // its access control list, with a user attribute); "no read permission" (root's, 0222; read
    // before the save); "missing" (read before the save); "parent is a file" (the target is
    // clr_stat.dat/new); a symlink to the player's home/notes.txt (or, "dangling", to
    // home/new.txt) of another user, of the folder's owner (root) or of the player; oddities.
    // folder: the working folder's mode, root's; the save runs as root in a folder of 0755, as
    // the unprivileged player nobody in any other. fault: "limit:N" (the file size limit), or
    // strace tampering "SYSCALL[#K][@TEXT][+]:ACTION", where #K is the K-th call, @TEXT the first
    // call whose trace holds TEXT, + that call and all after it, and ACTION "KILL" or error=E.
    // after: clr_stat.dat's bytes afterwards (a save that is not killed reports success); empty
    // when what stood there must stand unchanged (the save reports failure).
    void save_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("folder");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char *name, const char *what, int folder, const QString &fault,
                            const QByteArray &after) {
            addRow(name, QString(what), folder, fault, after);
        };
        const QByteArray S = kShort, L = kLong, no, cut = S + L.mid(S.size()),
                         blanks = S + QByteArray(L.size() - S.size(), ' ');
        const int own = 0755, closed = 0555, open = 0777, shared = 01777;
        const QString none, in = "fallocate:error=EOPNOTSUPP",
                            tight = "limit:" + QString::number(L.size() - 1);
        row("nothing fits", "file", own, "limit:0", no);
        row("one byte", "file", own, "limit:1", no);
        row("all but one byte", "file", own, tight, no);
        row("exactly enough", "file", own, "limit:" + QString::number(L.size()), L);
        row("parent is a file", "parent is a file", own, none, no);
        row("sync fails", "file", own, "fdatasync:error=EIO", no);
        row("symlink to a device", "link to device", own, none, no);
        row("fifo", "fifo", own, none, no);
        row("folder", "folder", own, none, no);
        // The temporary file refused, or the rename: the old file stays, or is written in place.
        for (const char *error : {"ENOSPC", "EDQUOT", "EMFILE", "EROFS"})
            row(error, "file", own, QString("openat@pelko-save:error=") + error, no);
        row("every name taken", "file", own, "openat@pelko-save+:error=EEXIST", no);
        row("busy: a file bound into a container", "file", own, "/^rename:error=EBUSY", L);
        row("another mount", "file", own, "/^rename:error=EXDEV", L);
        // What the player may not write is refused; what the player may, keeps what it had.
        row("read-only, folder not writable", "read-only", closed, none, no);
        row("read-only, folder writable", "read-only", open, none, no);
        row("read-only, as root", "read-only", own, none, L);
        row("another's file", "another's file", open, none, no);
        row("another's file, shared folder, writable", "file", shared, none, L);
        row("acl: carried over", "acl", own, none, L);
        row("acl: writable through it", "acl", open, none, L);
        row("no read permission: kept", "no read permission", open, none, no);
        row("missing: a fresh start", "missing", open, none, L);
        // Links in a shared folder are followed only where the system would follow them.
        row("another's link", "another's link", shared, none, no);
        row("another's dangling link", "another's dangling link", shared, none, no);
        row("another's link, folder not shared", "another's link", open, none, L);
        row("the folder owner's link", "folder owner's link", shared, none, L);
        row("own link", "own link", shared, none, L);
        row("hard link", "hard link", own, none, L);
        // The folder refuses a temporary file: the file is written in place, and reads as the
        // old or the new bytes after every call (the reader stops at the end line).
        row("in place", "file", closed, none, L);
        row("in place, disk full", "file", closed, "limit:1", no);
        row("in place, all but one byte", "file", closed, tight, no);
        row("in place, no room", "file", closed, "fallocate:error=ENOSPC", no);
        row("in place, sync fails", "file", closed, "fdatasync:error=EIO", no);
        row("in place, killed reserving", "file", closed, "fallocate:KILL", S);
        row("in place, killed syncing the room", "file", closed, "fdatasync:KILL", S);
        row("in place, killed writing", "file", closed, "pwrite64:KILL", S);
        row("in place, killed syncing", "file", closed, "fdatasync#2:KILL", L);
        row("in place, shorter", "long file", closed, none, S);
        row("in place, shorter, killed writing", "long file", closed, "pwrite64:KILL", L);
        row("in place, shorter, killed syncing", "long file", closed, "fdatasync:KILL", cut);
        row("in place, shorter, killed cutting", "long file", closed, "ftruncate:KILL", cut);
        row("in place, shorter, killed syncing the cut", "long file", closed, "fdatasync#2:KILL",
            S);
        row("in place, blanks", "file", closed, in, L);
        row("in place, blanks, disk full", "file", closed, in + " pwrite64:error=ENOSPC", no);
        row("in place, blanks, killed writing them", "file", closed, in + " pwrite64:KILL", S);
        row("in place, blanks, killed syncing them", "file", closed, in + " fdatasync:KILL",
            blanks);
        row("in place, blanks, killed writing", "file", closed, in + " pwrite64#2:KILL", blanks);
        row("in place, blanks, killed syncing", "file", closed, in + " fdatasync#2:KILL", L);
    }

    void save()
    {
        QFETCH(QString, what);
        QFETCH(int, folder);
        QFETCH(QString, fault);
        QFETCH(QByteArray, after);
        const bool limited = fault.startsWith("limit:"), traced = !fault.isEmpty() && !limited;
        if (traced && QProcess::execute("strace", {"-qq", "-o", "/dev/null", "true"}) != 0)
            QSKIP("strace cannot inject faults here");
        if ((folder == 0755 ? what == "read-only" : folder != 0555) && ::geteuid() != 0)
            QSKIP("only root can act as, or for, another user");
        WorkDir dir;
        const QString path = place(dir, what, folder);
        if (path.isEmpty())
            QSKIP("this system does not allow the fixture (device nodes, ACLs)");
        const QString how = QString(folder != 0755 ? "n" : "") + (what == "long file" ? "s" : "")
                            + (what == "no read permission" || what == "missing" ? "r" : "")
                            + (traced ? "i" : "");
        const QStringList args{QCoreApplication::applicationFilePath(), "--save", path,
                               limited ? fault.mid(6) : "-1", how};
        QStringList command{"strace", "-qq", "-o", "/dev/null"};
        for (QString item : traced ? fault.split(' ') : QStringList()) {
            const QRegularExpressionMatch at = QRegularExpression("^(\\w+)@([^+:]+)").match(item);
            if (at.hasMatch()) { // counted in a run that only traces, over the same fixture
                const int when = callNumber(what, folder, args, at.captured(1), at.captured(2));
                QVERIFY(when > 0);
                item.replace('@' + at.captured(2), '#' + QString::number(when));
            }
            item.replace(QRegularExpression("#(\\d+\\+?)(.*)"), "\\2:when=\\1");
            command << "-e"
                    << "inject=" + item.replace("KILL", "signal=KILL");
        }
        const QByteArrayList before = facts(path);
        // A missing file's folder is empty before the save.
        const QStringList entries = what == "missing" ? QStringList{"clr_stat.dat"} : dir.entries();
        command = traced ? command + args : args;
        const int status = QProcess::execute(command.first(), command.mid(1)); // -1: killed
        QCOMPARE(status, fault.contains("KILL") ? -1 : after.isEmpty() ? 4 : 0);
        if (after.isEmpty())
            QCOMPARE(facts(path), before);
        else
            QCOMPARE(dir.file("clr_stat.dat"), after);
        if (!after.isEmpty() && what != "missing")
            QCOMPARE(facts(path)[1], before[1]);
        QCOMPARE(dir.entries(), entries);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700); // to be removed
    }

    // A working folder whose name is not UTF-8 (Shift_JIS, as drives shared with older systems
    // have them), named relative to it as the program names its files: a file is saved over, a
    // new file is made, and only the leftovers of saves are removed: regular files of this user
    // named after a saved file, the marker and six letters or digits. Whatever else stands there
    // is the player's and is kept: copies like clr_stat.dat.backup, names that older versions'
    // saves made (the program cannot tell them from the player's), links or folders with a
    // save's name, and another user's file (their own copy may be saving it, in a folder the two
    // share).
    void shiftJisFolder()
    {
        WorkDir dir;
        const QByteArray folder =
            QFile::encodeName(dir.path()) + "/\x83\x79\x83\x8b\x83\x52"; // ペルコ
        const QByteArray back = QFile::encodeName(QDir::currentPath());
        QVERIFY(::mkdir(folder.constData(), 0700) == 0 && ::chdir(folder.constData()) == 0);
        // The letters and digits at both ends of their runs, and the characters just outside.
        const QStringList leftovers{"Pelko.ini.pelko-save-AZaz09",
                                    "clr_stat.dat.pelko-save-x1Y2z3"};
        QStringList kept =
            QString("clr_stat.dat clr_stat.dat.backup clr_stat.dat.before "
                    "Pelko.ini.backup clr_stat.dat.AbCdEf clr_stat.dat.pelko-save-AbCd "
                    "pelko.ini.pelko-save-AbCdEf clr_stat.dat.pelko-save-@[`{:0 "
                    "clr_stat.dat.pelko-save-Nobody")
                .split(' ');
        for (const QString &name : kept + leftovers)
            QFile(name).open(QIODevice::WriteOnly);
        // Another user's, where the test may give a file away (as root); else not there.
        QVERIFY(::geteuid() == 0 ? ::chown("clr_stat.dat.pelko-save-Nobody", 65534, 0) == 0
                                 : QFile::remove(kept.takeLast()));
        QVERIFY(::symlink("clr_stat.dat", "Pelko.ini.pelko-save-QwErTy") == 0
                && ::mkdir("clr_stat.dat.pelko-save-Folder", 0700) == 0);
        const bool saved =
            saveWholeFile("clr_stat.dat", kLong) && saveWholeFile("Pelko.ini", kShort);
        QStringList removed = removeSaveLeftovers(".", {"clr_stat.dat", "Pelko.ini"});
        // The folder gets a name that the temporary folder's own clean-up can spell.
        QVERIFY(::chdir(back.constData()) == 0
                && ::rename(folder.constData(), QFile::encodeName(dir.filePath("x"))) == 0);
        QVERIFY(saved);
        removed.sort();
        QCOMPARE(removed, leftovers);
        QCOMPARE(dir.file("x/clr_stat.dat"), kLong);
        QCOMPARE(dir.file("x/Pelko.ini"), kShort);
        kept.append({"Pelko.ini", "Pelko.ini.pelko-save-QwErTy", "clr_stat.dat.pelko-save-Folder"});
        kept.sort();
        QCOMPARE(QDir(dir.filePath("x"))
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 kept);
    }
};

int main(int argc, char *argv[])
{
    // The child ends without exit handlers: a sanitizer build's leak check at exit cannot work
    // under strace's ptrace (the save's own memory is checked by the rows of the other tests).
    if (argc == 5 && qstrcmp(argv[1], "--save") == 0)
        std::_Exit(saveAsChild(argv[2], std::atoll(argv[3]), argv[4]));
    QCoreApplication app(argc, argv);
    TestFileStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_file_store.moc"
