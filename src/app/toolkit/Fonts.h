#pragma once

#include <QFont>

namespace pelko {

// A Japanese UI face whose line height fits the window's fixed 255-twip rows: the proportional
// IPA gothic where installed, then Noto Sans CJK JP, then whatever the desktop offers; 9 points,
// or by half points smaller where the face's line would be taller than a row.
QFont japaneseUiFont();

// The size a face is taken at, from the advance of its kana ア and its line height, both per em.
// The windows were drawn for a 9-point face with proportional kana whose line fits their
// 255-twip (12.75-point) rows. A face whose kana are an em wide (IPAGothic, Noto Sans CJK JP)
// is taken half a point smaller, so that its captions fit the boxes; one whose line is taller
// (Noto Sans CJK JP's is 1.45 em: 13 points at 9) by half points smaller until its line fits,
// never below 7 points.
qreal uiPointSize(qreal kanaAdvance, qreal lineHeight);

// The font a list of names draws with: the given font, without text shaping where that draws
// the same pixels. Shaping is most of the time a list spends painting its rows; the IPA gothic
// faces hold no shaping feature that any character of code page 932 uses, so Qt's plain glyph
// path draws them exactly as the shaped path does. Other faces keep shaping (Noto Sans CJK JP,
// for one, kerns Latin letters).
QFont listFont(const QFont &font);

// The About dialog's title face, "ＭＳ Ｐゴシック" 14.25 pt bold, with Linux gothic fallbacks.
QFont aboutTitleFont();

} // namespace pelko
