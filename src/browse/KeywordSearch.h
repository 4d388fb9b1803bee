#pragma once

#include "QuestTable.h"

#include <QString>

namespace pelko {

// A row matches when the keyword occurs, exactly as typed, in its name, its content or its
// reward (where the line-break escape is still the two characters backslash and n).
bool rowContainsKeyword(const QuestRecord &rec, const QString &keyword);

} // namespace pelko
