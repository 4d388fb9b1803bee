#pragma once

#include <QFont>

namespace pelko {

// A Japanese UI face whose line height fits the window's fixed 255-twip rows: the proportional
// IPA gothic where installed, then Noto Sans CJK JP, then whatever the desktop offers; 9 points,
// or by half points smaller where the face's line would be taller than a row.
QFont japaneseUiFont();

// The font a list of names draws with: the given font, without text shaping where that draws
// the same pixels. Shaping is most of the time a list spends painting its rows; the IPA gothic
// faces hold no shaping feature that any character of code page 932 uses, so Qt's plain glyph
// path draws them exactly as the shaped path does. Other faces keep shaping (Noto Sans CJK JP,
// for one, kerns Latin letters).
QFont listFont(const QFont &font);

// The About dialog's title face, "ＭＳ Ｐゴシック" 14.25 pt bold, with Linux gothic fallbacks.
QFont aboutTitleFont();

} // namespace pelko
