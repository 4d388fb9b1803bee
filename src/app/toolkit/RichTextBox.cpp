#include "RichTextBox.h"

#include "ShownText.h"

namespace pelko {

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
