#include "ClearStatus.h"

#include "SequentialReader.h"

#include <charconv>

namespace pelko {

std::optional<std::uint8_t> ClearStatusTable::progressOf(int questNo) const
{
    if (!hasEntry(questNo))
        return std::nullopt;
    return m_values[static_cast<std::size_t>(questNo - 1)];
}

bool ClearStatusTable::set(int questNo, std::uint8_t value)
{
    if (!hasEntry(questNo))
        return false;
    m_values[static_cast<std::size_t>(questNo - 1)] = value;
    return true;
}

bool ClearStatusTable::keepBeyondTable(int questNo, std::uint8_t value)
{
    if (questNo <= size() || questNo > INT16_MAX)
        return false;
    if (value == 0)
        m_beyond.erase(static_cast<std::int16_t>(questNo));
    else
        m_beyond[static_cast<std::int16_t>(questNo)] = value;
    return true;
}

bool StatusChecksum::add(std::int16_t n, std::int16_t v)
{
    const int product = n * v;
    if (product > INT16_MAX || product < INT16_MIN)
        return false;
    const int sum = m_c + product;
    if (sum > INT16_MAX || sum < INT16_MIN)
        return false;
    m_c = static_cast<std::int16_t>(sum % 10000); // truncating, like the stored files
    return true;
}

ClearStatusLoad parseClearStatus(QByteArrayView bytes, std::int16_t questCount)
{
    ClearStatusLoad load{ClearStatusTable(questCount), false};
    SequentialReader in(bytes);
    StatusChecksum c;
    for (;;) {
        const auto n = in.readInt16();
        const auto v = n ? in.readInt16() : std::nullopt;
        if (!n || !v) {
            load.damaged = true; // the file ended, or a number did not fit, before the end line
            return load;
        }
        if (*n == 0) {
            if (*v != c.value())
                load.damaged = true;
            return load;
        }
        // An overflowing line is left out of c, but is no damage in itself: large databases
        // produce such lines in every save.
        c.add(*n, *v);
        const bool byte = *v >= 0 && *v <= UINT8_MAX;
        if (byte && *n > load.table.size())
            load.table.keepBeyondTable(*n, static_cast<std::uint8_t>(*v));
        if (!byte || !load.table.set(*n, static_cast<std::uint8_t>(*v)))
            load.damaged = true;
    }
}

QByteArray serializeClearStatus(const ClearStatusTable &table)
{
    QByteArray out;
    out.reserve((table.size() + qsizetype(table.beyondTable().size())) * 11 + 16);
    StatusChecksum c;
    const auto line = [&out, &c](int n, std::uint8_t v) {
        // Formatted in place: a save of the largest table stays well under a millisecond.
        char text[16];
        char *p = std::to_chars(text, text + 6, n).ptr;
        *p++ = ',';
        p = std::to_chars(p, p + 3, int(v)).ptr;
        *p++ = '\r';
        *p++ = '\n';
        out.append(text, p - text);
        c.add(static_cast<std::int16_t>(n), v);
    };
    for (int n = 1; n <= table.size(); ++n) {
        if (const std::uint8_t v = *table.progressOf(n))
            line(n, v);
    }
    for (const auto &[n, v] : table.beyondTable())
        line(n, v);
    out += "0," + QByteArray::number(c.value()) + "\r\n";
    return out;
}

} // namespace pelko
