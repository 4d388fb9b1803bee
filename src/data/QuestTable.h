#pragma once

#include "DetailTexts.h"
#include "QuestTexts.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
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

// The text fields of a record, in file order.
enum class TextField { QuestName, Client, Process, Reward1, Reward2 };
inline constexpr int kTextFields = 5;

// The numbers of one row, kept apart from the texts: a pass over every row for a filter or the
// tree reads a few bytes a row instead of a whole record.
struct RowNumbers {
    std::int16_t ChainNo = 0;
    std::int16_t QuestNo = 0;
    std::uint8_t Region = 0;
};

// All quests, addressed by row from 1 to count(); filled once at start-up, never changed.
// A quest is identified by its row everywhere except in the progress table (its QuestNo).
// The table keeps each row's numbers, one buffer of the names (what the list and its order
// need) and one of the other texts, which may still be decoding when the table is handed over;
// a row's record is made when it is asked for, its texts sharing the buffers, so that a table
// of the format's 32,766 quests holds no string object of its own per text.
class QuestTable
{
public:
    QuestTable() = default;
    // The reader's way: each row's numbers, every name decoded into one buffer, and the other
    // texts, DetailTexts::kPerRow a row.
    QuestTable(std::vector<RowNumbers> rows, QuestTexts names,
               std::shared_ptr<const DetailTexts> details);

    std::int16_t count() const { return static_cast<std::int16_t>(m_numbers.size()); }
    bool isRow(int row) const { return row >= 1 && row <= count(); }
    // row must satisfy isRow(); there is no row 0.
    QuestRecord row(int row) const;
    const RowNumbers &numbers(int row) const
    {
        return m_numbers[static_cast<std::size_t>(row - 1)];
    }
    // One text of a row, as a QString sharing its buffer.
    QString text(int row, TextField field) const;

    // The names, one text a row.
    const QuestTexts &names() const { return m_names; }
    // The texts after the names, DetailTexts::kPerRow a row (detailIndex), decoded first when
    // they are not yet.
    const QuestTexts &details() const;
    static qsizetype detailIndex(int row, TextField field)
    {
        return static_cast<qsizetype>(row - 1) * DetailTexts::kPerRow + static_cast<int>(field) - 1;
    }
    // The same texts, for a thread that decodes them ahead of need.
    const std::shared_ptr<const DetailTexts> &detailTexts() const { return m_details; }

    // Chain group of a row: ChainNo / 10, truncated toward zero (0 means no chain).
    std::int16_t chainGroup(int row) const;

private:
    std::vector<RowNumbers> m_numbers;
    QuestTexts m_names;
    std::shared_ptr<const DetailTexts> m_details;
};

inline std::int16_t chainGroupOf(std::int16_t chainNo)
{
    return static_cast<std::int16_t>(chainNo / 10);
}

} // namespace pelko
