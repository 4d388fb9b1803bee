#include "AppIcon.h"
#include "AppInfo.h"
#include "frmMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/Program.h"
#include "toolkit/QtTranslations.h"

#include <QApplication>
#include <QDir>

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

    // All three files are found in the working directory.
    pelko::frmMain window({QDir::currentPath(), pelko::SingleInstance::defaultLockPath()});
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
