#pragma once

#include <QLocale>

namespace pelko {

// Installs Qt's own translations ("qtbase": the standard buttons of message boxes, the context
// menus of text boxes) for the given locale, from the folder Qt was installed with. Without this
// they are English on every system, also under a Japanese prompt. False when no translation for
// the locale is installed; Qt's texts then stay English.
bool installQtTranslations(const QLocale &locale = QLocale::system());

} // namespace pelko
