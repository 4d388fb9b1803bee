#include "OptionArray.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace pelko {

OptionArray::OptionArray(std::array<QRadioButton *, 3> buttons, QObject *parent)
    : QObject(parent), m_buttons(buttons), m_group(new QButtonGroup(this))
{
    for (int k = 0; k < 3; ++k) {
        m_group->addButton(m_buttons[static_cast<std::size_t>(k)], k);
        connect(m_buttons[static_cast<std::size_t>(k)], &QRadioButton::toggled, this,
                [this, k](bool on) {
                    if (on)
                        Q_EMIT Click(k);
                });
    }
}

QRadioButton *OptionArray::button(int index) const
{
    return m_buttons.at(static_cast<std::size_t>(index));
}

void OptionArray::setValue(int index)
{
    button(index)->setChecked(true);
}

void OptionArray::clearAll()
{
    m_group->setExclusive(false);
    for (QRadioButton *b : m_buttons)
        b->setChecked(false);
    m_group->setExclusive(true);
}

void OptionArray::setButtonsEnabled(bool enabled)
{
    for (QRadioButton *b : m_buttons)
        b->setEnabled(enabled);
}

int OptionArray::selectedIndex() const
{
    return m_group->checkedId();
}

} // namespace pelko
