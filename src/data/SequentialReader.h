#pragma once

#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace pelko {

// Why a field could not be read.
enum class ReadError {
    None,
    EndOfFile,  // no field left: the file ended before it
    NotANumber, // a numeric field holding anything but an optional sign and decimal digits
    OutOfRange, // a number that does not fit its field
};

// Comma-separated sequential input over raw bytes, as the program's three files are written:
// a field ends at a comma or a line end (CR LF, CR or LF); spaces around a number are ignored;
// a text is either quoted (and may then hold commas) or runs to the next delimiter with its
// leading spaces skipped. Fields are taken one after another regardless of where lines end.
class SequentialReader
{
public:
    // Reading starts at from; line numbers count from there.
    explicit SequentialReader(QByteArrayView bytes, qsizetype from = 0);

    std::optional<std::int16_t> readInt16()
    {
        const std::optional<long long> v = quickNumber(INT16_MAX);
        if (v)
            return static_cast<std::int16_t>(*v);
        return narrowed<std::int16_t>(readNumber(INT16_MIN, INT16_MAX));
    }
    std::optional<std::uint8_t> readUInt8()
    {
        const std::optional<long long> v = quickNumber(UINT8_MAX);
        if (v)
            return static_cast<std::uint8_t>(*v);
        return narrowed<std::uint8_t>(readNumber(0, UINT8_MAX));
    }
    // A text field's bytes, cut out but not decoded: the caller decodes them from code page 932.
    std::optional<QByteArrayView> readRawText();

    ReadError lastError() const { return m_error; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    qsizetype position() const { return m_pos; }
    // 1-based line of the next field to read, and of the field read last.
    int line() const { return m_line; }
    int lastFieldLine() const { return m_fieldLine; }
    // True when the field read last was ended by a line end or the end of the file, not a comma.
    bool lastFieldEndedLine() const { return m_endedLine; }

private:
    // The usual number, up to five digits ended by a comma, taken at once; anything else is left
    // to readNumber.
    std::optional<long long> quickNumber(long long max)
    {
        const char *const data = m_bytes.data();
        const qsizetype size = m_bytes.size();
        qsizetype pos = m_pos;
        const qsizetype stop = std::min(size, pos + 5);
        long long value = 0;
        while (pos < stop && static_cast<unsigned char>(data[pos] - '0') < 10)
            value = value * 10 + (data[pos++] - '0');
        if (pos == m_pos || pos == size || data[pos] != ',' || value > max)
            return std::nullopt;
        m_error = ReadError::None;
        m_fieldLine = m_line;
        m_pos = pos + 1;
        m_endedLine = false;
        return value;
    }
    template <class T> static std::optional<T> narrowed(std::optional<long long> v)
    {
        if (!v)
            return std::nullopt;
        return static_cast<T>(*v);
    }
    std::optional<long long> readNumber(long long min, long long max);
    bool beginField();
    void skipBlanks();
    void finishField();
    bool atLineEnd() const;
    qsizetype delimiterFrom(qsizetype from) const;
    void countLineEnds(QByteArrayView raw);

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_fieldLine = 1;
    bool m_endedLine = false;
    ReadError m_error = ReadError::None;
};

} // namespace pelko
