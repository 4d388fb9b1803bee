#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace pelko {

// One row of the quest database, fields in file order.
struct QuestRecord {
    std::uint8_t Region = 0;
    std::int16_t ChainNo = 0;
    std::int16_t QuestNo = 0;
    QString QuestName;
    QString Client;
    QString Process;
    QString Reward1;
    QString Reward2;
};

// The most quest records a database may hold: the row counter is 16-bit and the end record
// needs one more row.
inline constexpr int kMaxQuests = 32766;

// All quests, addressed by row from 1 to count(); filled once at start-up, never changed.
// A quest is identified by its row everywhere except in the progress table (its QuestNo).
class QuestTable
{
public:
    QuestTable() = default;
    QuestTable(std::vector<QuestRecord> quests, QuestRecord endRecord);

    std::int16_t count() const { return static_cast<std::int16_t>(m_rows.size()); }
    bool isRow(int row) const { return row >= 1 && row <= count(); }
    // row must satisfy isRow(); there is no row 0.
    const QuestRecord &row(int row) const { return m_rows[static_cast<std::size_t>(row - 1)]; }
    const QuestRecord &endRecord() const { return m_end; }

    // Chain group of a row: ChainNo / 10, truncated toward zero (0 means no chain).
    std::int16_t chainGroup(int row) const;

private:
    std::vector<QuestRecord> m_rows;
    QuestRecord m_end;
};

inline std::int16_t chainGroupOf(std::int16_t chainNo)
{
    return static_cast<std::int16_t>(chainNo / 10);
}

} // namespace pelko
