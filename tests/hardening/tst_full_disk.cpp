// Saving when the disk is full or the folder cannot be written: the previous file stays as it
// was, byte for byte, no temporary file is left behind, and the window reports the failure.
//
// A full disk is stood in for by RLIMIT_FSIZE: with SIGXFSZ ignored, a write() beyond the limit
// fails with EFBIG exactly where a full disk fails with ENOSPC, and it works for root too.
#include "ClearStatus.h"
#include "FileStore.h"
#include "MainWindowHarness.h"
#include "toolkit/ListBox.h"

#include <QRadioButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kStatus = QStringLiteral("clr_stat.dat");
const QByteArray kOldStatus = "1,1\r\n0,1\r\n";

// Much larger than the old file.
const QByteArray kNewStatus = QByteArray("1,1\r\n").repeated(600);

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

} // namespace

class FullDisk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // limit: the size files may grow to; target: the file saved to, beside the old one or below
    // it, where not even root can create a file; saved: whether the save succeeds.
    void save_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("saved");
        const qint64 size = kNewStatus.size();
        QTest::newRow("nothing fits") << qint64(0) << kStatus << false;
        QTest::newRow("one byte") << qint64(1) << kStatus << false;
        QTest::newRow("half") << size / 2 << kStatus << false;
        QTest::newRow("all but one byte") << size - 1 << kStatus << false;
        QTest::newRow("parent is a file") << size << kStatus + "/new" << false;
        // Without this row a save that always failed would pass.
        QTest::newRow("exactly enough") << size << kStatus << true;
    }

    // The save runs in a child process, so that the limit stays there.
    void save()
    {
        QFETCH(qint64, limit);
        QFETCH(QString, target);
        QFETCH(bool, saved);
        WorkDir dir;
        dir.write(kStatus, kOldStatus);
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = false;
            withFileSizeLimit(rlim_t(limit),
                              [&] { ok = saveWholeFile(dir.filePath(target), kNewStatus); });
            ::_exit(ok ? 0 : 1);
        }
        int status = -1;
        QVERIFY(pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), saved ? 0 : 1);
        QCOMPARE(dir.read(kStatus).value_or(""), saved ? kNewStatus : kOldStatus);
        QCOMPARE(dir.entries(), QStringList{kStatus});
    }

    void progressChangeOnFullDisk()
    {
        TestWindow w(namedQuests({"A", "B", "C"}), kOldStatus); // no confirmation asked
        QVERIFY(w.started);
        w.list()->setListIndex(1);
        withFileSizeLimit(0, [&] { w.option(OnHold)->click(); });
        QCOMPARE(w.h->boxes().shown().size(), std::size_t(1));
        QCOMPARE(w.h->boxes().shown().front().text,
                 QStringLiteral("データ書き込み中にエラーが発生しました。"));
        QCOMPARE(w.file(kStatus), kOldStatus);
        QCOMPARE(w.dir.entries(), QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_MAIN(FullDisk)
#include "tst_full_disk.moc"
