#include "TerminalText.h"

#include <QStringDecoder>

namespace pelko::check {
namespace {

// "\x1B" for ESC: always two digits, as every character escaped is below U+00A0.
QByteArray hexEscape(unsigned code)
{
    return QByteArray("\\x") + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
}

} // namespace

QString escapeControls(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QLatin1StringView(hexEscape(u));
        else if (u == u'\\')
            out += QLatin1StringView("\\\\");
        else
            out += c;
    }
    return out;
}

QByteArray escapeFileName(const QByteArray &name)
{
    // A byte order mark at the start is part of the name, not to be dropped by the decoder.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless
                                                    | QStringConverter::Flag::ConvertInitialBom);
    const QString decoded = utf8(name);
    if (!utf8.hasError())
        return escapeControls(decoded).toUtf8();
    QByteArray out;
    out.reserve(name.size());
    for (const char b : name) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x20 || u == 0x7F)
            out += hexEscape(u);
        else
            out += b;
    }
    return out;
}

} // namespace pelko::check
