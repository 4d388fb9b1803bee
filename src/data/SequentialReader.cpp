#include "SequentialReader.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace pelko {

SequentialReader::SequentialReader(QByteArrayView bytes, qsizetype from)
    : m_bytes(bytes), m_pos(from)
{}

// The scans below work on local positions: the position is a member, and a store to it may
// (for all the compiler knows) change the bytes being read, which would keep every loop from
// being compiled tightly.

bool SequentialReader::atLineEnd() const
{
    return m_pos < m_bytes.size() && (m_bytes[m_pos] == '\r' || m_bytes[m_pos] == '\n');
}

void SequentialReader::skipBlanks()
{
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    qsizetype pos = m_pos;
    while (pos < size && (data[pos] == ' ' || data[pos] == '\t'))
        ++pos;
    m_pos = pos;
}

bool SequentialReader::beginField()
{
    m_error = ReadError::None;
    if (atEnd()) {
        m_error = ReadError::EndOfFile;
        return false;
    }
    m_fieldLine = m_line;
    return true;
}

// Where the field that goes on at from ends: at its comma or line end, or the end of the bytes.
qsizetype SequentialReader::delimiterFrom(qsizetype from) const
{
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    while (from < size && data[from] != ',' && data[from] != '\r' && data[from] != '\n')
        ++from;
    return from;
}

// Consumes what is left of the field up to and including its delimiter.
void SequentialReader::finishField()
{
    // Most fields end right where their content does, at a comma.
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == ',') {
        ++m_pos;
        m_endedLine = false;
        return;
    }
    qsizetype pos = delimiterFrom(m_pos);
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    m_endedLine = true;
    if (pos < size) {
        if (data[pos] == ',') {
            m_endedLine = false;
        } else {
            if (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n')
                ++pos;
            ++m_line;
        }
        ++pos;
    }
    m_pos = pos;
}

std::optional<long long> SequentialReader::readNumber(long long min, long long max)
{
    if (!beginField())
        return std::nullopt;
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    skipBlanks();
    qsizetype pos = m_pos;
    bool hasSign = false;
    bool negative = false;
    if (pos < size && (data[pos] == '-' || data[pos] == '+')) {
        hasSign = true;
        negative = data[pos] == '-';
        ++pos;
    }
    const qsizetype digitsStart = pos;
    long long value = 0;
    bool overflow = false;
    while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
        if (value < 1000000)
            value = value * 10 + (data[pos] - '0');
        else
            overflow = true; // far outside every field; keep scanning the digits
        ++pos;
    }
    const bool hadDigits = pos > digitsStart;
    while (pos < size && (data[pos] == ' ' || data[pos] == '\t'))
        ++pos;
    const bool cleanEnd = pos >= size || data[pos] == ',' || data[pos] == '\r' || data[pos] == '\n';
    m_pos = pos;
    finishField();
    // An empty field reads as 0, as it always has; a sign alone or any other text is no number.
    if (!cleanEnd || (!hadDigits && hasSign)) {
        m_error = ReadError::NotANumber;
        return std::nullopt;
    }
    if (negative)
        value = -value;
    if (overflow || value < min || value > max) {
        m_error = ReadError::OutOfRange;
        return std::nullopt;
    }
    return value;
}

namespace {

// The first double quote or line end from p on, or end: sixteen bytes a step where the
// processor has SSE2 (every x86-64 does).
const char *quoteOrLineEnd(const char *p, const char *const end)
{
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i hits = _mm_or_si128(
            _mm_cmpeq_epi8(b, quote), _mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, lf)));
        if (const int mask = _mm_movemask_epi8(hits))
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p < end; ++p) {
        if (*p == '"' || *p == '\r' || *p == '\n')
            break;
    }
    return p;
}

} // namespace

std::optional<QByteArrayView> SequentialReader::readRawText()
{
    // The usual text: quoted, on one line, and ended right after its closing quote, taken in
    // one scan; anything else is read below.
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    if (m_pos < size && data[m_pos] == '"') {
        const char *const begin = data + m_pos + 1;
        const char *const close = quoteOrLineEnd(begin, data + size);
        qsizetype next = close - data + 1; // after the closing quote
        const bool closed = close < data + size && *close == '"';
        const char delimiter = next < size ? data[next] : '\n';
        if (closed && (delimiter == ',' || delimiter == '\r' || delimiter == '\n')) {
            m_error = ReadError::None;
            m_fieldLine = m_line;
            m_endedLine = delimiter != ',';
            if (next < size) {
                if (delimiter == '\r' && next + 1 < size && data[next + 1] == '\n')
                    ++next;
                m_line += m_endedLine;
                ++next;
            }
            m_pos = next;
            return QByteArrayView(begin, close - begin);
        }
    }
    if (!beginField())
        return std::nullopt;
    skipBlanks();
    QByteArrayView raw;
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"') {
        // A quoted text runs to the closing quote, commas and line ends included; anything
        // between the closing quote and the delimiter is dropped.
        const qsizetype start = ++m_pos;
        const char *const begin = m_bytes.data() + start;
        const auto *quote =
            static_cast<const char *>(std::memchr(begin, '"', std::size_t(m_bytes.size() - start)));
        m_pos = quote ? quote - m_bytes.data() : m_bytes.size();
        raw = m_bytes.sliced(start, m_pos - start);
        countLineEnds(raw);
        if (m_pos < m_bytes.size())
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        m_pos = delimiterFrom(start);
        raw = m_bytes.sliced(start, m_pos - start);
    }
    finishField();
    return raw;
}

namespace {

// Whether bytes hold a control character below 0x0E, which every line end is: eight bytes at a
// time for a short text, two vectorised searches for a long one.
bool mayHoldLineEnd(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    if (bytes.size() > 64)
        return std::memchr(p, '\n', bytes.size()) || std::memchr(p, '\r', bytes.size());
    for (; end - p >= 8; p += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, p, 8);
        if ((eight - 0x0E0E0E0E0E0E0E0EULL) & ~eight & 0x8080808080808080ULL)
            return true;
    }
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) < 0x0E)
            return true;
    }
    return false;
}

} // namespace

// Line ends inside a quoted text: LF, CR LF and a lone CR each count once.
void SequentialReader::countLineEnds(QByteArrayView raw)
{
    if (!mayHoldLineEnd(raw)) // most texts hold none at all
        return;
    const char *p = raw.data();
    const char *const end = p + raw.size();
    for (; p < end; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 >= end || p[1] != '\n')))
            ++m_line;
    }
}

} // namespace pelko
