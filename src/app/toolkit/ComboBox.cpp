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

void ComboBox::addListItem(const QString &text)
{
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(text);
    setCurrentIndex(selected);
}

bool ComboBox::setListIndex(int index)
{
    if (index < 0 || index >= count())
        return false;
    setCurrentIndex(index);
    return true;
}

} // namespace pelko
