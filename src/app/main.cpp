#include "AppIcon.h"
#include "AppInfo.h"
#include "frmMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/Program.h"
#include "toolkit/QtTranslations.h"
#include "toolkit/TerminationSignal.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pelko"));
    // No application display name: Qt would append it to every window title on Linux desktops
    // ("… — ペルコ for Verdania"), and both titles of the program are fixed texts.
    QApplication::setDesktopFileName(QStringLiteral("jp.example.pelko"));
    QApplication::setWindowIcon(pelko::applicationIcon());
    QApplication::setFont(pelko::japaneseUiFont());
    pelko::installQtTranslations(); // Qt's own buttons and menus in the system's language

    // All three files are found in the working directory, named relative to it, so that they
    // follow it when it is renamed or moved while the program runs.
    pelko::frmMain window({QStringLiteral("."), pelko::SingleInstance::defaultLockPaths()});
    if (!window.Form_Load())
        return pelko::programExitStatus();
    window.show();
    pelko::closeOnTerminationSignal(&window);
    return QApplication::exec();
}
