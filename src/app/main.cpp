#include "AppIcon.h"
#include "AppInfo.h"
#include "LauncherFailure.h"
#include "frmMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/Program.h"
#include "toolkit/QtTranslations.h"
#include "toolkit/TerminationSignal.h"

#include <QApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("pelko"));
    // No application display name: Qt would append it to every window title on Linux desktops
    // ("… — ペルコ for Verdania"), and both titles of the program are fixed texts.
    QApplication::setDesktopFileName(QStringLiteral("jp.example.pelko"));
    QApplication::setWindowIcon(pelko::applicationIcon());
    QApplication::setFont(pelko::japaneseUiFont());
    pelko::installQtTranslations(); // Qt's own buttons and menus in the system's language
}

// The exit status: 0 once the text is out, 1 when it could not be written (a full disk, a closed
// pipe), which a script that kept the answer must not take for success.
int printToTerminal(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "pelko: cannot write to the standard output: %s\n", std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered as the launcher answers them, before Qt is asked for a display: they must work in
    // a terminal without one (over ssh, in a build). Any other argument is left to Qt, which
    // takes its own options (-platform, -style …) and ignores the rest.
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        return printToTerminal(pelko::commandVersionText());
    }
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        return printToTerminal(pelko::commandUsageText());
    }
    // An option private to the launcher (`pelko --launcher-failure KIND FOLDER`):
    // shows why the launcher could not start it, for a player who has no terminal, and ends.
    if (argc == 4 && std::strcmp(argv[1], "--launcher-failure") == 0) {
        const QString kind = QString::fromUtf8(argv[2]), folder = QFile::decodeName(argv[3]);
        QApplication app(argc, argv);
        setUpApplication();
        return pelko::showLauncherFailure(kind, folder);
    }
    // All three files are found in the working directory, named relative to it, so that they
    // follow it when it is renamed or moved while the program runs.
    const QString workDir = QStringLiteral(".");
    // Reading and sorting a large quest database takes as long as setting up Qt and the window,
    // so it starts first, on a thread of its own; Form_Load takes the result at the point where
    // it has always read the file, and shows the same messages there.
    std::unique_ptr<pelko::QuestDataLoad> load = pelko::QuestTracker::startLoading(workDir);

    QApplication app(argc, argv);
    setUpApplication();

    pelko::frmMain window({workDir, pelko::SingleInstance::defaultLockPaths(), std::move(load)});
    if (!window.Form_Load())
        return pelko::programExitStatus();
    window.show();
    pelko::closeOnTerminationSignal(&window);
    // Every end with a status goes through EndProgram, which keeps the first failure (settings
    // that a signal-driven close could not save); the window's own close ends the loop plainly.
    QApplication::exec();
    return pelko::programExitStatus();
}
