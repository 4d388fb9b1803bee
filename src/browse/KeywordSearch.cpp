#include "KeywordSearch.h"

#include <algorithm>

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

std::vector<bool> rowsContainingKeyword(const QuestTable &table, QStringView keyword)
{
    const int rows = table.count();
    std::vector<bool> found(static_cast<std::size_t>(rows) + 1, false);
    if (keyword.isEmpty()) {
        std::fill(found.begin() + 1, found.end(), true);
        return found;
    }
    const auto searched = [](qsizetype text) {
        const auto field = static_cast<TextField>(text % kTextFields);
        return field == TextField::QuestName || field == TextField::Process
               || field == TextField::Reward1;
    };
    const QuestTexts &texts = table.texts();
    const QStringView buffer = texts.buffer();
    const QChar first = keyword.front();
    const qsizetype length = keyword.size();
    qsizetype text = 0; // the text that holds the candidate
    for (qsizetype from = 0;;) {
        const qsizetype at = buffer.indexOf(first, from);
        if (at < 0)
            break;
        while (texts.end(text) < at)
            ++text;
        const auto row = static_cast<std::size_t>(text / kTextFields) + 1;
        // A match must lie within one text: none can run into the terminator and on into the
        // next text, whatever the keyword holds (a text may hold U+0000 itself).
        if (!searched(text) || at + length > texts.end(text)) {
            from = texts.start(text + 1);
        } else if (buffer.sliced(at, length) == keyword) {
            found[row] = true;
            from = texts.start(static_cast<qsizetype>(row) * kTextFields); // the next row
        } else {
            from = at + 1;
        }
    }
    return found;
}

} // namespace pelko
