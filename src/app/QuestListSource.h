#pragma once

#include "QuestTracker.h"
#include "toolkit/ListBox.h"

namespace pelko {

// What the quest list box shows: a built list of rows, each entry's text made by the tracker
// only when the list box shows or reads it.
class QuestListSource : public ListSource
{
public:
    QuestListSource(QuestList list, const QuestTracker &tracker)
        : m_list(std::move(list)), m_tracker(tracker)
    {}
    int count() const override { return static_cast<int>(m_list.size()); }
    QString text(int index) const override { return m_tracker.entryText(entry(index)); }
    int data(int index) const override { return entry(index).row; }

private:
    const ListEntry &entry(int index) const { return m_list[static_cast<std::size_t>(index)]; }

    QuestList m_list;
    const QuestTracker &m_tracker;
};

} // namespace pelko
