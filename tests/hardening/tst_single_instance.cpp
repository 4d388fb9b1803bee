// The real program started as separate processes: one copy per user, and a lock left behind by
// a killed copy does not keep the next one out.
//
// The program has no command line and no window system here, so what a copy does is read from
// the outside. The lock file names the pid of the copy holding it. The database is made large
// (several megabytes) so that the bytes a process has read, from /proc/<pid>/io, tell whether it
// loaded it: everything else a start reads comes to a few hundred kilobytes. A refused copy
// reads the lock file (to see whether its owner still lives), which inotify on the runtime
// folder reports, and then waits in its modal box without reading the database.
#include "DatabaseBuilder.h"
#include "WorkDir.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

using namespace pelko::test;

namespace {

constexpr int kDeadlineMs = 30000; // a generous bound for a start under the sanitizers
constexpr int kObserveMs = 3000;   // how long both copies are watched side by side

const QString kLock = QStringLiteral("pelko.lock");

// Whether a file of one folder has been opened for reading and closed again, by anyone, since
// the watch began. (Counting such events would be wrong: inotify merges identical ones.)
class ReadWatch
{
public:
    ReadWatch(const QString &dir, const QString &name)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), m_name(QFile::encodeName(name))
    {
        if (m_fd < 0 ||
            inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), IN_CLOSE_NOWRITE) < 0)
            qFatal("inotify is not available");
    }
    ~ReadWatch() { ::close(m_fd); }
    ReadWatch(const ReadWatch &) = delete;
    ReadWatch &operator=(const ReadWatch &) = delete;

    bool seen()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
                if (e->len && m_name == e->name)
                    m_seen = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        return m_seen;
    }

private:
    int m_fd;
    QByteArray m_name;
    bool m_seen = false;
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

// A working folder with a valid database of several megabytes, a progress file and settings.
class DataDir : public WorkDir
{
public:
    DataDir()
    {
        Quest quest;
        quest.name = QStringLiteral("長い依頼");
        quest.process = QString(6 * 1024 * 1024, u'x');
        m_database = databaseBytes({quest});
        write(QStringLiteral("Pelko.dat"), m_database);
        write(QStringLiteral("clr_stat.dat"), "0,0\r\n");
        write(QStringLiteral("Pelko.ini"), "0,0,0,0\r\n");
    }
    qint64 databaseSize() const { return m_database.size(); }
    bool unchanged() const
    {
        return read(QStringLiteral("Pelko.dat")) == m_database &&
               read(QStringLiteral("clr_stat.dat")) == QByteArray("0,0\r\n") &&
               read(QStringLiteral("Pelko.ini")) == QByteArray("0,0,0,0\r\n");
    }

private:
    QByteArray m_database;
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

    // Bytes the process has read through read() and its kin so far; -1 when it is gone.
    qint64 bytesRead() const
    {
        QFile io(QStringLiteral("/proc/%1/io").arg(pid()));
        if (!io.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : io.readAll().split('\n')) {
            if (line.startsWith("rchar:"))
                return line.mid(6).trimmed().toLongLong();
        }
        return -1;
    }

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

// The copy holds the lock and has loaded the database.
bool started(const Copy &copy, const RuntimeDir &runtime, const DataDir &dir)
{
    return runtime.lockOwner() == copy.pid() && copy.bytesRead() >= dir.databaseSize();
}

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
    ReadWatch lockRead(runtime.path(), kLock);
    QElapsedTimer clock;
    clock.start();
    Copy a(dir, runtime), b(dir, runtime);
    a.start();
    b.start();

    // The refused copy has looked at the lock; this test reads it only afterwards.
    QTRY_VERIFY_WITH_TIMEOUT(lockRead.seen(), kDeadlineMs);
    QTRY_VERIFY_WITH_TIMEOUT(started(a, runtime, dir) || started(b, runtime, dir), kDeadlineMs);
    const bool aOwns = runtime.lockOwner() == a.pid();
    const Copy &owner = aOwns ? a : b;
    const Copy &refused = aOwns ? b : a;
    while (clock.elapsed() < kObserveMs) {
        QVERIFY(owner.running());
        QVERIFY(refused.running()); // waiting in its box
        QTest::qWait(100);
    }
    const qint64 read = refused.bytesRead();
    QVERIFY2(read >= 0 && read < dir.databaseSize(), qPrintable(QString::number(read)));
    QCOMPARE(runtime.lockOwner(), owner.pid());
    QVERIFY(dir.unchanged());
}

void SingleInstanceProcesses::lockOfKilledCopyIsTakenOver()
{
    DataDir dir;
    RuntimeDir runtime;
    Copy first(dir, runtime);
    first.start();
    QTRY_VERIFY_WITH_TIMEOUT(started(first, runtime, dir), kDeadlineMs);
    const qint64 firstPid = first.pid();
    first.kill();
    // A crash leaves the lock file behind, still naming the dead copy.
    QVERIFY(QFile::exists(runtime.lockPath()));
    QCOMPARE(runtime.lockOwner(), firstPid);

    Copy next(dir, runtime);
    next.start();
    QTRY_VERIFY_WITH_TIMEOUT(started(next, runtime, dir), kDeadlineMs);
    QVERIFY(next.running());
}

void SingleInstanceProcesses::otherUserIsNotBlocked()
{
    DataDir dir;
    RuntimeDir mine, theirs;
    Copy a(dir, mine), b(dir, theirs);
    a.start();
    b.start();
    QTRY_VERIFY_WITH_TIMEOUT(started(a, mine, dir) && started(b, theirs, dir), kDeadlineMs);
    QVERIFY(a.running());
    QVERIFY(b.running());
}

QTEST_GUILESS_MAIN(SingleInstanceProcesses)
#include "tst_single_instance.moc"
