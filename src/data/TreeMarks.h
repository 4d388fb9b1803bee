#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace pelko {

// How a follow-on quest of a chain is drawn in the tree: an ideographic space and a box-drawing
// character in front of its name. The list draws them, and the database check warns about names
// that already begin with one, since such a quest looks like a follow-on in the list.
enum class TreeMark : std::uint8_t {
    None,   // a quest outside any chain, or the first listed quest of a chain
    Branch, // "　├": the next listed quest continues the chain
    End,    // "　└": the chain's last listed quest
};

QString treeMarkText(TreeMark mark);

// True when the text begins with one of the two marks.
bool startsWithTreeMark(QStringView text);

} // namespace pelko
