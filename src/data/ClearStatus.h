#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <QtGlobal>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace pelko {

// Progress values the program itself stores; a file may bring in any value from 0 to 255,
// which is kept and written back unchanged.
enum Progress : std::uint8_t { NotDone = 0, Cleared = 1, OnHold = 2 };

// The largest clr_stat.dat that is read: 32,766 lines "nnnnn,vvv" and the end line, each ended by
// CR LF, take 360,434 bytes; the rest is room for the blanks a hand edit may add. A larger file
// is damaged and is not loaded.
inline constexpr qint64 kMaxClearStatusBytes = 1024 * 1024;

// One progress byte per quest number, 1 to size(). Quest numbers come from the database and
// may lie outside that range: such a quest simply has no progress entry.
//
// Progress read for quest numbers above the table (the file was written with a larger or newer
// database than the one now loaded) is kept apart, never shown or changed, and written back after
// the table's own lines, so that going back to that database restores it.
class ClearStatusTable
{
public:
    ClearStatusTable() = default;
    explicit ClearStatusTable(std::int16_t size) : m_values(size > 0 ? size : 0, 0) {}

    std::int16_t size() const { return static_cast<std::int16_t>(m_values.size()); }
    bool hasEntry(int questNo) const { return questNo >= 1 && questNo <= size(); }
    // The progress of a quest number, or nothing when the number has no entry.
    std::optional<std::uint8_t> progressOf(int questNo) const;
    // Stores a value; a quest number without an entry is refused.
    bool set(int questNo, std::uint8_t value);

    // Kept progress above the table, by quest number; value 0 is not kept (a save would not
    // write it either). Refused for a quest number the table has, or one of 0 or below.
    bool keepBeyondTable(int questNo, std::uint8_t value);
    const std::map<std::int16_t, std::uint8_t> &beyondTable() const { return m_beyond; }

private:
    std::vector<std::uint8_t> m_values;
    std::map<std::int16_t, std::uint8_t> m_beyond;
};

// The running checksum of clr_stat.dat: c becomes (c + n * v) mod 10000 in 16-bit arithmetic.
// A line whose product or sum leaves 16 bits does not count; that rule is kept so that files
// written by earlier versions still verify and files written now are read by them.
class StatusChecksum
{
public:
    // Adds one line; false when its arithmetic overflowed and it was left out.
    bool add(std::int16_t n, std::int16_t v);
    std::int16_t value() const { return m_c; }

private:
    std::int16_t m_c = 0;
};

struct ClearStatusLoad {
    ClearStatusTable table;
    // A failed read, a line that names no quest of the table or holds no byte value, or a wrong
    // checksum.
    bool damaged = false;
};

// Reads clr_stat.dat for a database of questCount quests. Lines are applied as they are read;
// the reading stops at the end line or at the first field that cannot be read. A line for a
// quest number above the table is kept apart (and still reported as damage).
ClearStatusLoad parseClearStatus(QByteArrayView bytes, std::int16_t questCount);

// The whole file: "n,v" for every non-zero entry in ascending n, then the kept lines above the
// table (so the numbers still ascend), then "0,c"; CR LF line ends.
QByteArray serializeClearStatus(const ClearStatusTable &table);

} // namespace pelko
