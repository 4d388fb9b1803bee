#pragma once

#include <QString>

namespace pelko {

// The name of a progress state in the confirmation prompt: cleared is "コンプリート" there,
// and any index but 0 and 1 is "保留".
QString stateName(int index);

// Three lines joined by CR LF: 「name」の / クリア状況を「state」に変更します。 / よろしいですか？
QString confirmationPrompt(const QString &questName, int index);

// The list position restored after a rebuild: the remembered one, or the last entry when the
// list has become shorter.
int clampListPosition(int position, int count);

} // namespace pelko
