#pragma once

#include "QuestTable.h"

#include <cstdint>
#include <vector>

namespace pelko {

// The quest table together with the sorted order of its names, computed once at load so that
// every flat list is one pass instead of one sorted insertion per name.
class QuestCatalog
{
public:
    explicit QuestCatalog(QuestTable table);

    const QuestTable &table() const { return m_table; }
    // Rows in ascending Japanese collation of their names; equal names stay in row order,
    // next to each other, as a sorted list control places them.
    const std::vector<std::int16_t> &sortedRows() const { return m_sortedRows; }

private:
    QuestTable m_table;
    std::vector<std::int16_t> m_sortedRows;
};

// The collation the flat list uses.
int compareQuestNames(const QString &a, const QString &b);

} // namespace pelko
