// The real program on a database it refuses, started as a process of its own that the preloaded
// library EightProcessors tells it may run on eight processors: the load then collates on six
// threads besides the loading thread and the main thread, as on such a machine. However the
// threads stand when the reader gives up, the program shows its message and ends with status 1;
// it never crashes. The library answers the message box, so that every start ends by itself.
#include "QuestDatabaseGenerator.h"
#include "TestSupport.h"

using namespace pelko::test;

class TestLoadProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusedDatabase_data()
    {
        // The bytes kept; 0: all before the end record; -1: the whole file, one record more.
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("starts");
        addRow("cut short in the first record", 20, 3);
        addRow("cut short at 2.5 MB", 2500000, 4);
        addRow("cut short at 5 MB", 5000000, 20);
        addRow("cut short at 9 MB", 9000000, 4);
        addRow("cut short just before the end record", 0, 4);
        addRow("32767 records", -1, 4);
    }

    void refusedDatabase()
    {
        QFETCH(int, cut);
        QFETCH(int, starts);
        static const QByteArray full = pelko::sample::generateQuestDatabase(32766); // 10.7 MB
        const qsizetype end = full.lastIndexOf("0,99,");
        WorkDir dir;
        dir.write("Pelko.dat", cut >= 0 ? full.left(cut > 0 ? cut : end)
                                        : QByteArray(full).insert(end, "0,1,0,1,\"x\",,,,\r\n"));
        const QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CACHE_HOME", runtime.path());
        env.insert("LD_PRELOAD", PELKO_EIGHT_PROCESSORS);
        // In a sanitizer build the library, itself instrumented, comes before the runtime.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        for (int start = 1; start <= starts; ++start) {
            QProcess program;
            program.setProcessEnvironment(env);
            program.setWorkingDirectory(dir.path());
            program.start(PELKO_PELKO, {});
            QVERIFY(program.waitForFinished(20000));
            QVERIFY2(program.exitStatus() == QProcess::NormalExit,
                     qPrintable(QStringLiteral("start %1 crashed").arg(start)));
            QCOMPARE(program.exitCode(), 1);
            QCOMPARE(
                QString::fromUtf8(program.readAllStandardOutput()),
                "message-box: クエスト情報ファイルの読み込みに失敗したので、強制終了します。\n");
        }
    }
};

QTEST_GUILESS_MAIN(TestLoadProcess)
#include "tst_load_process.moc"
