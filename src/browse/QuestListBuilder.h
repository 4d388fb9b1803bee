#pragma once

#include "QuestCatalog.h"
#include "QuestFilter.h"
#include "TreeMarks.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace pelko {

// One entry of the quest list: the row it was made from (two quests may share a name, and a
// name may itself begin with a tree mark) and its mark in the tree. Its text is made only when
// it is shown, so a rebuild copies no names.
struct ListEntry {
    std::int16_t row = 0;
    TreeMark mark = TreeMark::None;

    bool operator==(const ListEntry &o) const { return row == o.row && mark == o.mark; }
};

using QuestList = std::vector<ListEntry>;

// The text the list shows for an entry: the quest's name, after its mark in the tree.
QString entryText(const QuestTable &table, const ListEntry &entry);

enum class ListPresentation { Flat, Tree };

// Builds one quest list. Rows are offered in ascending order through AddQuestToList; the flat
// presentation is emitted in name order and the tree in row order, each in one pass, and the
// tree's look-ahead to the next listed row is answered from a table computed once.
class QuestListBuilder
{
public:
    QuestListBuilder(const QuestCatalog &catalog, const QuestFilter &filter,
                     ListPresentation presentation);

    bool CheckQuestFilter(std::int16_t index) const;
    // Adds the row if it passes the filter; rows must come in ascending order.
    void AddQuestToList(std::int16_t index);
    // Offers every row, 1 to the number of quests.
    void addAllRows();

    // The finished list, in the order it is shown.
    QuestList takeEntries();

private:
    void computeNextListed();

    const QuestCatalog &m_catalog;
    const QuestFilter &m_filter;
    ListPresentation m_presentation;
    QuestList m_tree;
    std::vector<std::uint8_t> m_added;      // flat: rows added, by row
    std::vector<std::uint8_t> m_passes;     // tree: rows that pass the filter, by row
    std::vector<std::int16_t> m_nextListed; // tree: the next row after r that passes, or 0
    std::int16_t m_displayCount = 0;        // the entries added so far
    std::int16_t m_lastChainGroup = 0;      // the chain group of the entry added last
};

} // namespace pelko
