#pragma once

#include "QuestTable.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace pelko {

// The quest table together with the sorted order of its names, computed once at load so that
// every flat list is one pass instead of one sorted insertion per name.
class QuestCatalog
{
public:
    QuestCatalog() = default;

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

// Makes a catalog while the table is still being read: the reader hands over the names a piece
// at a time, any number of threads collate the pieces as they come, and the sorted pieces are
// merged at the end.
class QuestCatalogBuilder
{
public:
    // Rows a piece holds: enough that a piece's sort is long against taking it, few enough that
    // every thread gets several pieces of the largest table.
    static constexpr int kPieceRows = 2048;

    explicit QuestCatalogBuilder(int pieceRows = kPieceRows);
    ~QuestCatalogBuilder();
    QuestCatalogBuilder(const QuestCatalogBuilder &) = delete;
    QuestCatalogBuilder &operator=(const QuestCatalogBuilder &) = delete;

    // From the reading thread, as rows are read: the names of rows 1 to rowCount are complete.
    // They are collated where they stand, so their buffer must not move from the first call to
    // finish(): the reader reserves room for every name it can hold before it starts.
    void rowsRead(const QuestTexts &names, int rowCount);
    // From the reading thread: the table is complete (the last rows' names are handed over), or
    // it will never be (nothing more will come).
    void close(const QuestTexts &names, int rowCount);
    // Nothing more will come, and nothing more is collated: returns once no thread is inside a
    // piece, so that the names may go. Never called by a thread that is inside a piece itself
    // (that is, from within work() or finish()).
    void abandon();

    // Collates pieces as they come until all are done or the table is abandoned; any number of
    // threads may call it at once.
    void work();
    // The catalog of the closed table. Call once, after every other thread's work() has
    // returned; what is left is collated here.
    QuestCatalog finish(QuestTable table);

private:
    struct Piece;
    class Collating;
    Piece *nextPiece();
    void cutPieces(const QuestTexts &names, int rowCount, bool all);
    void collate(const Collator &coll);

    const int m_pieceRows;
    std::mutex m_mutex;
    std::condition_variable m_pieceAdded;
    std::condition_variable m_pieceDone;
    std::deque<Piece> m_pieces; // a deque: pieces never move once added
    std::size_t m_taken = 0;    // pieces handed to a thread
    int m_collating = 0;        // threads inside a piece, reading the reader's names
    int m_rowsHandedOver = 0;
    bool m_closed = false;
    bool m_abandoned = false;
};

} // namespace pelko
