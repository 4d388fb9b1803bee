#include "AppInfo.h"

#include "toolkit/Program.h"

namespace pelko {

QString applicationTitle()
{
    return QStringLiteral("ペルコ for Verdania");
}

QString authorPageUrl()
{
    return QStringLiteral("https://pelko.example.jp/");
}

void openAuthorPage()
{
    ShellOpen(QUrl(authorPageUrl()));
}

QString lastTwoDigits(int number)
{
    return (QStringLiteral("0") + QString::number(number)).right(2);
}

QString mainWindowTitle(int major, int minor)
{
    return applicationTitle() + QStringLiteral("  Version ") + QString::number(major)
           + QLatin1Char('.') + lastTwoDigits(minor);
}

QString aboutTitle()
{
    return applicationTitle() + QStringLiteral("のバージョン情報");
}

QString aboutVersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version ") + QString::number(major) + QLatin1Char('.')
           + lastTwoDigits(minor) + QLatin1Char('.') + lastTwoDigits(revision);
}

QString commandVersionText()
{
    return QStringLiteral("pelko %1\n").arg(QLatin1StringView(kVersionText));
}

QString commandUsageText()
{
    return QStringLiteral(
        "Usage: pelko\n"
        "       pelko --help | --version\n"
        "Starts the program in the working folder, where it reads Pelko.dat and keeps its\n"
        "progress (clr_stat.dat) and settings (Pelko.ini). The installed pelko command\n"
        "starts it in your own data folder ($XDG_DATA_HOME/pelko, else ~/.local/share/pelko)\n"
        "or in DIR: pelko [DIR].\n");
}

} // namespace pelko
