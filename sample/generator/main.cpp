// pelko-gen: writes a generated Pelko.dat to a file or to standard output.

#include "QuestDatabaseGenerator.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitUsage = 2;

int usage()
{
    std::fputs(
        "usage: pelko-gen COUNT [FILE] [--seed N] [--short]   (COUNT 0..32766, N 0..4294967295)\n"
        "  --short  only names and first rewards: about 64 bytes a quest\n",
        stderr);
    return kExitUsage;
}

// Plain decimal digits only: no sign, no spaces, no hex.
std::optional<quint64> parseDecimal(const QString &text, quint64 max)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const quint64 value = text.toULongLong();
    if (value > max)
        return std::nullopt;
    return value;
}

bool writeAll(QFile &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList positional;
    std::uint32_t seed = 1;
    auto volume = pelko::sample::TextVolume::Full;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!arg.startsWith(u'-')) {
            positional.append(arg);
            continue;
        }
        if (arg == u"--short") {
            volume = pelko::sample::TextVolume::Short;
            continue;
        }
        std::optional<quint64> value;
        if (arg == u"--seed" && i + 1 < argc)
            value = parseDecimal(QString::fromLocal8Bit(argv[++i]), 0xFFFFFFFFu);
        else if (arg.startsWith(u"--seed="))
            value = parseDecimal(arg.mid(7), 0xFFFFFFFFu);
        if (!value)
            return usage(); // unknown option, "--seed" without a value, or a bad seed
        seed = static_cast<std::uint32_t>(*value);
    }

    if (positional.isEmpty() || positional.size() > 2)
        return usage();
    const std::optional<quint64> count =
        parseDecimal(positional.at(0), pelko::sample::kMaxQuestCount);
    if (!count)
        return usage();

    const QByteArray bytes = pelko::sample::generateQuestDatabase(int(*count), seed, volume);
    if (bytes.isEmpty()) {
        std::fputs("pelko-gen: could not encode the database as code page 932\n", stderr);
        return 1;
    }

    QFile out;
    if (positional.size() == 2) {
        out.setFileName(positional.at(1));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "pelko-gen: cannot write %s: %s\n",
                         qUtf8Printable(positional.at(1)), qUtf8Printable(out.errorString()));
            return 1;
        }
    } else if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::fputs("pelko-gen: cannot write to standard output\n", stderr);
        return 1;
    }
    if (!writeAll(out, bytes)) {
        std::fprintf(stderr, "pelko-gen: write failed: %s\n", qUtf8Printable(out.errorString()));
        return 1;
    }
    return 0;
}
