// pelko-check [--lang=ja|en] [FILE], --help, --version: tells the people who prepare a quest
// database where and why the program would refuse it, and what a player would notice in it.
#include "CheckMessages.h"
#include "DatabaseCheck.h"
#include "Version.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <map>

using namespace pelko::check;

namespace {

void print(std::FILE *to, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), to);
}

// A line about the file: its name as given, byte for byte (it need not be UTF-8), then the rest,
// which starts with the ':' after the name.
void printAbout(const QByteArray &file, const QString &rest)
{
    std::fwrite(file.constData(), 1, static_cast<std::size_t>(file.size()), stdout);
    print(stdout, rest + u'\n');
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    Language lang = Language::Japanese;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    QString unknownOption;
    // File names stay the bytes of the command line: decoding a name that is not valid UTF-8
    // and encoding it again would name another file.
    QByteArrayList files;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString arg = QFile::decodeName(raw);
        if (optionsEnded || !arg.startsWith(u'-') || arg == QStringLiteral("-"))
            files << raw;
        else if (arg == QStringLiteral("--"))
            optionsEnded = true;
        else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            help = true;
        else if (arg == QStringLiteral("--version"))
            version = true;
        else if (arg == QStringLiteral("--lang=ja"))
            lang = Language::Japanese;
        else if (arg == QStringLiteral("--lang=en"))
            lang = Language::English;
        else if (unknownOption.isEmpty())
            unknownOption = arg;
    }
    // The language is known only once every argument is read, so errors are reported after.
    if (!useLanguage(lang))
        std::fputs("pelko-check: the Japanese messages are missing; English follows\n", stderr);
    if (!unknownOption.isEmpty() || files.size() > 1) {
        print(stderr, usageError(unknownOption.isEmpty() ? UsageError::TooManyFiles
                                                         : UsageError::UnknownOption,
                                 unknownOption));
        return 2;
    }
    if (help) {
        print(stdout, usage());
        return 0;
    }
    if (version) {
        print(stdout, QStringLiteral("pelko-check %1\n").arg(QLatin1String(pelko::kVersionText)));
        return 0;
    }

    const QByteArray file = files.isEmpty() ? QByteArray("Pelko.dat") : files.first();
    const CheckReport report = checkFile(file);
    // A damaged file can hold a finding or more on every one of its lines: the first of each kind
    // show the way, and the rest are counted, so that the report stays a size a person can read.
    std::map<FindingKind, long long> total, printed;
    for (const Finding &f : report.findings)
        ++total[f.kind];
    for (const Finding &f : report.findings) {
        const long long n = ++printed[f.kind];
        if (n <= kShownPerKind)
            printAbout(file, formatFinding(QString(), f));
        if (n == kShownPerKind && total[f.kind] > n)
            printAbout(file, moreOfKind(QString(), f, total[f.kind] - n));
    }
    if (report.summary)
        printAbout(file, summary(QString(), *report.summary));
    return exitCode(report.findings);
}
