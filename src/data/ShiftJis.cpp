#include "ShiftJis.h"

#include <QStringDecoder>

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

bool isHalfWidthKana(unsigned char b)
{
    return b >= 0xA1 && b <= 0xDF;
}

// Length of the character starting at i, or 0 when the byte there starts no valid character.
qsizetype characterLength(QByteArrayView bytes, qsizetype i)
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || isHalfWidthKana(b))
        return 1;
    if (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1])))
        return 2;
    return 0;
}

const QChar kReplacement(0xFFFD);

} // namespace

QString decodeAnsi(QByteArrayView bytes)
{
    // The code page mapping itself comes from the platform converter; around it, ASCII is taken
    // byte for byte (the converter swaps some control codes) and invalid bytes are replaced here
    // (the converter would give U+001A, which looks like ordinary text in a list).
    // Opening a converter is far dearer than decoding one field, so one is kept; it is handed
    // whole characters only and keeps no state between calls.
    static thread_local QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(static_cast<char16_t>(b)));
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
            const qsizetype len = characterLength(bytes, end);
            if (len == 0)
                break;
            end += len;
        }
        if (end == i) {
            out.append(kReplacement);
            ++i;
            continue;
        }
        QString run = decoder(bytes.sliced(i, end - i));
        run.replace(QChar(0x1A), kReplacement); // unmapped double-byte codes
        out.append(run);
        i = end;
    }
    out.squeeze(); // double-byte text needs half the room reserved above
    return out;
}

} // namespace pelko
