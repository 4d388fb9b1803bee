#pragma once

#include <QComboBox>

#include <optional>

namespace pelko {

// A drop-down list whose selection behaves as the program's procedures expect:
// - adding items never selects one (QComboBox selects the first item added to an empty box);
// - setListIndex with an index that names no item leaves the selection alone and raises
//   nothing (QComboBox::setCurrentIndex would clear it to -1);
// - Click is raised synchronously on every change of selection, by the player or by code.
class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    void clearItems();
    // An item may carry a number of its own, so that the selection is read back as that
    // number rather than matched by its text.
    void addListItem(const QString &text, int data = 0);
    int listIndex() const { return currentIndex(); }
    // The number of the selected item; nothing when no item is selected.
    std::optional<int> listData() const;
    // False, with nothing changed, when index names no item.
    bool setListIndex(int index);

Q_SIGNALS:
    void Click();
};

} // namespace pelko
