#pragma once

#include <QString>

namespace pelko {

// What a widget is given to draw of the program's texts.

// The program's texts break lines with CR LF or a lone CR; Qt's widgets break them with LF.
QString toWidgetLineBreaks(const QString &text);

// Qt lays out a line of text in time that grows faster than its length (a 100,000-character
// line without a break takes seconds, a million several minutes), and a database may hold a
// text of any length. A longer text shows its beginning and an ellipsis; the program keeps and
// compares the whole text, only what is drawn is cut. Each limit is far beyond any text a quest
// database holds in practice.
inline constexpr qsizetype kShownTextChars = 10000; // a multi-line box
inline constexpr qsizetype kShownLineChars = 1000;  // a list entry or a line of a message
QString shownText(const QString &text, qsizetype limit);

} // namespace pelko
