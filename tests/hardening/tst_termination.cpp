// The real program ended by a signal, as at logout or by `kill`: it ends as closing its window
// does, saving the settings and nothing else, and finds its files in its working folder even
// after that folder was renamed while it ran.
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>

#include <csignal>

using namespace pelko::test;

class Termination : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("folder"); // the working folder's name when the signal comes
        addRow("SIGTERM, folder renamed", int(SIGTERM), "moved");
        addRow("SIGHUP", int(SIGHUP), "data");
    }

    void signal()
    {
        QFETCH(int, signal);
        QFETCH(QString, folder);
        WorkDir dir;
        QTemporaryDir runtime, cache;
        QVERIFY(QDir(dir.path()).mkdir("data"));
        dir.write("data/Pelko.dat", databaseBytes(namedQuests({"A", "B"})));
        dir.write("data/clr_stat.dat", "1,1\r\n0,1\r\n");
        dir.write("data/Pelko.ini", "5,2,1,1,9\r\n");
        ProgramProcess program(PELKO_PELKO, dir.filePath("data"), runtime.path(), cache.path());
        // The program installs its handler once its window is shown: the start-up has ended.
        const auto catches = [&] {
            const QByteArray status = program.proc("status");
            const int at = status.indexOf("SigCgt:") + 7;
            const qulonglong mask =
                status.mid(at, status.indexOf('\n', at) - at).trimmed().toULongLong(nullptr, 16);
            return (mask >> (signal - 1) & 1) != 0;
        };
        const QDeadlineTimer deadline(30000);
        while (program.state() == QProcess::Running && !catches() && !deadline.hasExpired())
            QTest::qWait(20);
        QVERIFY(catches());
        QVERIFY(folder == "data" || QDir(dir.path()).rename("data", folder));
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // The settings were saved, written plainly; nothing else was written, nothing is left.
        QCOMPARE(dir.file(folder + "/Pelko.ini"), "5,2,1,1\r\n");
        QCOMPARE(dir.file(folder + "/clr_stat.dat"), "1,1\r\n0,1\r\n");
        QCOMPARE(dir.entries(), QStringList{folder});
        QCOMPARE(QDir(dir.filePath(folder))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_GUILESS_MAIN(Termination)
#include "tst_termination.moc"
