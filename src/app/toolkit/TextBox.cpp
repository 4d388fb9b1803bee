#include "TextBox.h"

namespace pelko {

QString shownText(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype cut = limit;
    if (text.at(cut - 1).isHighSurrogate()) // never half a character
        --cut;
    return text.left(cut) + QChar(0x2026);
}

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
    QString shown = shownText(text, kShownTextChars);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

} // namespace pelko
