#include "KeywordSearch.h"

namespace pelko {

bool rowContainsKeyword(const QuestRecord &rec, const QString &keyword)
{
    return rec.QuestName.contains(keyword, Qt::CaseSensitive)
           || rec.Process.contains(keyword, Qt::CaseSensitive)
           || rec.Reward1.contains(keyword, Qt::CaseSensitive);
}

QString emptyKeywordMessage()
{
    return QStringLiteral("アイテム名などを入力してから\r\n検索ボタンを押してください");
}

} // namespace pelko
