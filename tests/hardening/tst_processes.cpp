// The real program started as separate processes: one copy per user, wherever the lock has to
// be kept, and a lock left behind by a killed copy does not keep the next one out; ended by a
// signal, as at logout, by `kill` or by Ctrl+C, it ends as closing its window does, saving the
// settings and nothing else, without waiting for anyone when they cannot be saved, and finds its
// files in its working folder even after that folder was renamed while it ran.
//
// The program has no command line and no window system here, so what a copy does is read from
// the outside. The lock file names the pid of the copy holding it (/proc/locks names the holder
// of an flock). Every copy reads the database
// while it sets up, but only a copy let in reads the progress file, which is made large (most of
// a megabyte, unreadable as progress): the bytes a process has read, from /proc/<pid>/io, tell
// whether it got in, since everything else a start reads comes to a few hundred kilobytes. A
// refused copy reads the lock file (to see whether its owner still lives), which inotify on the
// lock's folder reports, and then waits in its modal box without reading the progress file.
//
// Every wait ends as soon as the outcome is known: when a copy has ended, when both copies have
// read the progress file (the lock is broken), or when neither has done anything for two seconds;
// the checks that follow then fail at once and say why.
#include "FileStore.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <csignal>

#include <grp.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

constexpr qint64 kLarge = 1000 * 1000; // the progress file, within its limit

// A working folder whose progress file is most of a megabyte of damage: a copy let in reads it
// whole and then shows the damage message.
struct Data : Folder {
    Data() : Folder(namedQuests({"A"}), QByteArray(kLarge, 'x')) {}
};

// The user's runtime and cache folders, made with mode 0700 as Qt asks of a runtime folder.
struct UserFolders {
    QTemporaryDir runtime, cache;
};

// The pid a lock names, 0 when there is none: the one written in a lock file, or the holder of
// an flock on any other file, as /proc/locks lists it ("1: FLOCK ADVISORY WRITE <pid> <dev>:<inode>
// 0 EOF").
qint64 lockOwner(const QString &lock)
{
    if (lock.endsWith("pelko.lock"))
        return readFile(lock, 4096).bytes.split('\n')[0].toLongLong();
    struct stat st {
    };
    QFile locks("/proc/locks");
    if (::stat(QFile::encodeName(lock).constData(), &st) != 0 || !locks.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray inode = ':' + QByteArray::number(qulonglong(st.st_ino));
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QByteArrayList f = line.simplified().split(' ');
        if (f.size() > 5 && f[1] == "FLOCK" && f[5].endsWith(inode))
            return f[4].toLongLong();
    }
    return 0;
}

// The real program started in a working folder, with runtime and cache folders of its own, on
// the offscreen platform, as the unprivileged user nobody when asked and the test runs as root;
// killed when the test is done with it. Its error output is kept for the test to read.
struct Copy : QProcess {
    Copy(const QString &workDir, const QString &runtime, const QString &cache,
         bool asNobody = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("XDG_CACHE_HOME", cache);
        setProcessEnvironment(env);
        setWorkingDirectory(workDir);
        setProcessChannelMode(QProcess::ForwardedOutputChannel);
        if (asNobody && ::geteuid() == 0) {
            setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(127);
            });
        }
        start(PELKO_PELKO, {});
        if (!waitForStarted())
            qFatal("cannot start the program");
    }
    Copy(const Data &data, const UserFolders &user)
        : Copy(data.path(), user.runtime.path(), user.cache.path())
    {}
    ~Copy() override
    {
        kill();
        waitForFinished();
    }
    // A file of /proc/<pid>/, empty once the process is gone.
    QByteArray proc(const char *name) const
    {
        QFile f(QStringLiteral("/proc/%1/%2").arg(processId()).arg(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool gotIn() const
    {
        const QRegularExpression rchar("rchar: *(\\d+)");
        return rchar.match(proc("io")).captured(1).toLongLong() >= kLarge;
    }
    // Changes while the copy does anything: bytes read and processor time used.
    QByteArray activity() const
    {
        return proc("io").left(40) + proc("stat").split(' ').mid(13, 2).join();
    }
    // Holds the lock and has read the progress file.
    bool owns(const QString &lock) const { return lockOwner(lock) == processId() && gotIn(); }
};

// Waits until done() holds, or the outcome is known otherwise (see above), or ms have passed.
template <typename F> void waitUntil(F done, const Copy &a, const Copy &b, int ms = 30000)
{
    const QDeadlineTimer deadline(ms);
    QByteArray activity;
    QDeadlineTimer idle(2000);
    while (!done() && !deadline.hasExpired() && !idle.hasExpired() && a.state() == QProcess::Running
           && b.state() == QProcess::Running && !(a.gotIn() && b.gotIn())) {
        const QByteArray now = a.activity() + '/' + b.activity();
        if (now != activity)
            idle.setRemainingTime(2000);
        activity = now;
        QTest::qWait(20);
    }
}

} // namespace

class TestProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // runtimeBlocked: a folder stands at the lock's name in the runtime folder. cacheBlocked: the
    // cache folder cannot be made (a file stands in its way). lockIn: where the lock then is;
    // "Pelko.dat" when the working folder cannot be written either (mode 0555, with a writable
    // progress file, the copies run as a player): the database, never rewritten, is locked.
    void twoCopiesAtOnce_data()
    {
        QTest::addColumn<bool>("runtimeBlocked");
        QTest::addColumn<bool>("cacheBlocked");
        QTest::addColumn<QString>("lockIn");
        addRow("runtime folder", false, false, "runtime");
        addRow("folder at the runtime lock", true, false, "cache");
        addRow("nor a cache folder", true, true, "working folder");
        addRow("nor the working folder", true, true, "Pelko.dat");
    }

    void twoCopiesAtOnce()
    {
        QFETCH(bool, runtimeBlocked);
        QFETCH(bool, cacheBlocked);
        QFETCH(QString, lockIn);
        Data data;
        UserFolders user;
        QVERIFY(!runtimeBlocked || QDir(user.runtime.path()).mkdir("pelko.lock"));
        QString cache = user.cache.path();
        if (cacheBlocked) {
            QFile(user.cache.filePath("file")).open(QIODevice::WriteOnly);
            cache = user.cache.filePath("file/cache");
        }
        QVERIFY(cacheBlocked || QDir(cache).mkpath("pelko")); // so that it can be watched
        const bool asPlayer = lockIn == "Pelko.dat";
        if (asPlayer) {
            QVERIFY(::geteuid() != 0
                    || ::chown(QFile::encodeName(user.runtime.path()), 65534, 0) == 0);
            QFile::setPermissions(data.filePath("clr_stat.dat"), QFileDevice::Permissions(0x6666));
            QFile::setPermissions(data.path(), QFileDevice::Permissions(0x5555));
        }
        const QString folder = lockIn == "runtime" ? user.runtime.path()
                               : lockIn == "cache" ? cache + "/pelko"
                                                   : data.path();
        const QString lock = folder + (asPlayer ? "/Pelko.dat" : "/pelko.lock");
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(folder), IN_CLOSE_NOWRITE) >= 0);
        Copy a(data.path(), user.runtime.path(), cache, asPlayer),
            b(data.path(), user.runtime.path(), cache, asPlayer);
        bool seen = false; // whether the lock file was closed after reading; events merge
        char buffer[4096];
        waitUntil(
            [&] {
                const ssize_t n = ::read(watch, buffer, sizeof buffer);
                seen = seen
                       || (n > 0
                           && QByteArray(buffer, n).contains(QFileInfo(lock).fileName().toUtf8()));
                return seen && (a.owns(lock) || b.owns(lock));
            },
            a, b);
        // Time enough for a copy let in by mistake to read the progress file too.
        waitUntil([] { return false; }, a, b, 1000);
        ::close(watch);
        QVERIFY2(a.gotIn() != b.gotIn(), "both copies run, or neither");
        QVERIFY(seen);
        QVERIFY(a.owns(lock) || b.owns(lock));
        const Copy &refused = a.owns(lock) ? b : a;
        QCOMPARE(refused.state(), QProcess::Running); // waiting in its box
        // The folder can be removed again.
        QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7700));
    }

    // A crash leaves the lock file behind, naming the dead copy; the next copy takes it over,
    // while another user's copy is never kept out.
    void killedCopyAndOtherUser()
    {
        Data data;
        UserFolders user, theirs;
        const QString lock = user.runtime.filePath("pelko.lock");
        auto first = std::make_unique<Copy>(data, user);
        waitUntil([&] { return first->owns(lock); }, *first, *first);
        QVERIFY(first->owns(lock));
        const qint64 dead = first->processId();
        first.reset(); // SIGKILL
        QCOMPARE(lockOwner(lock), dead);
        Copy next(data, user), other(data, theirs);
        waitUntil([&] { return next.owns(lock) && other.gotIn(); }, next, other);
        QVERIFY(next.owns(lock));
        QCOMPARE(lockOwner(theirs.runtime.filePath("pelko.lock")), other.processId());
    }

    // folder: the working folder's name when the signal comes. saved: whether the settings can
    // be saved; when not (a folder stands at Pelko.ini), no one is asked: the failure goes to
    // the error output and the program ends at once, with status 1.
    void signal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("saved");
        addRow("SIGTERM, folder renamed", int(SIGTERM), "moved", true);
        addRow("SIGHUP", int(SIGHUP), "data", true);
        addRow("SIGINT (Ctrl+C)", int(SIGINT), "data", true);
        addRow("SIGTERM, settings cannot be saved", int(SIGTERM), "data", false);
    }

    void signal()
    {
        QFETCH(int, signal);
        QFETCH(QString, folder);
        QFETCH(bool, saved);
        WorkDir dir;
        QTemporaryDir runtime, cache;
        QVERIFY(QDir(dir.path()).mkdir("data"));
        dir.write("data/Pelko.dat", databaseBytes(namedQuests({"A", "B"})));
        dir.write("data/clr_stat.dat", "1,1\r\n0,1\r\n");
        if (saved)
            dir.write("data/Pelko.ini", "5,2,1,1,9\r\n");
        else
            QVERIFY(QDir(dir.filePath("data")).mkdir("Pelko.ini"));
        Copy program(dir.filePath("data"), runtime.path(), cache.path());
        // The program installs its handler once its window is shown: the start-up has ended.
        const auto catches = [&] {
            const QRegularExpression caught("SigCgt:\\s*([0-9a-f]+)");
            const QString mask = caught.match(program.proc("status")).captured(1);
            return (mask.toULongLong(nullptr, 16) >> (signal - 1) & 1) != 0;
        };
        QVERIFY(QTest::qWaitFor([&] { return catches() || program.state() != QProcess::Running; },
                                30000)
                && catches());
        QVERIFY(folder == "data" || QDir(dir.path()).rename("data", folder));
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(2000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), saved ? 0 : 1);
        QCOMPARE(QString::fromUtf8(program.readAllStandardError())
                     .contains(QStringLiteral("pelko: データ書き込み中にエラーが発生しました。\n")),
                 !saved);
        // The settings were saved, written plainly; nothing else was written, nothing is left.
        QCOMPARE(dir.file(folder + "/Pelko.ini"), saved ? "5,2,1,1\r\n" : "(none)");
        QCOMPARE(dir.file(folder + "/clr_stat.dat"), "1,1\r\n0,1\r\n");
        QCOMPARE(dir.entries(), QStringList{folder});
        QCOMPARE(QDir(dir.filePath(folder))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
