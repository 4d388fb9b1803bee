#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <cstdint>

namespace pelko {

// The largest Pelko.ini that is read. The program writes one line of at most 27 bytes; a hand
// edit may put the values on separate lines among blanks, but a file beyond this is not a
// settings file, and the defaults apply.
inline constexpr qint64 kMaxSettingsBytes = 4096;

// The four window choices of Pelko.ini, in file order: region item, progress item, tree view,
// no confirmation.
using SettingsValues = std::array<std::int16_t, 4>;

// Reads the first four values; the first value that cannot be read and all after it are 0.
SettingsValues parseSettings(QByteArrayView bytes);

// "a,b,c,d" and CR LF.
QByteArray serializeSettings(const SettingsValues &values);

} // namespace pelko
