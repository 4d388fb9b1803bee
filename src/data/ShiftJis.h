#pragma once

#include <QByteArrayView>
#include <QString>

namespace pelko {

// Decodes text in the Japanese Windows code page (932). ASCII bytes map to themselves; any byte
// that does not start a valid character becomes U+FFFD, so damaged text is visible but harmless.
QString decodeAnsi(QByteArrayView bytes);

// The same, appended to out; false when a byte or code became U+FFFD.
bool appendAnsi(QByteArrayView bytes, QString &out);

} // namespace pelko
