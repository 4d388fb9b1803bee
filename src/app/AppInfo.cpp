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

} // namespace pelko
