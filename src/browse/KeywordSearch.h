#pragma once

#include "QuestTable.h"

#include <QString>

#include <vector>

namespace pelko {

// A row matches when the keyword occurs, exactly as typed, in its name, its content or its
// reward (where the line-break escape is still the two characters backslash and n).
bool rowContainsKeyword(const QuestRecord &rec, const QString &keyword);

// Every row that matches, by row (entry 0 is no row): one scan of the table's text buffer instead
// of three searches a row, with the same answer as rowContainsKeyword for each row.
std::vector<bool> rowsContainingKeyword(const QuestTable &table, QStringView keyword);

} // namespace pelko
