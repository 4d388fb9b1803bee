// The real program started as separate processes: one copy per user, and a lock left behind by
// a killed copy does not keep the next one out.
//
// The program has no command line and no window system here, so what a copy does is read from
// the outside: the lock file names the pid of the copy holding it, and inotify on the working
// folder and the runtime folder shows which files were opened. A refused copy reads the lock
// (to see whether its owner still lives) and then waits in its modal box, opening none of the
// three data files; a copy that starts reads Pelko.ini last.
#include "QuestDatabaseGenerator.h"
#include "WorkDir.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

#include <map>
#include <memory>

using namespace pelko::test;

namespace {

constexpr int kDeadlineMs = 30000; // a generous bound for a start under the sanitizers
constexpr int kObserveMs = 3000;   // how long both copies are watched side by side

const QString kLock = QStringLiteral("pelko.lock");

// Counts the inotify events of one folder by file name and event kind.
class FolderWatch
{
public:
    explicit FolderWatch(const QString &dir)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd < 0
            || inotify_add_watch(m_fd, QFile::encodeName(dir).constData(),
                                 IN_OPEN | IN_CLOSE_NOWRITE | IN_CLOSE_WRITE | IN_MODIFY)
                   < 0)
            qFatal("inotify is not available");
    }
    ~FolderWatch() { ::close(m_fd); }
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    int count(const QString &name, std::uint32_t kind)
    {
        drain();
        return m_counts[{name, kind}];
    }

private:
    void drain()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            for (ssize_t at = 0; at < n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
                const QString name = e->len ? QFile::decodeName(e->name) : QString();
                for (std::uint32_t kind : {IN_OPEN, IN_CLOSE_NOWRITE, IN_CLOSE_WRITE, IN_MODIFY}) {
                    if (e->mask & kind)
                        ++m_counts[{name, kind}];
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }

    int m_fd;
    std::map<std::pair<QString, std::uint32_t>, int> m_counts;
};

// A folder only this test uses as the user's runtime folder, so the lock is its own.
class RuntimeDir
{
public:
    RuntimeDir()
    {
        // Qt accepts a runtime folder only when it is the user's own with mode 0700.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path() const { return m_dir.path(); }
    QString lockPath() const { return m_dir.filePath(kLock); }

    // The pid the lock file names, 0 when there is none.
    qint64 lockOwner() const
    {
        QFile f(lockPath());
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        return f.readLine().trimmed().toLongLong();
    }

private:
    QTemporaryDir m_dir;
};

// A working folder with a valid database, progress file and settings file.
class DataDir : public WorkDir
{
public:
    DataDir()
    {
        write(QStringLiteral("Pelko.dat"), pelko::sample::generateQuestDatabase(50));
        write(QStringLiteral("clr_stat.dat"), "0,0\r\n");
        write(QStringLiteral("Pelko.ini"), "0,0,0,0\r\n");
    }
};

// One copy of the program, killed when the test is done with it.
class Copy
{
public:
    Copy(const DataDir &dir, const RuntimeDir &runtime)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(dir.path());
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
    }
    ~Copy() { kill(); }

    void start()
    {
        m_process.start(QStringLiteral(PELKO_EXECUTABLE), {});
        if (!m_process.waitForStarted())
            qFatal("cannot start %s", PELKO_EXECUTABLE);
    }
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    // SIGKILL, and the exit is collected so that the pid is really gone.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

} // namespace

class SingleInstanceProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void twoCopiesAtOnce();
    void lockOfKilledCopyIsTakenOver();
    void otherUserIsNotBlocked();
};

void SingleInstanceProcesses::twoCopiesAtOnce()
{
    DataDir dir;
    RuntimeDir runtime;
    FolderWatch files(dir.path());
    FolderWatch locks(runtime.path());
    QElapsedTimer clock;
    clock.start();
    Copy a(dir, runtime), b(dir, runtime);
    a.start();
    b.start();

    // One copy has started (it read Pelko.ini, the last file of the start-up) and the other
    // has looked at the lock and found its owner alive.
    QTRY_VERIFY_WITH_TIMEOUT(files.count(QStringLiteral("Pelko.ini"), IN_CLOSE_NOWRITE) >= 1
                                 && locks.count(kLock, IN_CLOSE_NOWRITE) >= 1,
                             kDeadlineMs);
    while (clock.elapsed() < kObserveMs) {
        QVERIFY(a.running());
        QVERIFY(b.running());
        QTest::qWait(100);
    }

    // Only the owner read the data files; the other waits in its box, having read nothing.
    for (const char *name : {"Pelko.dat", "clr_stat.dat", "Pelko.ini"})
        QCOMPARE(files.count(QString::fromLatin1(name), IN_OPEN), 1);
    QCOMPARE(locks.count(kLock, IN_CLOSE_NOWRITE), 1); // before this test reads it itself
    const qint64 owner = runtime.lockOwner();
    QVERIFY2(owner == a.pid() || owner == b.pid(), qPrintable(QString::number(owner)));
    QVERIFY(a.running());
    QVERIFY(b.running());
    // Neither wrote anything.
    for (const char *name : {"Pelko.dat", "clr_stat.dat", "Pelko.ini"})
        QCOMPARE(files.count(QString::fromLatin1(name), IN_MODIFY), 0);
}

void SingleInstanceProcesses::lockOfKilledCopyIsTakenOver()
{
    DataDir dir;
    RuntimeDir runtime;
    FolderWatch files(dir.path());
    const QString ini = QStringLiteral("Pelko.ini");

    Copy first(dir, runtime);
    first.start();
    QTRY_VERIFY_WITH_TIMEOUT(files.count(ini, IN_CLOSE_NOWRITE) == 1, kDeadlineMs);
    QCOMPARE(runtime.lockOwner(), first.pid());
    const qint64 firstPid = first.pid();
    first.kill();
    // A crash leaves the lock file behind, still naming the dead copy.
    QVERIFY(QFile::exists(runtime.lockPath()));
    QCOMPARE(runtime.lockOwner(), firstPid);

    Copy next(dir, runtime);
    next.start();
    QTRY_VERIFY_WITH_TIMEOUT(files.count(ini, IN_CLOSE_NOWRITE) == 2, kDeadlineMs);
    QCOMPARE(runtime.lockOwner(), next.pid());
    QVERIFY(next.running());
}

void SingleInstanceProcesses::otherUserIsNotBlocked()
{
    DataDir dir;
    RuntimeDir mine, theirs;
    FolderWatch files(dir.path());
    Copy a(dir, mine), b(dir, theirs);
    a.start();
    b.start();

    QTRY_VERIFY_WITH_TIMEOUT(files.count(QStringLiteral("Pelko.ini"), IN_CLOSE_NOWRITE) == 2,
                             kDeadlineMs);
    QCOMPARE(mine.lockOwner(), a.pid());
    QCOMPARE(theirs.lockOwner(), b.pid());
    QCOMPARE(files.count(QStringLiteral("Pelko.dat"), IN_OPEN), 2);
    QVERIFY(a.running());
    QVERIFY(b.running());
}

QTEST_GUILESS_MAIN(SingleInstanceProcesses)
#include "tst_single_instance.moc"
