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
// One table lookup a character decodes a database many times faster than handing the
// converter each run of double-byte characters.
class CodePage932
{
public:
    CodePage932()
    {
        m_single.fill(kReplacement);
        for (int b = 0; b < 0x80; ++b)
            m_single[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);

        QByteArray kana;
        for (int b = 0xA1; b <= 0xDF; ++b)
            kana.append(static_cast<char>(b));
        // Made on the loading thread before the first name is decoded: written in place, one
        // byte at a time, rather than appended.
        QByteArray pairs(2 * 0x100 * 0x100, Qt::Uninitialized);
        char *out = pairs.data();
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (isLeadByte(static_cast<unsigned char>(lead))
                    && isTrailByte(static_cast<unsigned char>(trail))) {
                    *out++ = static_cast<char>(lead);
                    *out++ = static_cast<char>(trail);
                }
            }
        }
        pairs.truncate(out - pairs.data());
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        const QString kanaText = decoder(kana);
        const QString pairText = decoder(pairs);
        // Every code of the page is one UTF-16 unit; should a converter ever answer otherwise,
        // each code is asked on its own and one that is not a single unit stays U+FFFD.
        const bool oneEach = kanaText.size() == kana.size() && pairText.size() * 2 == pairs.size();
        const auto character = [&](const QString &text, qsizetype at, QByteArrayView code) {
            return oneEach ? mapped(QStringView(text).sliced(at, 1))
                           : mapped(QString(decoder(code)));
        };
        for (qsizetype i = 0; i < kana.size(); ++i)
            m_single[static_cast<unsigned char>(kana[i])] =
                character(kanaText, i, kana.sliced(i, 1));
        for (qsizetype i = 0; i < pairs.size(); i += 2) {
            const auto code = static_cast<std::size_t>(static_cast<unsigned char>(pairs[i]) << 8
                                                       | static_cast<unsigned char>(pairs[i + 1]));
            m_pairs[code] = character(pairText, i / 2, pairs.sliced(i, 2));
        }
    }

    // Decodes into out, which has room for one character a byte; returns the characters written
    // and sets replaced when any of them is U+FFFD.
    qsizetype decode(QByteArrayView bytes, char16_t *out, bool &replaced) const
    {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
        const auto *const end = p + bytes.size();
        char16_t *const start = out;
        bool bad = false;
        while (p < end) {
            const unsigned b = *p;
            if (b < 0x80) {
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
                while (p < end && *p < 0x80)
                    *out++ = *p++;
                continue;
            }
            // A lead byte with its trail byte is one character of the pair table, and Japanese
            // text is mostly runs of them; anything else is a character of one byte (half-width
            // katakana) or a byte that starts nothing.
            for (char16_t pair; end - p >= 2 && (pair = m_pairs[unsigned(*p) << 8 | p[1]]) != 0;
                 p += 2) {
                bad |= pair == kReplacement;
                *out++ = pair;
            }
            if (p < end && *p >= 0x80) {
                const char16_t c = m_single[*p++];
                bad |= c == kReplacement;
                *out++ = c;
            }
        }
        replaced = replaced || bad;
        return out - start;
    }

private:
    static char16_t mapped(QStringView c)
    {
        return c.size() == 1 && c.front() != QChar(0x1A) ? c.front().unicode() : kReplacement;
    }

    std::array<char16_t, 256> m_single{};
    // Indexed by lead byte << 8 | trail byte: the character, U+FFFD for a code the page leaves
    // unassigned, and 0 where the two bytes are no lead and trail byte (no code gives U+0000).
    std::array<char16_t, 256 * 256> m_pairs{};
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
