#pragma once

#include <QByteArray>
#include <QString>

namespace pelko::check {

// Texts from the file and names from the command line are printed to a terminal, which acts on
// control characters: an escape sequence in a quest name could retitle the window, clear the
// screen or move back over the findings printed before it, so that a damaged file reads clean.
// Each C0 control, DEL and C1 control (U+0080 to U+009F) is shown as "\x" and two upper-case hex
// digits, and a backslash as "\\", so that every printed text reads back to exactly one original.
QString escapeControls(QStringView text);

// A file name as given on the command line, to be printed. A name in UTF-8 is escaped as above.
// Any other name (say Shift_JIS, from a drive shared with an older system) keeps its bytes, but
// for C0 controls and DEL, which no multi-byte character of those encodings holds; its
// backslashes stay single, since 0x5C is the second byte of many Shift_JIS characters.
QByteArray escapeFileName(const QByteArray &name);

} // namespace pelko::check
