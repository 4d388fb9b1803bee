#pragma once

#include <QString>

#include <vector>

class QListWidget;

namespace pelko::bench {

// The list filled the way a classic sorted list control fills itself: every name is placed on
// its own, after a binary search for its position (after any equal names) in a sorted copy of
// the names, and inserted into the visible list at that position. It is the yardstick the
// one-pass list is compared with.
class LiteralSortedList
{
public:
    explicit LiteralSortedList(QListWidget &visible) : m_visible(visible) {}

    void clear();
    void addItem(const QString &name);

private:
    QListWidget &m_visible;
    std::vector<QString> m_sorted;
};

} // namespace pelko::bench
