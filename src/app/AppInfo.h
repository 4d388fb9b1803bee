#pragma once

#include "Version.h"

#include <QString>

namespace pelko {

// The product's identity, shared by the window title, the About dialog and every message box.
QString applicationTitle();

// The author's web page, opened from the Help menu and the About dialog.
QString authorPageUrl();
// Asks the desktop to open it in the user's browser; whether a browser opens is not told.
void openAuthorPage();

// "0" followed by the number, cut to its last two characters: 5 -> "05", 123 -> "23".
QString lastTwoDigits(int number);

// "ペルコ for Verdania  Version 1.05" for version 1.5: the main window's caption.
QString mainWindowTitle(int major = kVersionMajor, int minor = kVersionMinor);

// "ペルコ for Verdaniaのバージョン情報": the About dialog's title, without a space.
QString aboutTitle();

// "Version 1.05.00" for version 1.5.0: the About dialog's version line.
QString aboutVersionText(int major = kVersionMajor, int minor = kVersionMinor,
                         int revision = kVersionRevision);

// `pelko --version` and `pelko --help`, as the installed pelko command answers them: plain text
// for a terminal, printed before any window system is asked for.
QString commandVersionText();
QString commandUsageText();

} // namespace pelko
