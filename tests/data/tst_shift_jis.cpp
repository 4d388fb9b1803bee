#include "ShiftJis.h"

#include <QStringDecoder>
#include <QTest>

using namespace pelko;

// The decoder reads the code page from tables made once from the platform converter; every
// byte and every two-byte sequence must decode as the converter decodes that one character,
// with the program's rules around it: ASCII as itself, U+FFFD for a byte that starts no
// character and for a code the page does not assign.
class TestShiftJis : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyCodeAsTheConverterDecodesIt()
    {
        QStringDecoder converter("windows-31j", QStringConverter::Flag::Stateless);
        const auto one = [&](QByteArrayView character) {
            const QString c = converter(character);
            return c == QStringLiteral("\x1a") ? QString(QChar(0xFFFD)) : c;
        };
        int checked = 0;
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
                const QByteArrayView bytes(pair, 2);
                const bool lead = (a >= 0x81 && a <= 0x9F) || (a >= 0xE0 && a <= 0xFC);
                const bool trail = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
                QString expected;
                if (lead && trail) {
                    expected = one(bytes);
                } else {
                    for (const char c : bytes) {
                        const auto u = static_cast<unsigned char>(c);
                        expected += u < 0x80                 ? QString(QChar(u))
                                    : u >= 0xA1 && u <= 0xDF ? one(QByteArrayView(&c, 1))
                                                             : QString(QChar(0xFFFD));
                    }
                }
                if (decodeAnsi(bytes) != expected)
                    QFAIL(qPrintable(QStringLiteral("%1 %2").arg(a, 2, 16).arg(b, 2, 16)));
                ++checked;
            }
        }
        QCOMPARE(checked, 65536);
    }
};

QTEST_GUILESS_MAIN(TestShiftJis)
#include "tst_shift_jis.moc"
