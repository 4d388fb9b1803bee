#include "TextBox.h"

#include "ShownText.h"

namespace pelko {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &) { Q_EMIT Change(); });
}

RichTextBox::RichTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void RichTextBox::setText(const QString &text)
{
    m_text = text;
    setPlainText(toWidgetLineBreaks(shownText(text, kShownTextChars)));
}

} // namespace pelko
