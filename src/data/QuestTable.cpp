#include "QuestTable.h"

namespace pelko {

QuestTable::QuestTable(std::vector<QuestRecord> quests, QuestRecord endRecord)
    : m_rows(std::move(quests)), m_end(std::move(endRecord))
{
}

std::int16_t QuestTable::chainGroup(int r) const
{
    return chainGroupOf(row(r).ChainNo);
}

} // namespace pelko
