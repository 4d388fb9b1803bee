#pragma once

#include "QuestCatalog.h"
#include "QuestFilter.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace pelko {

// One entry of the quest list: the text shown, and the row it was made from (two quests may
// share a name, and a name may itself begin with a tree prefix).
struct ListEntry {
    QString text;
    std::int16_t row = 0;

    bool operator==(const ListEntry &o) const { return text == o.text && row == o.row; }
};

enum class ListPresentation { Flat, Tree };

// Prefixes of follow-on quests in the chained tree (ideographic space + box drawing).
QString treeBranchPrefix(); // "　├": the next listed quest continues the chain
QString treeEndPrefix();    // "　└": the chain's last listed quest

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

    std::int16_t DisplayCount() const { return m_displayCount; }
    std::int16_t LastChainGroup() const { return m_lastChainGroup; }

    // The finished list, in the order it is shown.
    std::vector<ListEntry> takeEntries();

private:
    void computeNextListed();

    const QuestCatalog &m_catalog;
    const QuestFilter &m_filter;
    ListPresentation m_presentation;
    std::vector<ListEntry> m_tree;
    std::vector<bool> m_added;              // flat: rows added, by row
    std::vector<std::int16_t> m_nextListed; // tree: the next row after r that passes, or 0
    std::int16_t m_displayCount = 0;
    std::int16_t m_lastChainGroup = 0;
};

} // namespace pelko
