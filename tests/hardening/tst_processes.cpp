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
// the outside. /proc/locks names the holder of a lock file's or a folder's flock. Every copy reads
// the database while it sets up, but only a copy let in reads the progress file, which is made
// large (most of a megabyte, unreadable as progress): the bytes a process has read, from
// /proc/<pid>/io, tell whether it got in, since everything else a start reads comes to a few
// hundred kilobytes. A refused copy reads the lock file (to see whether its owner still lives), or
// opens the folder to lock it, which inotify on the lock's folder reports, and then waits in its
// modal box without reading the progress file.
//
// Every wait ends as soon as the outcome is known: when a copy has ended, when both copies have
// read the progress file (the lock is broken), or when neither has done anything for two seconds;
// the checks that follow then fail at once and say why.
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QScopeGuard>

#include <csignal>

#include <grp.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

constexpr qint64 kLarge = 1000 * 1000;       // the progress file, within its limit
const QByteArray kSaving = "1,1\r\n0,1\r\n"; // a save in progress, or a progress file

// A working folder whose progress file is most of a megabyte of damage: a copy let in reads it
// whole and then shows the damage message.
struct Data : Folder {
    Data() : Folder(namedQuests({"A"}), QByteArray(kLarge, 'x')) {}
};

// The user's runtime and cache folders, made with mode 0700 as Qt asks of a runtime folder;
// cache is where the copies are told their cache folder is.
struct UserFolders {
    QTemporaryDir runtime, cacheDir;
    QString cache = cacheDir.path();
};

// The pid holding an flock on a lock file or a folder, 0 when none does, as /proc/locks lists it
// ("1: FLOCK ADVISORY WRITE <pid> <dev>:<inode> 0 EOF"); never opened, so that a Watch on it
// sees only the copies.
qint64 lockOwner(const QString &lock)
{
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

// The real program (or another, the launcher) started in a working folder, with the user's
// runtime and cache folders, on the offscreen platform, as the user uid when the test runs as
// root; killed with whatever it started when the test is done with it.
struct Copy : QProcess {
    Copy(const QString &workDir, const UserFolders &user, uid_t uid = 0,
         const QString &program = PELKO_PELKO, const QStringList &arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", user.runtime.path());
        env.insert("XDG_CACHE_HOME", user.cache);
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

void setMode(const QString &path, int mode)
{
    QFile::setPermissions(path, QFileDevice::Permissions(mode));
}

} // namespace

class TestProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // blocked: 1 a folder stands at the lock's name in the runtime folder; 2 nor can the cache
    // folder be made (a file stands in its way); 3 nor can the working folder be written (mode
    // 0555, with a writable progress file, the copies run as a player). The lock then is in the
    // runtime folder, the cache folder, the working folder, and only the folder's own lock.
    // first: none when both copies start at once; else the one that runs before the second
    // starts: the same user's, over whose database a new one is then renamed ("pelko"),
    // another session's ("session") or the flock command's ("flock"); the temporary file of a
    // save in progress, of the shape a start removes as a leftover, then stays whole.
    void twoCopies_data()
    {
        QTest::addColumn<int>("blocked");
        QTest::addColumn<QString>("first");
        addRow("at once, runtime folder", 0, QString());
        addRow("at once, folder at the runtime lock", 1, QString());
        addRow("at once, nor a cache folder", 2, QString());
        addRow("at once, nor the working folder", 3, QString());
        addRow("another session's copy runs", 0, QString("session"));
        addRow("database renamed over, no lock file anywhere", 3, QString("pelko"));
        addRow("the folder locked by another process", 0, QString("flock"));
    }

    void twoCopies()
    {
        QFETCH(int, blocked);
        QFETCH(QString, first);
        Data data;
        UserFolders user, other;
        QVERIFY(blocked < 1 || QDir(user.runtime.path()).mkdir("pelko.lock"));
        if (blocked >= 2) {
            QFile(user.cacheDir.filePath("file")).open(QIODevice::WriteOnly);
            user.cache = user.cacheDir.filePath("file/cache");
        }
        QVERIFY(blocked >= 2 || QDir(user.cache).mkpath("pelko")); // so that it can be watched
        const uid_t as = blocked == 3 ? 65534 : 0;
        if (as) { // the runtime folder the player's, so that a copy runs there as nobody
            QVERIFY(::geteuid() != 0
                    || ::chown(QFile::encodeName(user.runtime.path()), as, 0) == 0);
            setMode(data.filePath("clr_stat.dat"), 0x6666);
            setMode(data.path(), 0x5555);
        }
        const QString lock = blocked == 3 || !first.isEmpty() ? data.path()
                             : blocked == 0                   ? user.runtime.filePath("pelko.lock")
                             : blocked == 1                   ? user.cache + "/pelko/pelko.lock"
                                                              : data.filePath("pelko.lock");
        const bool flock = first == "flock";
        std::optional<Copy> a;
        if (!first.isEmpty()) {
            a.emplace(data.path(), first == "session" ? other : user, as,
                      flock ? "flock" : PELKO_PELKO,
                      flock ? QStringList{"-n", data.path(), "sleep", "600"} : QStringList());
            const auto holds = [&] { return lockOwner(lock) == a->processId(); };
            waitUntil([&] { return holds() && (flock || a->gotIn()); }, *a, *a);
            QVERIFY(holds() && (flock || a->gotIn()));
        }
        setMode(data.path(), 0x7755);
        data.write("clr_stat.dat.pelko-save-AbC123", kSaving);
        if (a) {
            data.write("new.dat", databaseBytes(namedQuests({"B"})));
            QVERIFY(::rename(QFile::encodeName(data.filePath("new.dat")),
                             QFile::encodeName(data.filePath("Pelko.dat")))
                    == 0);
        }
        setMode(data.path(), as ? 0x5555 : 0x7700);
        Watch watch(lock); // the refused copy reads the lock file, or opens the folder
        if (first.isEmpty())
            a.emplace(data.path(), user, as);
        Copy b(data.path(), user, as);
        const auto won = [&](const Copy &c) {
            return lockOwner(lock) == c.processId() && (c.gotIn() || (flock && &c == &*a));
        };
        waitUntil([&] { return watch.seen() && (won(*a) || won(b)); }, *a, b);
        // Time enough for a copy let in by mistake to read the progress file too.
        waitUntil([] { return false; }, *a, b, 1000);
        QVERIFY(watch.seen());
        const bool aWon = won(*a);
        const Copy &winner = aWon ? *a : b, &refused = aWon ? b : *a;
        QVERIFY2(won(winner), "no copy holds the lock");
        QVERIFY2(!refused.gotIn(), "both copies run");
        QCOMPARE(refused.state(), QProcess::Running); // waiting in its box
        // Removed only by a copy let in at once, and able to.
        QCOMPARE(data.file("clr_stat.dat.pelko-save-AbC123"),
                 first.isEmpty() && !as ? "(none)" : kSaving);
        setMode(data.path(), 0x7700); // so that the folder can be removed
    }

    // The launcher started twice at once on a fresh data folder, as a double click on the menu
    // entry starts it: one program runs, the other is refused, and the folder holds the whole
    // sample, with the mode a new file gets, and nothing else, every round. planted: in a shared
    // folder (mode 1777), another user's link at the name the launcher once seeded through, to a
    // file of the player's.
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
        // The launcher as installed (bin/pelko), with the program it starts and the sample it
        // seeds from beside it, all open to every user.
        const QTemporaryDir installed;
        for (const char *sub : {"libexec/pelko", "share/pelko", "bin"})
            QDir(installed.path()).mkpath(sub);
        const QString launcher = installed.filePath("bin/pelko");
        QFile::copy(PELKO_LAUNCHER, launcher);
        QFile::copy(PELKO_SAMPLE, installed.filePath("share/pelko/Pelko.dat"));
        QFile::link(PELKO_PELKO, installed.filePath("libexec/pelko/pelko"));
        setMode(launcher, 0x7755);
        setMode(installed.path(), 0x7755);
        QFile sample(PELKO_SAMPLE);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray sampleBytes = sample.readAll();
        const auto restore = qScopeGuard([mask = ::umask(027)] { ::umask(mask); });
        const uid_t player = planted ? 65533 : 0;
        for (int round = 0; round < rounds; ++round) {
            WorkDir base;
            UserFolders user;
            const QString folder = base.filePath("pelko"), notes = base.filePath("notes.txt");
            QStringList seeded{"Pelko.dat"};
            if (planted) {
                QVERIFY(QDir(base.path()).mkdir("pelko"));
                base.write("notes.txt", "the player's notes\n");
                const QString link = folder + "/.Pelko.dat.seed";
                QVERIFY(QFile::link(notes, link));
                QVERIFY(::lchown(QFile::encodeName(link).constData(), 65534, 65534) == 0);
                for (const QString &path : {user.runtime.path(), user.cache, notes})
                    QVERIFY(::chown(QFile::encodeName(path).constData(), player, player) == 0);
                QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
                setMode(base.path(), 0x7755);
                seeded.prepend(".Pelko.dat.seed");
            }
            const QString lock = user.runtime.filePath("pelko.lock");
            Watch watch(lock);
            Copy a(base.path(), user, player, launcher, {folder}),
                b(base.path(), user, player, launcher, {folder});
            // The program that runs holds the user's lock and the folder's, the other was refused
            // after reading the user's lock.
            const auto settled = [&] {
                const qint64 owner = lockOwner(lock);
                return a.runsProgram() && b.runsProgram() && lockOwner(folder) == owner
                       && (owner == a.processId() || owner == b.processId()) && watch.seen();
            };
            waitUntil(settled, a, b);
            const QByteArray at = "round " + QByteArray::number(round);
            QCOMPARE(base.file("notes.txt"), planted ? "the player's notes\n" : "(none)");
            QVERIFY2(a.runsProgram() && b.runsProgram(), "a launcher failed, " + at);
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                            QDir::Name),
                     seeded);
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
        auto first = std::make_unique<Copy>(data.path(), user);
        waitUntil([&] { return first->owns(lock); }, *first, *first);
        QVERIFY(first->owns(lock));
        const qint64 dead = first->processId();
        first.reset(); // SIGKILL
        QFile left(lock);
        QVERIFY(left.open(QIODevice::ReadOnly));
        QCOMPARE(left.readLine().trimmed().toLongLong(), dead);
        Copy next(data.path(), user), other(theirData.path(), theirs);
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
        UserFolders user;
        QVERIFY(QDir(dir.path()).mkdir("data"));
        dir.write("data/Pelko.dat", databaseBytes(namedQuests({"A", "B"})));
        dir.write("data/clr_stat.dat", kSaving);
        if (saved)
            dir.write("data/Pelko.ini", "5,2,1,1,9\r\n");
        else
            QVERIFY(QDir(dir.filePath("data")).mkdir("Pelko.ini"));
        Copy program(dir.filePath("data"), user);
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
        QCOMPARE(dir.file(folder + "/clr_stat.dat"), kSaving);
        QCOMPARE(dir.entries(), QStringList{folder});
        QCOMPARE(QDir(dir.filePath(folder))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
