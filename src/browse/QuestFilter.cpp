#include "QuestFilter.h"

#include "RegionTable.h"

namespace pelko {

QuestFilter::QuestFilter(const QuestTable &table, const ClearStatusTable &status,
                         const FilterSelection &selection)
    : m_table(table), m_status(status), m_stateIndex(selection.stateIndex)
{
    // The selector's text is compared with each code's name once here rather than per row.
    for (int code = 0; code < 256; ++code) {
        const QString name = regionName(static_cast<std::uint8_t>(code));
        m_regionPasses[static_cast<std::size_t>(code)] =
            selection.countryIndex == 0 || (!name.isEmpty() && name == selection.countryText);
    }
}

bool QuestFilter::matches(int row) const
{
    const QuestRecord &rec = m_table.row(row);
    if (!m_regionPasses[rec.Region])
        return false;
    if (m_stateIndex == 0)
        return true;
    const int progress = m_status.progressOf(rec.QuestNo).value_or(NotDone);
    return m_stateIndex == progress + 1;
}

} // namespace pelko
