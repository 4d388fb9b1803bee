#include "RichTextBox.h"

#include "ShownText.h"

namespace pelko {

RichTextBox::RichTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    // Read-only, the box already passes Tab on and wraps at its width; the text stays
    // selectable from the keyboard too, for a player who copies it without a mouse.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichTextBox::setText(const QString &text)
{
    m_text = text;
    setPlainText(toWidgetLineBreaks(shownText(text, kShownTextChars)));
}

} // namespace pelko
