#include "LiteralSortedList.h"

#include <QCollator>
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
    // Qt's own Japanese collation, as a port written with the standard facilities would use.
    static const QCollator japanese(QLocale(QLocale::Japanese, QLocale::Japan));
    const auto at = std::upper_bound(
        m_sorted.begin(), m_sorted.end(), name,
        [](const QString &a, const QString &b) { return japanese.compare(a, b) < 0; });
    const int position = static_cast<int>(at - m_sorted.begin());
    m_sorted.insert(at, name);
    m_visible.insertItem(position, name);
}

} // namespace pelko::bench
