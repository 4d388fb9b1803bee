// pelko-check [--lang=ja|en] [FILE], --help, --version: tells the people who prepare a quest
// database where and why the program would refuse it, and what a player would notice in it.
#include "CheckMessages.h"
#include "CommandLine.h"
#include "DatabaseCheck.h"
#include "TerminalText.h"
#include "Version.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

using namespace pelko::check;

namespace {

void print(std::FILE *to, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), to);
}

// A line about the file: its name as given, byte for byte but escaped (it need not be UTF-8),
// then the rest, which starts with the ':' after the name.
void printAbout(const QByteArray &file, const QString &rest)
{
    std::fwrite(file.constData(), 1, static_cast<std::size_t>(file.size()), stdout);
    print(stdout, rest + u'\n');
}

// False, with the reason on the error output, when what was printed could not all be written (a
// full disk, a closed pipe): a report that is lost must not read as a file that loads.
bool reportWritten()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    print(stderr, outputError(QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    const CommandLine cl = parseCommandLine(argc, argv, systemLanguage());
    if (!useLanguage(cl.lang))
        std::fputs("pelko-check: the Japanese messages are missing; English follows\n", stderr);
    if (cl.error) {
        print(stderr, usageError(*cl.error, cl.errorArgument));
        return 2;
    }
    if (cl.help) {
        print(stdout, usage());
        return reportWritten() ? 0 : 2;
    }
    if (cl.version) {
        print(stdout, QStringLiteral("pelko-check %1\n").arg(QLatin1String(pelko::kVersionText)));
        return reportWritten() ? 0 : 2;
    }

    const QByteArray file = cl.files.isEmpty() ? QByteArray("Pelko.dat") : cl.files.first();
    const CheckReport report = checkFile(file);
    const QByteArray shownName = escapeFileName(file);
    // A damaged file can hold a finding or more on every one of its lines: the first of each kind
    // show the way, and the rest are counted, so that the report stays a size a person can read.
    std::map<FindingKind, long long> total, printed;
    for (const Finding &f : report.findings)
        ++total[f.kind];
    for (const Finding &f : report.findings) {
        const long long n = ++printed[f.kind];
        if (n <= kShownPerKind)
            printAbout(shownName, formatFinding(QString(), f));
        if (n == kShownPerKind && total[f.kind] > n)
            printAbout(shownName, moreOfKind(QString(), f, total[f.kind] - n));
    }
    if (report.summary)
        printAbout(shownName, summary(QString(), *report.summary));
    return reportWritten() ? exitCode(report.findings) : 2;
}
