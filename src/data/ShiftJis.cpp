#include "ShiftJis.h"

#include <QStringDecoder>

#include <array>
#include <cstdint>
#include <cstring>

namespace pelko {
namespace {

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

constexpr char16_t kReplacement = 0xFFFD;

// The code page as two tables, made once from the platform converter so that the mapping is the
// converter's own: one character for every single byte and one for every lead and trail byte.
// Around the converter, ASCII is taken byte for byte (the converter swaps some control codes)
// and a byte that starts no character, or a double-byte code the code page does not assign,
// becomes U+FFFD (the converter would give U+001A, which looks like ordinary text in a list).
// A table lookup a character decodes a database several times faster than handing the
// converter each run of double-byte characters.
class CodePage932
{
public:
    CodePage932()
    {
        m_single.fill(kReplacement);
        for (int b = 0; b < 0x80; ++b)
            m_single[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
        m_double.fill(kReplacement);
        fillByteClasses();

        QByteArray kana;
        for (int b = 0xA1; b <= 0xDF; ++b)
            kana.append(static_cast<char>(b));
        QByteArray pairs;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (isLeadByte(static_cast<unsigned char>(lead))
                    && isTrailByte(static_cast<unsigned char>(trail))) {
                    pairs.append(static_cast<char>(lead));
                    pairs.append(static_cast<char>(trail));
                }
            }
        }
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        const QString kanaText = decoder(kana);
        const QString pairText = decoder(pairs);
        // Every code of the page is one UTF-16 unit; should a converter ever answer otherwise,
        // each code is asked on its own and one that is not a single unit stays U+FFFD.
        const bool oneEach = kanaText.size() == kana.size() && pairText.size() * 2 == pairs.size();
        for (qsizetype i = 0; i < kana.size(); ++i) {
            const QString c = oneEach ? QString(kanaText.at(i)) : decoder(kana.sliced(i, 1));
            setSingle(static_cast<unsigned char>(kana[i]), c);
        }
        for (qsizetype i = 0; i < pairs.size(); i += 2) {
            const QString c = oneEach ? QString(pairText.at(i / 2)) : decoder(pairs.sliced(i, 2));
            setDouble(static_cast<unsigned char>(pairs[i]),
                      static_cast<unsigned char>(pairs[i + 1]), c);
        }
    }

    // Decodes into out, which has room for one character a byte; returns the characters written
    // and sets replaced when any of them is U+FFFD.
    qsizetype decode(QByteArrayView bytes, char16_t *out, bool &replaced) const
    {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
        const auto *const end = p + bytes.size();
        char16_t *const start = out;
        while (p < end) {
            // Runs of ASCII, eight bytes at a time.
            while (end - p >= 8) {
                std::uint64_t eight;
                std::memcpy(&eight, p, 8);
                if (eight & 0x8080808080808080ULL)
                    break;
                for (int i = 0; i < 8; ++i)
                    out[i] = p[i];
                p += 8;
                out += 8;
            }
            if (p == end)
                break;
            const unsigned char b = *p++;
            if (b < 0x80) {
                *out++ = b;
                continue;
            }
            const int row = m_leadRow[b];
            const int column = p < end ? m_trailColumn[*p] : -1;
            const char16_t c =
                row >= 0 && column >= 0
                    ? m_double[static_cast<std::size_t>(row * kTrails + column)]
                    : m_single[b]; // half-width katakana, or a byte that starts nothing
            p += row >= 0 && column >= 0;
            replaced = replaced || c == kReplacement;
            *out++ = c;
        }
        return out - start;
    }

private:
    static std::size_t doubleIndex(unsigned char lead, unsigned char trail)
    {
        const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
        return static_cast<std::size_t>(row * kTrails + (trail - 0x40));
    }

    void fillByteClasses()
    {
        m_leadRow.fill(-1);
        m_trailColumn.fill(-1);
        for (int b = 0; b < 256; ++b) {
            const auto u = static_cast<unsigned char>(b);
            if (isLeadByte(u))
                m_leadRow[u] = static_cast<std::int16_t>(doubleIndex(u, 0x40) / kTrails);
            if (isTrailByte(u))
                m_trailColumn[u] = static_cast<std::int16_t>(b - 0x40);
        }
    }

    static char16_t mapped(const QString &c)
    {
        return c.size() == 1 && c.at(0) != QChar(0x1A) ? c.at(0).unicode() : kReplacement;
    }

    void setSingle(unsigned char b, const QString &c) { m_single[b] = mapped(c); }
    void setDouble(unsigned char lead, unsigned char trail, const QString &c)
    {
        m_double[doubleIndex(lead, trail)] = mapped(c);
    }

    static constexpr int kLeads = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);
    static constexpr int kTrails = 0xFC - 0x40 + 1;
    std::array<char16_t, 256> m_single{};
    std::array<std::int16_t, 256> m_leadRow{};     // a lead byte's row of m_double, or -1
    std::array<std::int16_t, 256> m_trailColumn{}; // a trail byte's column, or -1
    std::array<char16_t, kLeads * kTrails> m_double{};
};

const CodePage932 &codePage()
{
    static const CodePage932 table;
    return table;
}

} // namespace

qsizetype decodeAnsi(QByteArrayView bytes, char16_t *out, bool &allValid)
{
    bool replaced = false;
    const qsizetype written = codePage().decode(bytes, out, replaced);
    allValid = allValid && !replaced;
    return written;
}

QString decodeAnsi(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized); // never more than one character a byte
    bool valid = true;
    out.resize(decodeAnsi(bytes, reinterpret_cast<char16_t *>(out.data()), valid));
    out.squeeze(); // double-byte text needs half the room
    return out;
}

} // namespace pelko
