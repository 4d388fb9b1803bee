// The program on a Wayland display (a headless Weston of the test's own, in a private runtime
// folder), saying not a word on the error output. Skipped where Weston cannot start.
#include "TestSupport.h"
#include "frmMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QRadioButton>
#include <QRegularExpression>

#include <csignal>
#include <cstring>

using namespace pelko;
using namespace pelko::test;

namespace {

// Listed A, B, C: quests 3, 1 and 2.
const std::vector<Quest> kQuests{{1, 0, 2, "C"}, {1, 0, 3, "A"}, {1, 0, 1, "B"}};

// tst_wayland --client: the main window over the working folder, shown on the display; the first
// entry is marked cleared (no confirmation asked), then the window is closed.
int runClient(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setFont(japaneseUiFont());
    frmMain window(ProgramPaths{".", SingleInstance::defaultLockPaths()});
    if (!window.Form_Load())
        return 3;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 4;
    window.findChild<ListBox *>("lstQuestList")->setListIndex(0);
    window.findChild<QRadioButton *>("optQuestState1")->click();
    window.close();
    return 0;
}

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT
    QTemporaryDir runtime; // made with mode 0700, as Wayland asks of a runtime folder
    QProcess weston;
    const QString socket = QStringLiteral("pelko-test-%1").arg(QCoreApplication::applicationPid());

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY"); // nothing to fall back on
        env.insert("QT_QPA_PLATFORM", "wayland");
        env.insert("WAYLAND_DISPLAY", socket);
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        // In a sanitizer build: the Wayland client library keeps allocations that LeakSanitizer
        // reports at exit; the program's own memory is checked by the tests on offscreen.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
        return env;
    }

private Q_SLOTS:
    void initTestCase()
    {
        weston.setProcessEnvironment(environment());
        weston.setStandardOutputFile(QProcess::nullDevice());
        weston.setStandardErrorFile(QProcess::nullDevice());
        weston.start("weston", {"--backend=headless-backend.so", "--socket=" + socket,
                                "--idle-time=0", "--no-config"});
        if (!weston.waitForStarted(5000))
            QSKIP("weston cannot start");
        const auto ready = [&] { return QFileInfo::exists(runtime.filePath(socket)); };
        if (!QTest::qWaitFor([&] { return ready() || weston.state() != QProcess::Running; }, 10000)
            || weston.state() != QProcess::Running)
            QSKIP("weston did not open its display");
    }

    void cleanupTestCase()
    {
        weston.terminate();
        weston.waitForFinished(5000);
    }

    // The real program, ended by SIGTERM as a session ends it, saves its settings (made anew:
    // the file it read at the start is removed) and exits with status 0; the main window, run
    // by this executable as a client of the display, saves a progress change and its settings.
    void runsOnWayland_data()
    {
        QTest::addColumn<bool>("real");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("progress"); // afterwards
        addRow("the program, ended by SIGTERM", true, QByteArray("3,1,1,1\r\n"),
               QByteArray("0,0\r\n"));
        addRow("a progress change", false, QByteArray("0,0,0,1\r\n"), QByteArray("3,1\r\n0,3\r\n"));
    }

    void runsOnWayland()
    {
        QFETCH(bool, real);
        QFETCH(QByteArray, ini);
        Folder dir(kQuests, QByteArray("0,0\r\n"), ini);
        QProcess program;
        program.setProcessEnvironment(environment());
        program.setWorkingDirectory(dir.path());
        program.start(real ? PELKO_PELKO : QCoreApplication::applicationFilePath(),
                      real ? QStringList() : QStringList{"--client"});
        QVERIFY(program.waitForStarted());
        // The program installs its handler once the window is shown.
        const auto catches = [&] {
            QFile status(QStringLiteral("/proc/%1/status").arg(program.processId()));
            const QString bits =
                QRegularExpression("SigCgt:\\s*([0-9a-f]+)")
                    .match(status.open(QIODevice::ReadOnly) ? status.readAll() : "")
                    .captured(1);
            return (bits.toULongLong(nullptr, 16) >> (SIGTERM - 1) & 1) != 0;
        };
        if (real) {
            QVERIFY(QTest::qWaitFor(
                        [&] { return catches() || program.state() != QProcess::Running; }, 30000)
                    && catches());
            QVERIFY(QFile::remove(dir.filePath("Pelko.ini")));
            ::kill(pid_t(program.processId()), SIGTERM);
        }
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QCOMPARE(dir.file("Pelko.ini"), ini);
        QTEST(dir.file("clr_stat.dat"), "progress");
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--client") == 0)
        return runClient(argc, argv);
    QCoreApplication app(argc, argv);
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
