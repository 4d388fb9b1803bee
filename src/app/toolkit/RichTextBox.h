#pragma once

#include <QPlainTextEdit>

namespace pelko {

// A multi-line, read-only box given plain text. text() gives back exactly what was set;
// CR LF and a lone CR are shown as line breaks, and the first kShownTextChars characters are
// shown. Tab moves the focus on instead of typing.
class RichTextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace pelko
