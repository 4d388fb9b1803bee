#include "ComboBox.h"

#include <QSignalBlocker>

namespace pelko {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { Q_EMIT Click(); });
}

void ComboBox::clearItems()
{
    const QSignalBlocker blocker(this);
    clear();
}

void ComboBox::addListItem(const QString &text, int data)
{
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(text, data);
    setCurrentIndex(selected);
}

std::optional<int> ComboBox::listData() const
{
    if (currentIndex() < 0)
        return std::nullopt;
    return currentData().toInt();
}

bool ComboBox::setListIndex(int index)
{
    if (index < 0 || index >= count())
        return false;
    setCurrentIndex(index);
    return true;
}

} // namespace pelko
