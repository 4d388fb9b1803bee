#include "TextBox.h"

namespace pelko {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &) { Q_EMIT Change(); });
}

} // namespace pelko
