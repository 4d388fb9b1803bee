#pragma once

#include <QString>
#include <QStringView>

#include <array>
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

// Every text of every row in one buffer, in file order (row 1's five fields, then row 2's, ...),
// each text followed by a U+0000. The records' texts are views that share this buffer, so the
// texts are held once, and a keyword search is a scan of one buffer. Since a text may itself
// hold U+0000, a text's end is known from the starts, never from the terminator.
class QuestTexts
{
public:
    QStringView buffer() const { return m_buffer; }
    // Index of a text in file order: (row - 1) * kTextFields + field.
    static qsizetype textIndex(int row, TextField field)
    {
        return static_cast<qsizetype>(row - 1) * kTextFields + static_cast<int>(field);
    }
    qsizetype start(qsizetype text) const { return m_starts[static_cast<std::size_t>(text)]; }
    // One past the text's last character, where its terminator stands.
    qsizetype end(qsizetype text) const
    {
        return qsizetype(m_starts[static_cast<std::size_t>(text) + 1]) - 1;
    }
    qsizetype textCount() const { return static_cast<qsizetype>(m_starts.size()) - 1; }
    // One text, as a view of the buffer.
    QStringView view(qsizetype text) const
    {
        return buffer().sliced(start(text), end(text) - start(text));
    }

    // Appends one text decoded from code page 932 straight into the buffer; false when a byte
    // or code of it became U+FFFD.
    bool appendAnsi(QByteArrayView bytes);
    // Room for this many characters, terminators included, and this many texts, so that
    // filling never moves the buffer; untouched room costs no memory.
    void reserve(qsizetype characters, qsizetype texts = 0);
    // Ends the filling: the buffer is cut to what was written. Called before the texts are read.
    void finish();

    // The text as a QString that shares the buffer (no copy): a copy of it kept after the table
    // has gone keeps the buffer alive, and changing it copies it first, as with any shared text.
    QString shared(qsizetype text) const;

private:
    char16_t *room(qsizetype characters);
    void close(qsizetype written);

    QString m_buffer;
    char16_t *m_filling = nullptr; // the buffer's characters while it is being filled
    qsizetype m_used = 0;          // while filling, the buffer's size is its room
    // Where each text starts, and one past the last: 32 bits hold every position of a buffer
    // filled from a database within the size limit, at half the room of qsizetype.
    std::vector<std::uint32_t> m_starts{0};
};

// All quests, addressed by row from 1 to count(); filled once at start-up, never changed.
// A quest is identified by its row everywhere except in the progress table (its QuestNo).
// The table keeps each row's numbers and one buffer of every text; a row's record is made when
// it is asked for, its texts sharing the buffer, so that a table of the format's 32,766 quests
// holds no string object of its own per text.
class QuestTable
{
public:
    QuestTable() = default;
    // The reader's way: each row's numbers, and every text already decoded into one buffer.
    QuestTable(std::vector<RowNumbers> rows, QuestTexts texts);

    std::int16_t count() const { return static_cast<std::int16_t>(m_numbers.size()); }
    bool isRow(int row) const { return row >= 1 && row <= count(); }
    // row must satisfy isRow(); there is no row 0.
    QuestRecord row(int row) const;
    const RowNumbers &numbers(int row) const
    {
        return m_numbers[static_cast<std::size_t>(row - 1)];
    }
    // One text of a row, as a view of the buffer or as a QString sharing it.
    QStringView view(int row, TextField field) const;
    QString text(int row, TextField field) const
    {
        return m_texts.shared(QuestTexts::textIndex(row, field));
    }
    const QuestTexts &texts() const { return m_texts; }

    // Chain group of a row: ChainNo / 10, truncated toward zero (0 means no chain).
    std::int16_t chainGroup(int row) const;

private:
    std::vector<RowNumbers> m_numbers;
    QuestTexts m_texts;
};

inline std::int16_t chainGroupOf(std::int16_t chainNo)
{
    return static_cast<std::int16_t>(chainNo / 10);
}

} // namespace pelko
