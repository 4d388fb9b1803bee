#include "QuestFilter.h"

#include "RegionTable.h"

namespace pelko {

QuestFilter::QuestFilter(const QuestTable &table, const ClearStatusTable &status,
                         const FilterSelection &selection)
    : m_table(table), m_status(status), m_stateItem(selection.stateItem)
{
    for (int code = 0; code < 256; ++code) {
        const bool named = !regionName(static_cast<std::uint8_t>(code)).isEmpty();
        m_regionPasses[static_cast<std::size_t>(code)] =
            selection.region == kAllRegions || (named && selection.region == code);
    }
}

bool QuestFilter::matches(int row) const
{
    const RowNumbers &rec = m_table.numbers(row);
    if (!m_regionPasses[rec.Region])
        return false;
    if (m_stateItem == 0)
        return true;
    const int progress = m_status.progressOf(rec.QuestNo).value_or(NotDone);
    return m_stateItem == progress + 1;
}

} // namespace pelko
