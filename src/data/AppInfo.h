#pragma once

#include <QString>

namespace pelko {

// Build constants shared by the window title, the About dialog and every message box.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 10;
inline constexpr int kVersionRevision = 0;

QString applicationTitle();

// The author's web page, opened from the Help menu and the About dialog.
QString authorPageUrl();

// "0" followed by the number, cut to its last two characters: 5 -> "05", 123 -> "23".
QString lastTwoDigits(int number);

// "ペルコ for Verdania  Version 1.10": the main window's caption.
QString mainWindowTitle(int major = kVersionMajor, int minor = kVersionMinor);

// "Version 1.10.00": the About dialog's version line.
QString aboutVersionText(int major = kVersionMajor, int minor = kVersionMinor,
                         int revision = kVersionRevision);

} // namespace pelko
