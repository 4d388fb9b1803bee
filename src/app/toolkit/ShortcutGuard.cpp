#include "ShortcutGuard.h"

#include <QKeyEvent>

namespace pelko {

ShortcutGuard::ShortcutGuard(std::vector<QKeySequence> sequences, QObject *parent)
    : QObject(parent), m_sequences(std::move(sequences))
{}

bool ShortcutGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QKeySequence &s : m_sequences) {
            if (s.matches(pressed) == QKeySequence::ExactMatch) {
                event->ignore();
                return true; // not accepted: the shortcut map goes on to the menu command
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pelko
