#pragma once

#include <QFont>

namespace pelko {

// A Japanese UI face whose line height fits the window's fixed 255-twip rows: the proportional
// IPA gothic where installed, then Noto Sans CJK JP, then whatever the desktop offers.
QFont japaneseUiFont();

// The About dialog's title face, "ＭＳ Ｐゴシック" 14.25 pt bold, with Linux gothic fallbacks.
QFont aboutTitleFont();

} // namespace pelko
