#pragma once

#include "ClearStatus.h"
#include "QuestTable.h"

#include <QString>

#include <array>
#include <cstdint>

namespace pelko {

// The two selectors as they stand when a list is built.
struct FilterSelection {
    int countryIndex = -1;  // 0 is all regions
    QString countryText;    // the region name shown by the region selector
    int stateIndex = -1;    // 0 is all progress values; k is progress k - 1
};

// Decides whether a row passes the region and progress selectors. The region is matched by
// name, so codes without a name (or outside 1 to 20) pass only under all regions; a quest
// whose number has no progress entry counts as not done.
class QuestFilter
{
public:
    QuestFilter(const QuestTable &table, const ClearStatusTable &status,
                const FilterSelection &selection);

    bool matches(int row) const;

private:
    const QuestTable &m_table;
    const ClearStatusTable &m_status;
    std::array<bool, 256> m_regionPasses{};
    int m_stateIndex;
};

} // namespace pelko
