#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace pelko {

// The whole content of a file, or nothing when it is missing or cannot be read.
std::optional<QByteArray> readWholeFile(const QString &path);

// Replaces a file with the given bytes, all or nothing: the bytes go to a temporary file in the
// same folder that is renamed over the old one only when everything was written. On failure the
// old file stays as it was, byte for byte, and no temporary file is left behind.
bool saveWholeFile(const QString &path, const QByteArray &bytes);

// Tests count the program's writes through this hook; it is called once per save attempt.
using SaveObserver = std::function<void(const QString &path)>;
void setSaveObserver(SaveObserver observer);

} // namespace pelko
