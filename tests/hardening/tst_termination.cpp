// The real program ended by a signal, as at logout or by `kill`: it ends as closing its window
// does, saving the settings and nothing else, and finds its files in its working folder even
// after that folder was renamed while it ran.
#include "DatabaseBuilder.h"
#include "FileStore.h"
#include "WorkDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace pelko;
using namespace pelko::test;

namespace {

// Whether the process has a handler for the signal: the program installs it once its window is
// shown, so this is also the moment the start-up has ended.
bool catches(qint64 pid, int signal)
{
    const QByteArray status = readFile(QStringLiteral("/proc/%1/status").arg(pid), 65536).bytes;
    const int at = status.indexOf("SigCgt:");
    const qulonglong mask =
        status.mid(at + 7, status.indexOf('\n', at) - at - 7).trimmed().toULongLong(nullptr, 16);
    return at >= 0 && (mask >> (signal - 1) & 1) != 0;
}

} // namespace

class Termination : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("renamed"); // the working folder, while the program runs
        QTest::newRow("SIGTERM, folder renamed") << int(SIGTERM) << true;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    }

    void signal()
    {
        QFETCH(int, signal);
        QFETCH(bool, renamed);
        WorkDir dir;
        QTemporaryDir runtime, cache;
        QVERIFY(QDir(dir.path()).mkdir("data"));
        const auto file = [&](const QString &folder, const char *name) {
            return dir.filePath(folder + '/' + QLatin1String(name));
        };
        const QByteArray progress = "1,1\r\n0,1\r\n";
        for (const auto &[name, bytes] :
             {std::pair{"Pelko.dat", databaseBytes(namedQuests({"A", "B"}))},
              std::pair{"clr_stat.dat", progress},
              std::pair{"Pelko.ini", QByteArray("5,2,1,1,9\r\n")}})
            dir.write(QStringLiteral("data/") + QLatin1String(name), bytes);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CACHE_HOME", cache.path());
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.filePath("data"));
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(PELKO_EXECUTABLE, {});
        QVERIFY(program.waitForStarted());
        const QDeadlineTimer deadline(30000);
        while (program.state() == QProcess::Running && !catches(program.processId(), signal)
               && !deadline.hasExpired())
            QTest::qWait(20);
        QVERIFY(catches(program.processId(), signal));

        const QString folder = renamed ? "moved" : "data";
        QVERIFY(!renamed || QDir(dir.path()).rename("data", folder));
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // The settings were saved, written plainly; nothing else was written, nothing is left.
        QCOMPARE(readFile(file(folder, "Pelko.ini"), 4096).bytes, "5,2,1,1\r\n");
        QCOMPARE(readFile(file(folder, "clr_stat.dat"), 4096).bytes, progress);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{folder});
        QCOMPARE(QDir(dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_GUILESS_MAIN(Termination)
#include "tst_termination.moc"
