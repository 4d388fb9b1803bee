#pragma once

#include "ClearStatus.h"
#include "QuestTable.h"

#include <array>
#include <cstdint>

namespace pelko {

// The region selector's choice: a region code, or one of these.
inline constexpr int kAllRegions = -1;
inline constexpr int kNoRegionChosen = -2; // the selector has no selection: nothing passes

// The two selectors as they stand when a list is built.
struct FilterSelection {
    int region = kNoRegionChosen; // kAllRegions, or the code of a named region
    int stateItem = -1;           // 0 is all progress values; k is progress k - 1; -1 none
};

// Decides whether a row passes the region and progress selectors. A quest whose region code has
// no name (or lies outside 1 to 20) has no item of its own, so it passes only under all regions;
// a quest whose number has no progress entry counts as not done.
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
    int m_stateItem;
};

} // namespace pelko
