#pragma once

#include "QuestTable.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace pelko {

// The quest table together with the sorted order of its names, computed once at load so that
// every flat list is one pass instead of one sorted insertion per name.
class QuestCatalog
{
public:
    QuestCatalog() = default;
    explicit QuestCatalog(QuestTable table);

    const QuestTable &table() const { return m_table; }
    // Rows in ascending Japanese collation of their names; equal names stay in row order,
    // next to each other, as a sorted list control places them.
    const std::vector<std::int16_t> &sortedRows() const { return m_sortedRows; }

private:
    friend class QuestCatalogBuilder;
    QuestTable m_table;
    std::vector<std::int16_t> m_sortedRows;
};

class Collator;

// Makes a catalog on as many threads as call work(): the names are collated in pieces, each
// taken by one thread, and the sorted pieces are merged at the end.
class QuestCatalogBuilder
{
public:
    explicit QuestCatalogBuilder(QuestTable table);
    ~QuestCatalogBuilder();
    QuestCatalogBuilder(const QuestCatalogBuilder &) = delete;
    QuestCatalogBuilder &operator=(const QuestCatalogBuilder &) = delete;

    // Collates pieces until none is left to take; any number of threads may call it at once.
    void work();
    // The catalog. Call once, after every other thread's work() has returned; what is left is
    // collated here.
    QuestCatalog finish();

private:
    struct Piece;
    void takePieces(const Collator &coll);
    QuestTable m_table;
    std::vector<Piece> m_pieces;
    std::atomic<std::size_t> m_nextPiece{0};
};

// The collation the flat list uses.
int compareQuestNames(const QString &a, const QString &b);

} // namespace pelko
