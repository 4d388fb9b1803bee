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
#include "FileStore.h"
#include "WorkDir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

constexpr int kDeadlineMs = 30000;         // a generous bound for a start under the sanitizers
constexpr qint64 kLarge = 6 * 1024 * 1024; // a little less than the database

// A working folder whose database is several megabytes. With no progress file the program
// shows its first-run notice, but only after it has loaded the database.
struct Data : WorkDir {
    Data() { write("Pelko.dat", databaseBytes({{1, 0, 0, "A", {}, QString(kLarge, u'x')}})); }
};

// The pid the lock file in a runtime folder names, 0 when there is none. QTemporaryDir makes
// runtime folders with mode 0700, the only one Qt accepts for them.
qint64 lockOwner(const QTemporaryDir &runtime)
{
    return readFile(runtime.filePath("pelko.lock"), 4096).bytes.split('\n')[0].toLongLong();
}

// One copy of the program, killed when the test is done with it.
struct Copy : QProcess {
    Copy(const Data &data, const QTemporaryDir &runtime)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        setProcessEnvironment(env);
        setWorkingDirectory(data.path());
        setProcessChannelMode(QProcess::ForwardedChannels);
        start(PELKO_EXECUTABLE, {});
        if (!waitForStarted())
            qFatal("cannot start %s", PELKO_EXECUTABLE);
    }
    ~Copy() override
    {
        kill();
        waitForFinished();
    }
    // Bytes read through read() and its kin so far; 0 once the process is gone.
    qint64 bytesRead() const
    {
        const QByteArray io = readFile(QStringLiteral("/proc/%1/io").arg(processId()), 4096).bytes;
        const QRegularExpression rchar("rchar: *(\\d+)");
        return rchar.match(QString::fromLatin1(io)).captured(1).toLongLong();
    }
    // Holds the lock and has loaded the database.
    bool owns(const QTemporaryDir &runtime) const
    {
        return lockOwner(runtime) == processId() && bytesRead() >= kLarge;
    }
};

// Whether inotify has reported the lock file closed after reading. (Identical events are merged,
// so only their presence counts.)
bool lockRead(int watch)
{
    char buffer[4096];
    const ssize_t n = ::read(watch, buffer, sizeof buffer);
    return n > 0 && QByteArray::fromRawData(buffer, n).contains("pelko.lock");
}

} // namespace

class SingleInstanceProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void twoCopiesAtOnce()
    {
        Data data;
        QTemporaryDir runtime;
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(runtime.path()).constData(),
                                  IN_CLOSE_NOWRITE) >= 0);
        Copy a(data, runtime), b(data, runtime);
        bool seen = false; // events are gone once read
        QTRY_VERIFY_WITH_TIMEOUT(seen = seen || lockRead(watch), kDeadlineMs);
        ::close(watch);
        QTRY_VERIFY_WITH_TIMEOUT(a.owns(runtime) || b.owns(runtime), kDeadlineMs);
        const Copy &refused = lockOwner(runtime) == a.processId() ? b : a;
        QTest::qWait(1000); // time enough for a copy let in by mistake to load the database too
        QCOMPARE(refused.state(), QProcess::Running); // waiting in its box
        QVERIFY2(refused.bytesRead() < kLarge, qPrintable(QString::number(refused.bytesRead())));
    }

    // A crash leaves the lock file behind, naming the dead copy; the next copy takes it over,
    // while another user's copy is never kept out.
    void killedCopyAndOtherUser()
    {
        Data data;
        QTemporaryDir runtime, theirs;
        auto first = std::make_unique<Copy>(data, runtime);
        QTRY_VERIFY_WITH_TIMEOUT(first->owns(runtime), kDeadlineMs);
        const qint64 dead = first->processId();
        first.reset(); // SIGKILL
        QCOMPARE(lockOwner(runtime), dead);
        Copy next(data, runtime), other(data, theirs);
        QTRY_VERIFY_WITH_TIMEOUT(next.owns(runtime) && other.owns(theirs), kDeadlineMs);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceProcesses)
#include "tst_single_instance.moc"
