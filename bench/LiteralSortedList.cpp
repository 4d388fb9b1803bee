#include "LiteralSortedList.h"

#include "QuestCatalog.h"

#include <QListWidget>

#include <algorithm>

namespace pelko::bench {

void LiteralSortedList::clear()
{
    m_visible.clear();
    m_sorted.clear();
}

void LiteralSortedList::addItem(const QString &name)
{
    const auto at = std::upper_bound(
        m_sorted.begin(), m_sorted.end(), name,
        [](const QString &a, const QString &b) { return compareQuestNames(a, b) < 0; });
    const int position = static_cast<int>(at - m_sorted.begin());
    m_sorted.insert(at, name);
    m_visible.insertItem(position, name);
}

} // namespace pelko::bench
