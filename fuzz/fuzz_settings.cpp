// Pelko.ini: any bytes give four values, and what is written for them reads back the same.

#include "FuzzCheck.h"
#include "Settings.h"

#include <QList>

#include <cstddef>
#include <cstdint>

using pelko::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const pelko::SettingsValues values = pelko::parseSettings(bytes);

    const QByteArray written = pelko::serializeSettings(values);
    check(written.endsWith("\r\n"), "the settings line ends with CR LF");
    check(written.count('\r') == 1 && written.count('\n') == 1, "the settings file is one line");
    check(written.count(',') == 3, "the settings line holds four values");
    // "-32768" four times, three commas and CR LF.
    check(written.size() <= 4 * 6 + 3 + 2, "the settings line is no longer than four numbers");
    for (const QByteArray &field : written.chopped(2).split(',')) {
        // A decimal integer: an optional minus, then digits without leading zeros.
        const QByteArray digits = field.startsWith('-') ? field.mid(1) : field;
        check(!digits.isEmpty(), "every written value has digits");
        check(digits == "0" || !digits.startsWith('0'), "no written value has leading zeros");
        check(field != "-0", "zero is written without a sign");
        for (const char c : digits)
            check(c >= '0' && c <= '9', "a written value holds decimal digits only");
    }

    const pelko::SettingsValues reread = pelko::parseSettings(written);
    check(reread == values, "the written settings read back as the same four values");
    check(pelko::serializeSettings(reread) == written, "writing the settings again is stable");
    return 0;
}
