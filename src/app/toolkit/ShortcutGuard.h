#pragma once

#include <QKeySequence>
#include <QObject>

#include <vector>

namespace pelko {

// Lets the window's menu shortcuts win over text boxes. Qt's line and text edits claim some
// keys for themselves (Ctrl+A selects all, Ctrl+W may delete a word) by accepting the
// ShortcutOverride event; installed on such a box, this filter keeps them from claiming the
// listed sequences, so the menu command runs whatever has the focus.
class ShortcutGuard : public QObject
{
    Q_OBJECT
public:
    ShortcutGuard(std::vector<QKeySequence> sequences, QObject *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::vector<QKeySequence> m_sequences;
};

} // namespace pelko
