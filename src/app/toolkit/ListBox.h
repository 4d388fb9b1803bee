#pragma once

#include <QAbstractListModel>
#include <QListView>

#include <vector>

namespace pelko {

// A list box over QListView, filled in one batch: a whole list of 32,766 entries is handed
// over at once instead of being inserted entry by entry. Each entry carries a number of its own
// (the quest row), so an entry never has to be found again by its text.
// - clear() and setItems() raise nothing (QListWidget::clear would report row -1);
// - Click is raised synchronously whenever the selected entry changes: a click, the arrow
//   keys, or setListIndex from code; gaining the focus selects nothing and raises nothing.
class ListBox : public QListView
{
    Q_OBJECT
public:
    struct Item {
        QString text;
        int data = 0;
    };

    explicit ListBox(QWidget *parent = nullptr);

    void setItems(std::vector<Item> items);
    void clear();
    int listCount() const;
    QString text(int index) const;
    int itemData(int index) const;
    // -1 when nothing is selected.
    int listIndex() const;
    void setListIndex(int index);
    int topIndex() const;
    // Scrolls so that the entry becomes the first visible line, as far as the list can scroll.
    void setTopIndex(int index);

Q_SIGNALS:
    void Click();

private:
    class Model;
    Model *m_model;
    bool m_silent = false;
};

} // namespace pelko
