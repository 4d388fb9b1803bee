#include "QuestCatalog.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace pelko {
namespace {

QCollator japaneseCollator()
{
    // The interface is Japanese whatever the desktop's locale, and so is the list's order.
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

} // namespace

int compareQuestNames(const QString &a, const QString &b)
{
    static const QCollator collator = japaneseCollator();
    return collator.compare(a, b);
}

QuestCatalog::QuestCatalog(QuestTable table) : m_table(std::move(table))
{
    const QCollator collator = japaneseCollator();
    const int n = m_table.count();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<std::size_t>(n));
    for (int r = 1; r <= n; ++r)
        keys.push_back(collator.sortKey(m_table.row(r).QuestName));
    m_sortedRows.resize(static_cast<std::size_t>(n));
    std::iota(m_sortedRows.begin(), m_sortedRows.end(), std::int16_t{1});
    std::stable_sort(m_sortedRows.begin(), m_sortedRows.end(), [&](std::int16_t a, std::int16_t b) {
        // QCollator::compare() puts an empty name before every other one, even a name made only
        // of characters the collation ignores, whose sort key equals the empty one.
        const bool aEmpty = m_table.row(a).QuestName.isEmpty();
        const bool bEmpty = m_table.row(b).QuestName.isEmpty();
        if (aEmpty != bEmpty)
            return aEmpty;
        return keys[static_cast<std::size_t>(a - 1)].compare(keys[static_cast<std::size_t>(b - 1)]) < 0;
    });
}

} // namespace pelko
