#pragma once

#include <QListView>

#include <memory>

namespace pelko {

// What a list box shows, asked entry by entry as the view paints or a reader asks: a rebuild
// hands over a source, never a copy of every text.
class ListSource
{
public:
    virtual ~ListSource() = default;
    virtual int count() const = 0;
    virtual QString text(int index) const = 0;
    // A number of the entry's own (the quest row), so an entry never has to be found by its text.
    virtual int data(int index) const = 0;
};

// A list box over QListView whose entries come from a ListSource.
// - setSource() and clear() raise nothing (QListWidget::clear would report row -1);
// - Click is raised synchronously whenever the selected entry changes: a click, the arrow
//   keys, or setListIndex from code; gaining the focus selects nothing and raises nothing.
class ListBox : public QListView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    void setSource(std::shared_ptr<const ListSource> source);
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
