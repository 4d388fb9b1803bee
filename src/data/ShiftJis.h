#pragma once

#include <QByteArrayView>
#include <QString>

namespace pelko {

// Decodes text in the Japanese Windows code page (932). ASCII bytes map to themselves; any byte
// that does not start a valid character becomes U+FFFD, so damaged text is visible but harmless.
QString decodeAnsi(QByteArrayView bytes);

// The same, written to out, which has room for one character a byte; returns the characters
// written and clears allValid when a byte or code became U+FFFD.
qsizetype decodeAnsi(QByteArrayView bytes, char16_t *out, bool &allValid);

} // namespace pelko
