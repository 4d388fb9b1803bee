#pragma once

#include <QObject>

#include <array>

class QButtonGroup;
class QRadioButton;
class QWidget;

namespace pelko {

// Three option buttons addressed as one control array by index.
// - Click(k) is raised only when button k becomes selected (by the player or by setValue);
//   a button losing its selection raises nothing (listens to toggled(true), not clicked).
// - clearAll() can leave all three unselected, which an exclusive QButtonGroup refuses.
class OptionArray : public QObject
{
    Q_OBJECT
public:
    OptionArray(std::array<QRadioButton *, 3> buttons, QObject *parent = nullptr);

    QRadioButton *button(int index) const;
    // Sets the button's value to true, which deselects the others.
    void setValue(int index);
    void clearAll();
    // Enables or disables the three buttons, in index order.
    void setButtonsEnabled(bool enabled);
    // The selected index, or -1.
    int selectedIndex() const;

Q_SIGNALS:
    void Click(int index);

private:
    std::array<QRadioButton *, 3> m_buttons;
    QButtonGroup *m_group;
};

} // namespace pelko
