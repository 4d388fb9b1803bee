#pragma once

#include "QuestTable.h"

#include <QString>

namespace pelko {

// A row matches when the keyword occurs, exactly as typed, in its name, its content or its
// reward (where the line-break escape is still the two characters backslash and n).
bool rowContainsKeyword(const QuestRecord &rec, const QString &keyword);

// The notice for a search with an empty keyword.
QString emptyKeywordMessage();

} // namespace pelko
