#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

namespace pelko {

// The four window choices of Pelko.ini, in file order: region item, progress item, tree view,
// no confirmation.
using SettingsValues = std::array<std::int16_t, 4>;

// Reads the first four values; the first value that cannot be read and all after it are 0.
SettingsValues parseSettings(QByteArrayView bytes);

// "a,b,c,d" and CR LF.
QByteArray serializeSettings(const SettingsValues &values);

} // namespace pelko
