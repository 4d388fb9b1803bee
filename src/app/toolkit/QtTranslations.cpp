#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pelko {

bool installQtTranslations(const QLocale &locale)
{
    // Owned by the application, so the texts stay translated for the program's whole life.
    auto *translator = new QTranslator(QCoreApplication::instance());
    // load() tries the locale's UI languages in turn (LANGUAGE first, then the messages locale),
    // each from the most specific name down to the bare language: ja_JP gives qtbase_ja.qm.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace pelko
