// The real program started as separate processes: one copy per user, wherever the lock has to
// be kept, and one copy per working folder, whoever starts it from whichever session; a lock
// left behind by a killed copy does not keep the next one out; the launcher, started twice at
// once on a fresh folder, seeds it once, and never writes through a link planted in a shared
// folder; ended by a signal, as at logout, by `kill` or by Ctrl+C, it ends as closing its window
// does, saving the settings and nothing else, without waiting for anyone when they cannot be
// saved, and finds its files in its working folder even after that folder was renamed while it
// ran.
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
#include <QScopeGuard>

#include <csignal>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
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
// an flock on any other file or folder, as /proc/locks lists it ("1: FLOCK ADVISORY WRITE <pid>
// <dev>:<inode> 0 EOF").
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

// The real program (or another, the launcher) started in a working folder, with runtime and
// cache folders of its own, on the offscreen platform, as the user uid when the test runs as
// root; killed with whatever it started when the test is done with it.
struct Copy : QProcess {
    Copy(const QString &workDir, const QString &runtime, const QString &cache, uid_t uid = 0,
         const QString &program = PELKO_PELKO, const QStringList &arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("XDG_CACHE_HOME", cache);
        setProcessEnvironment(env);
        setWorkingDirectory(workDir);
        setProcessChannelMode(QProcess::ForwardedOutputChannel);
        const uid_t as = ::geteuid() == 0 ? uid : 0;
        setChildProcessModifier([as] {
            if (::setpgid(0, 0) != 0
                || (as && (::setgroups(0, nullptr) != 0 || ::setgid(as) != 0 || ::setuid(as) != 0)))
                ::_exit(127);
        });
        start(program, arguments);
        if (!waitForStarted())
            qFatal("cannot start the program");
        m_group = pid_t(processId());
    }
    Copy(const Data &data, const UserFolders &user)
        : Copy(data.path(), user.runtime.path(), user.cache.path())
    {}
    ~Copy() override
    {
        if (m_group > 0) // a launcher that failed waits on the program showing why
            ::kill(-m_group, SIGKILL);
        waitForFinished();
    }
    // Runs the program: the launcher has handed over to it.
    bool runsProgram() const
    {
        return QFileInfo(QStringLiteral("/proc/%1/exe").arg(processId())).canonicalFilePath()
               == QFileInfo(PELKO_PELKO).canonicalFilePath();
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
    pid_t m_group = 0;
};

// Reports whether a name was closed in a folder after reading (IN_CLOSE_NOWRITE; a folder opened
// counts too), since it was made; events merge, so once is all it can tell.
struct Watch {
    explicit Watch(const QString &path) : name(QFileInfo(path).fileName().toUtf8())
    {
        ::inotify_add_watch(fd, QFile::encodeName(QFileInfo(path).path()), IN_CLOSE_NOWRITE);
    }
    ~Watch() { ::close(fd); }
    bool seen()
    {
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        return closed = closed || (n > 0 && QByteArray(buffer, n).contains(name));
    }
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const QByteArray name;
    bool closed = false;
};

// The launcher as installed (bin/pelko), with the program it starts and the sample it seeds from
// beside it, all open to every user.
struct Installed : QTemporaryDir {
    Installed()
    {
        QDir(path()).mkpath("libexec/pelko");
        QDir(path()).mkpath("share/pelko");
        QDir(path()).mkpath("bin");
        QFile::copy(PELKO_LAUNCHER, filePath("bin/pelko"));
        QFile::copy(PELKO_SAMPLE, filePath("share/pelko/Pelko.dat"));
        QFile::link(PELKO_PELKO, filePath("libexec/pelko/pelko"));
        QFile::setPermissions(filePath("bin/pelko"), QFileDevice::Permissions(0x7755));
        QFile::setPermissions(path(), QFileDevice::Permissions(0x7755));
    }
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

// The working folder made one a player cannot write (mode 0555), with a progress file they can;
// the runtime folder theirs, so that a copy runs there as the user nobody.
void playerFolder(const Data &data, const UserFolders &user)
{
    QVERIFY(::geteuid() != 0 || ::chown(QFile::encodeName(user.runtime.path()), 65534, 0) == 0);
    QFile::setPermissions(data.filePath("clr_stat.dat"), QFileDevice::Permissions(0x6666));
    QFile::setPermissions(data.path(), QFileDevice::Permissions(0x5555));
}

} // namespace

class TestProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // runtimeBlocked: a folder stands at the lock's name in the runtime folder. cacheBlocked: the
    // cache folder cannot be made (a file stands in its way). lockIn: where the lock then is;
    // "folder itself" when the working folder cannot be written either (mode 0555, with a
    // writable progress file, the copies run as a player): only the folder's own lock is held.
    void twoCopiesAtOnce_data()
    {
        QTest::addColumn<bool>("runtimeBlocked");
        QTest::addColumn<bool>("cacheBlocked");
        QTest::addColumn<QString>("lockIn");
        addRow("runtime folder", false, false, "runtime");
        addRow("folder at the runtime lock", true, false, "cache");
        addRow("nor a cache folder", true, true, "working folder");
        addRow("nor the working folder", true, true, "folder itself");
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
        const bool asPlayer = lockIn == "folder itself";
        if (asPlayer)
            playerFolder(data, user);
        const QString lock = lockIn == "runtime" ? user.runtime.filePath("pelko.lock")
                             : lockIn == "cache" ? cache + "/pelko/pelko.lock"
                             : asPlayer          ? data.path()
                                                 : data.filePath("pelko.lock");
        Watch watch(lock); // the refused copy reads the lock file, or opens the folder
        const uid_t as = asPlayer ? 65534 : 0;
        Copy a(data.path(), user.runtime.path(), cache, as),
            b(data.path(), user.runtime.path(), cache, as);
        waitUntil([&] { return watch.seen() && (a.owns(lock) || b.owns(lock)); }, a, b);
        // Time enough for a copy let in by mistake to read the progress file too.
        waitUntil([] { return false; }, a, b, 1000);
        QVERIFY2(a.gotIn() != b.gotIn(), "both copies run, or neither");
        QVERIFY(watch.seen());
        QVERIFY(a.owns(lock) || b.owns(lock));
        const Copy &refused = a.owns(lock) ? b : a;
        QCOMPARE(refused.state(), QProcess::Running); // waiting in its box
        // The folder can be removed again.
        QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7700));
    }

    // A copy is refused in a folder where another runs, whatever its runtime folder: a second
    // session's copy ("session"); one in a folder where no lock file can be kept, after a new
    // database was renamed over the one the first copy read ("renamed"); one in a folder that
    // another process has locked ("locked", with the flock command). The temporary file of a save
    // in progress, of the shape the start removes as a leftover, stays whole.
    void secondStartInOneFolder_data()
    {
        QTest::addColumn<QString>("first");
        addRow("another session's copy runs", QString("session"));
        addRow("database renamed over, no lock file anywhere", QString("renamed"));
        addRow("the folder locked by another process", QString("locked"));
    }

    void secondStartInOneFolder()
    {
        QFETCH(QString, first);
        Data data;
        UserFolders user, other;
        const bool renamed = first == "renamed";
        QString cache = user.cache.path();
        if (renamed) {
            QVERIFY(QDir(user.runtime.path()).mkdir("pelko.lock"));
            QFile(user.cache.filePath("file")).open(QIODevice::WriteOnly);
            cache = user.cache.filePath("file/cache");
            playerFolder(data, user);
        }
        const uid_t as = renamed ? 65534 : 0;
        const QStringList lockFolder{"-n", data.path(), "sleep", "600"};
        const bool locked = first == "locked";
        Copy running(data.path(), (renamed ? user : other).runtime.path(),
                     renamed ? cache : other.cache.path(), as, locked ? "flock" : PELKO_PELKO,
                     locked ? lockFolder : QStringList());
        const auto holds = [&] {
            return (locked || running.gotIn()) && lockOwner(data.path()) == running.processId();
        };
        waitUntil([&] { return locked ? holds() : running.gotIn(); }, running, running);
        QVERIFY(locked ? holds() : running.gotIn());
        QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7755));
        data.write("clr_stat.dat.pelko-save-AbC123", "1,1\r\n0,1\r\n");
        if (renamed) {
            data.write("new.dat", databaseBytes(namedQuests({"B"})));
            QVERIFY(::rename(QFile::encodeName(data.filePath("new.dat")),
                             QFile::encodeName(data.filePath("Pelko.dat")))
                    == 0);
            QFile::setPermissions(data.path(), QFileDevice::Permissions(0x5555));
        }
        Watch watch(data.path());
        Copy second(data.path(), user.runtime.path(), cache, as);
        waitUntil([] { return false; }, second, running);
        QCOMPARE(data.file("clr_stat.dat.pelko-save-AbC123"), "1,1\r\n0,1\r\n");
        QVERIFY(watch.seen());
        QVERIFY(!second.gotIn());
        QCOMPARE(second.state(), QProcess::Running); // waiting in its box
        QVERIFY(holds());
        QFile::setPermissions(data.path(), QFileDevice::Permissions(0x7700));
    }

    // The launcher on a fresh data folder, as a double click on the menu entry starts it: one
    // program runs, the other is refused, and the folder holds the whole sample, with the mode a
    // new file gets, and nothing else, every round. planted: in a shared folder (mode 1777),
    // another user's link at the name the launcher once seeded through, to a file of the player's,
    // who starts it once.
    void launcher_data()
    {
        QTest::addColumn<int>("rounds");
        QTest::addColumn<bool>("planted");
        addRow("double start on a fresh folder", 20, false);
        addRow("another user's link planted", 1, true);
    }

    void launcher()
    {
        QFETCH(int, rounds);
        QFETCH(bool, planted);
        if (planted && ::geteuid() != 0)
            QSKIP("only root can plant another user's link");
        const Installed installed;
        QFile sample(PELKO_SAMPLE);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray sampleBytes = sample.readAll();
        const auto restore = qScopeGuard([mask = ::umask(027)] { ::umask(mask); });
        const uid_t player = planted ? 65533 : 0;
        for (int round = 0; round < rounds; ++round) {
            WorkDir base;
            UserFolders user;
            const QString folder = base.filePath("pelko"), notes = base.filePath("notes.txt");
            QStringList entries{"Pelko.dat"};
            if (planted) {
                QVERIFY(QDir(base.path()).mkdir("pelko"));
                base.write("notes.txt", "the player's notes\n");
                QVERIFY(QFile::link(notes, folder + "/.Pelko.dat.seed"));
                const QByteArray link = QFile::encodeName(folder + "/.Pelko.dat.seed");
                QVERIFY(::lchown(link.constData(), 65534, 65534) == 0);
                for (const QString &path : {user.runtime.path(), user.cache.path(), notes})
                    QVERIFY(::chown(QFile::encodeName(path).constData(), player, player) == 0);
                QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
                QFile::setPermissions(base.path(), QFileDevice::Permissions(0x7755));
                entries.prepend(".Pelko.dat.seed");
            }
            const QString lock = user.runtime.filePath("pelko.lock");
            Watch watch(lock);
            const QString launcher = installed.filePath("bin/pelko");
            Copy a(base.path(), user.runtime.path(), user.cache.path(), player, launcher, {folder});
            std::optional<Copy> b;
            if (!planted)
                b.emplace(base.path(), user.runtime.path(), user.cache.path(), player, launcher,
                          QStringList{folder});
            const Copy &other = b ? *b : a;
            // The program that runs holds the user's lock and the folder's, the other was refused
            // after reading the user's lock.
            const auto settled = [&] {
                const qint64 owner = lockOwner(lock);
                return a.runsProgram() && other.runsProgram() && lockOwner(folder) == owner
                       && (owner == a.processId() || owner == other.processId())
                       && (!b || watch.seen());
            };
            waitUntil(settled, a, other);
            const QByteArray at = "round " + QByteArray::number(round);
            QCOMPARE(base.file("notes.txt"), planted ? "the player's notes\n" : "(none)");
            QVERIFY2(a.runsProgram() && other.runsProgram(), "a launcher failed, " + at);
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                            QDir::Name),
                     entries);
            QCOMPARE(base.file("pelko/Pelko.dat"), sampleBytes);
            struct stat st {
            };
            QVERIFY(::stat(QFile::encodeName(folder + "/Pelko.dat").constData(), &st) == 0);
            QCOMPARE(st.st_mode & 07777, 0640u);
            QVERIFY2(settled(), "not one program let in and one refused, " + at);
        }
    }

    // A crash leaves the lock file behind, naming the dead copy; the next copy takes it over, and
    // the folder's lock too, while another user's copy, in a folder of theirs, is never kept out.
    void killedCopyAndOtherUser()
    {
        Data data, theirData;
        UserFolders user, theirs;
        const QString lock = user.runtime.filePath("pelko.lock");
        auto first = std::make_unique<Copy>(data, user);
        waitUntil([&] { return first->owns(lock); }, *first, *first);
        QVERIFY(first->owns(lock));
        const qint64 dead = first->processId();
        first.reset(); // SIGKILL
        QCOMPARE(lockOwner(lock), dead);
        Copy next(data, user), other(theirData, theirs);
        waitUntil([&] { return next.owns(lock) && other.gotIn(); }, next, other);
        QVERIFY(next.owns(lock) && next.owns(data.path()));
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
