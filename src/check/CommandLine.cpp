#include "CommandLine.h"

#include <QFile>
#include <QLocale>

namespace pelko::check {

Language systemLanguage()
{
    // Read here rather than through QLocale::system(), which puts LANGUAGE first, even over a
    // C.UTF-8 locale, and then takes only its first language.
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            return QLocale(locale).language() == QLocale::Japanese ? Language::Japanese
                                                                   : Language::English;
    }
    return Language::English;
}

CommandLine parseCommandLine(int argc, const char *const argv[], Language lang)
{
    CommandLine cl;
    cl.lang = lang;
    const auto fail = [&](UsageError error, const QString &argument) {
        if (!cl.error) {
            cl.error = error;
            cl.errorArgument = argument;
        }
    };
    const auto setLanguage = [&](const QString &name) {
        if (name == QStringLiteral("ja"))
            cl.lang = Language::Japanese;
        else if (name == QStringLiteral("en"))
            cl.lang = Language::English;
        else
            fail(UsageError::UnknownLanguage, name);
    };
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString arg = QFile::decodeName(raw);
        if (optionsEnded || !arg.startsWith(u'-') || arg == QStringLiteral("-"))
            cl.files << raw;
        else if (arg == QStringLiteral("--"))
            optionsEnded = true;
        else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            cl.help = true;
        else if (arg == QStringLiteral("--version"))
            cl.version = true;
        else if (arg.startsWith(QStringLiteral("--lang=")))
            setLanguage(arg.mid(7));
        else if (arg == QStringLiteral("--lang") && i + 1 < argc)
            setLanguage(QFile::decodeName(argv[++i]));
        else if (arg == QStringLiteral("--lang"))
            fail(UsageError::MissingLanguage, arg);
        else
            fail(UsageError::UnknownOption, arg);
    }
    if (cl.files.size() > 1)
        fail(UsageError::TooManyFiles, QString());
    return cl;
}

} // namespace pelko::check
