#pragma once

#include "QuestTable.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace pelko {

// Turns every "\n" escape into CR LF, left to right; produced text is never searched again,
// so "\\n" gives a backslash and a line break, and "\N" stays as it is.
QString ConvertLineBreaks(const QString &source);

// What the detail pane shows for one row.
struct QuestDetail {
    QString client; // as stored: the escape is not converted here
    QString process;
    QString reward1;
    QString reward2;
    // The option to select: nothing when the quest number has no progress entry or the stored
    // value is none of the three states.
    std::optional<int> option = std::nullopt;
    // False when the quest number has no progress entry, so its progress cannot be changed.
    bool changeable = false;
};

// The texts of a row as the pane shows them; the progress is the tracker's to fill in.
QuestDetail detailTexts(const QuestTable &table, int row);

} // namespace pelko
