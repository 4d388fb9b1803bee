// pelko-check [--lang=ja|en] [FILE]: tells the people who prepare a quest database where and why
// the program would refuse it, and what a player would notice in it.
#include "CheckMessages.h"
#include "DatabaseCheck.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace pelko::check;

namespace {

void print(std::FILE *to, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), to);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();

    Language lang = Language::Japanese;
    bool help = false;
    bool optionsEnded = false;
    QString unknownOption;
    QStringList files;
    for (const QString &arg : args) {
        if (optionsEnded || !arg.startsWith(u'-') || arg == QStringLiteral("-"))
            files << arg;
        else if (arg == QStringLiteral("--"))
            optionsEnded = true;
        else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            help = true;
        else if (arg == QStringLiteral("--lang=ja"))
            lang = Language::Japanese;
        else if (arg == QStringLiteral("--lang=en"))
            lang = Language::English;
        else if (unknownOption.isEmpty())
            unknownOption = arg;
    }
    // The language is known only once every argument is read, so errors are reported after.
    if (!unknownOption.isEmpty() || files.size() > 1) {
        print(stderr, usageError(unknownOption.isEmpty() ? UsageError::TooManyFiles
                                                         : UsageError::UnknownOption,
                                 unknownOption, lang));
        return 2;
    }
    if (help) {
        print(stdout, usage(lang));
        return 0;
    }

    const QString file = files.isEmpty() ? QStringLiteral("Pelko.dat") : files.first();
    const CheckReport report = checkFile(file);
    for (const Finding &f : report.findings)
        print(stdout, formatFinding(file, f, lang) + u'\n');
    if (report.summary)
        print(stdout, summary(file, *report.summary, lang) + u'\n');
    return exitCode(report.findings);
}
