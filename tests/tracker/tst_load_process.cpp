// The real program started as a process of its own, through each of its command lines that ends
// in a message box, with the preloaded library EightProcessors: it tells the program it may run
// on eight processors (the load then collates on six threads besides the loading thread and the
// main thread, as on such a machine), answers each box and prints what the program set up before
// its first window. However the threads stand when the reader gives up on a database, the program
// shows its message and ends with status 1; it never crashes.
#include "QuestDatabaseGenerator.h"
#include "TestSupport.h"

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace pelko::test;

namespace {

const QString kSetUp = "application: jp.example.pelko icon キャンセル 元に戻す(&U)\n";
// The program's boxes: the critical icon, an OK button, the application's title.
const QString kBox = "message-box (critical, OK) ペルコ for Verdania: ";
const QString kRefused =
    kBox + "クエスト情報ファイルの読み込みに失敗したので、強制終了します。\n" + kSetUp;

} // namespace

class TestLoadProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandLines_data()
    {
        // cut: the bytes of a 32,766-quest database kept; 0: all before the end record; -1: the
        // whole file, one record more; -2: no database.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("starts");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("lang"); // LANG, as a desktop session whose language it alone is
        const QString ja = "ja_JP.UTF-8";
        addRow("cut short in the first record", QStringList(), 20, 3, 1, kRefused, ja);
        addRow("cut short at 2.5 MB", QStringList(), 2500000, 4, 1, kRefused, ja);
        addRow("cut short at 5 MB", QStringList(), 5000000, 20, 1, kRefused, ja);
        addRow("cut short at 9 MB", QStringList(), 9000000, 4, 1, kRefused, ja);
        addRow("cut short just before the end record", QStringList(), 0, 4, 1, kRefused, ja);
        addRow("32767 records", QStringList(), -1, 4, 1, kRefused, ja);
        // The launcher's own option, as the launcher gives it: the reason, then the advice.
        addRow("the launcher could not enter the folder",
               QStringList{"--launcher-failure", "cannot-enter", "/srv/データ"}, -2, 1, 1,
               kBox
                   + "データフォルダ「/srv/データ」を開けません。\n"
                     "フォルダを確かめてから、もう一度起動してください。\n"
                   + kSetUp,
               ja);
        addRow("a reason the program does not know", QStringList{"--launcher-failure", "x", "/a"},
               -2, 1, 2, QString(), ja);
        // Qt's own texts follow the system's language; the program's own stay Japanese.
        const QString enterText = kBox
                                  + "データフォルダ「/a」を開けません。\n"
                                    "フォルダを確かめてから、もう一度起動してください。\n";
        const QStringList enter{"--launcher-failure", "cannot-enter", "/a"};
        addRow("in the C locale", enter, -2, 1, 1,
               enterText + "application: jp.example.pelko icon Cancel &Undo\n", "C");
        addRow("in German", enter, -2, 1, 1,
               enterText + "application: jp.example.pelko icon Abbrechen &Rückgängig\n",
               "de_DE.UTF-8");
        // Where the user may start no more threads (RLIMIT_NPROC, as nobody where the test runs as
        // root, whom the limit does not bind), the load runs in the start-up itself, and a
        // database cut short is refused all the same.
        addRow("no thread to be had", QStringList{"(no thread)"}, 20, 1, 1, kRefused, ja);
        // One argument more is not the launcher's: an ordinary start, which finds no database.
        addRow("the launcher's option with an argument more",
               QStringList{"--launcher-failure", "cannot-enter", "/a", "b"}, -2, 1, 1, kRefused,
               ja);
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, cut);
        QFETCH(int, starts);
        static const QByteArray full = pelko::sample::generateQuestDatabase(32766); // 10.7 MB
        const qsizetype end = full.lastIndexOf("0,99,");
        WorkDir dir;
        if (cut > -2)
            dir.write("Pelko.dat", cut >= 0
                                       ? full.left(cut > 0 ? cut : end)
                                       : QByteArray(full).insert(end, "0,1,0,1,\"x\",,,,\r\n"));
        const QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CACHE_HOME", runtime.path());
        env.insert("LD_PRELOAD", PELKO_EIGHT_PROCESSORS);
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(name);
        QFETCH(QString, lang);
        env.insert("LANG", lang);
        // In a sanitizer build the library, itself instrumented, comes before the runtime.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        for (int start = 1; start <= starts; ++start) {
            QProcess program;
            program.setProcessEnvironment(env);
            program.setWorkingDirectory(dir.path());
            const bool noThread = arguments == QStringList{"(no thread)"};
            if (noThread) {
                // A sanitizer build's leak check needs a thread of its own at the end.
                QProcessEnvironment limited = env;
                limited.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
                program.setProcessEnvironment(limited);
                for (const QString &path : {dir.path(), dir.filePath("Pelko.dat"), runtime.path()})
                    QVERIFY(::geteuid() != 0
                            || ::chown(QFile::encodeName(path), 65534, 65534) == 0);
                program.setChildProcessModifier([] {
                    const rlimit one{1, 1};
                    if ((::geteuid() == 0
                         && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0
                             || ::setuid(65534) != 0))
                        || ::setrlimit(RLIMIT_NPROC, &one) != 0)
                        ::_exit(127);
                });
            }
            program.start(PELKO_PELKO, noThread ? QStringList() : arguments);
            QVERIFY(program.waitForFinished(20000));
            QVERIFY2(program.exitStatus() == QProcess::NormalExit,
                     qPrintable(QStringLiteral("start %1 crashed").arg(start)));
            QTEST(program.exitCode(), "status");
            QTEST(QString::fromUtf8(program.readAllStandardOutput()), "output");
        }
    }
};

QTEST_GUILESS_MAIN(TestLoadProcess)
#include "tst_load_process.moc"
