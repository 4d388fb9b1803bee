#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace pelko {

// What a widget is given to draw of a text. Qt lays out a line of text in time that grows
// faster than its length (a 100,000-character line without a break takes seconds, a million
// several minutes), and a database may hold a text of any length. A longer text shows its
// beginning and an ellipsis; the program keeps and compares the whole text, only what is drawn
// is cut. Each limit is far beyond any text a quest database holds in practice.
inline constexpr qsizetype kShownTextChars = 10000; // a multi-line box
inline constexpr qsizetype kShownLineChars = 1000;  // a list entry or a line of a message
QString shownText(const QString &text, qsizetype limit);

// A single-line text box whose Change event is raised at every change of its text.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void Change();
};

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
