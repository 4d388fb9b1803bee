#include "StateChange.h"

namespace pelko {

QString stateName(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("やっていない");
    case 1:
        return QStringLiteral("コンプリート");
    default:
        return QStringLiteral("保留");
    }
}

QString confirmationPrompt(const QString &questName, int index)
{
    return QStringLiteral("「") + questName + QStringLiteral("」の\r\n")
           + QStringLiteral("クリア状況を「") + stateName(index)
           + QStringLiteral("」に変更します。\r\n") + QStringLiteral("よろしいですか？");
}

int clampListPosition(int position, int count)
{
    return position > count - 1 ? count - 1 : position;
}

} // namespace pelko
