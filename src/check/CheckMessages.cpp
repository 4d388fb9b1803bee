#include "CheckMessages.h"

#include "TerminalText.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTranslator>

// The texts are written in English, once; the Japanese ones come from the translation built into
// the tool (translations/pelko-check_ja.ts). Texts from the file (quest names) go in escaped,
// through one multi-argument arg() call each: a chained arg() would expand a "%1" that a quest
// name happens to hold.

namespace pelko::check {

class CheckText
{
    Q_DECLARE_TR_FUNCTIONS(CheckText)

public:
    // Field names as the people who prepare the file know them; English keeps the field names
    // of the record layout.
    static QString fieldName(int field)
    {
        static const char *const names[] = {
            QT_TR_NOOP("field 1"), QT_TR_NOOP("Region"),    QT_TR_NOOP("ChainNo"),
            QT_TR_NOOP("QuestNo"), QT_TR_NOOP("QuestName"), QT_TR_NOOP("Client"),
            QT_TR_NOOP("Process"), QT_TR_NOOP("Reward1"),   QT_TR_NOOP("Reward2"),
        };
        if (field < 1 || field > static_cast<int>(std::size(names)))
            return tr("field %1").arg(field);
        return tr(names[field - 1]);
    }

    // A count with its noun, "1 quest" or "2 quests", from the two texts given.
    static QString counted(long long n, const QString &one, const QString &many)
    {
        return n == 1 ? one : many.arg(n);
    }

    static QString message(const Finding &f)
    {
        const QString field = fieldName(f.field);
        const QString unlisted = tr(" (the quest is listed only when all regions are shown)");
        switch (f.kind) {
        case FindingKind::FileMissing:
            return tr("file not found");
        case FindingKind::FileUnreadable:
            return tr("cannot read the file");
        case FindingKind::FileTooLarge:
            return tr("the file is too large (files above %1 bytes are not read)").arg(f.limit);
        case FindingKind::EmptyFile:
            return tr("the file is empty");
        case FindingKind::NoEndRecord:
            return counted(f.value,
                           tr("no end record (a record whose Region is 99); the file ends after "
                              "1 record"),
                           tr("no end record (a record whose Region is 99); the file ends after "
                              "%1 records"));
        case FindingKind::CutShort:
            return tr("the record is cut short by the end of the file (%1 and every field after "
                      "it are missing)")
                .arg(field);
        case FindingKind::NotANumber:
            return tr("%1 is not a number").arg(field);
        case FindingKind::OutOfRange: {
            const bool region = f.field == 2;
            return tr("%1 is out of range (%2)")
                .arg(field, tr("%1 to %2").arg(region ? 0 : -32768).arg(region ? 255 : 32767));
        }
        case FindingKind::TooManyQuests:
            return tr("too many quests (this is quest %1; at most %2 can be loaded)")
                .arg(f.value)
                .arg(f.value - 1);
        case FindingKind::MoreThanNineFields:
            return tr("more than nine fields on this line")
                   + (f.shifts ? tr(" (the tenth starts the next record and every later record "
                                    "is shifted)")
                               : QString());
        case FindingKind::FewerThanNineFields:
            if (f.shifts)
                return tr("fewer than nine fields on this line; the record runs on into line %1 "
                          "(every later record is shifted)")
                    .arg(f.otherLine);
            return tr("the record runs on to line %1 (a line with fewer than nine fields, or a "
                      "line break inside quotes)")
                .arg(f.otherLine);
        case FindingKind::BlankLine:
            if (f.shifts)
                return tr("blank line (read as an empty field; every later record is shifted)");
            return tr("blank line (read as an empty field; the record runs on to line %1)")
                .arg(f.otherLine);
        case FindingKind::RegionOutsideTable:
            return tr("Region %1 is outside 1 to 20").arg(f.value) + unlisted;
        case FindingKind::RegionWithoutName:
            return tr("Region %1 has no region name").arg(f.value) + unlisted;
        case FindingKind::QuestNoOutside:
            return tr("QuestNo %1 is outside 1 to %2 (its progress cannot be recorded)")
                .arg(f.value)
                .arg(f.limit);
        case FindingKind::QuestNoTwice:
            return tr("QuestNo %1 is also used on line %2 (the quests share their progress)")
                .arg(f.value)
                .arg(f.otherLine);
        case FindingKind::NameTwice:
            return tr("QuestName \"%1\" is the same as on line %2 (the list shows entries that "
                      "cannot be told apart)")
                .arg(escapeControls(f.text), QString::number(f.otherLine));
        case FindingKind::NameLikeTreeEntry:
            return tr("QuestName \"%1\" begins with the tree view's mark \"%2\" (the quest looks "
                      "like a follow-on of a chain in the list)")
                .arg(escapeControls(f.text), f.text.left(2));
        case FindingKind::TextAfterEndRecord:
            return tr("text after the end record (never read)");
        case FindingKind::InvalidShiftJis:
            return tr("%1 holds bytes that are not valid Shift_JIS (shown as \uFFFD)").arg(field);
        case FindingKind::LooksLikeUtf8:
            return tr("the file seems to be written in UTF-8 (save it as Shift_JIS)");
        }
        return {};
    }

    static QString severity(const Finding &f)
    {
        return f.severity == Severity::Error ? tr("error") : tr("warning");
    }

    static QString bytes(long long n) { return counted(n, tr("1 byte"), tr("%1 bytes")); }

    static QString summary(const QString &file, const DatabaseSummary &s)
    {
        if (!s.loads)
            return tr("%1: summary: quests not counted (the file cannot be loaded), %2")
                .arg(file, bytes(s.bytes));
        QStringList perRegion;
        for (const auto &[name, count] : s.regions)
            perRegion << QStringLiteral("%1 %2").arg(name).arg(count);
        if (s.withoutRegion > 0)
            perRegion << QStringLiteral("%1 %2").arg(tr("no region")).arg(s.withoutRegion);
        const QString regions =
            perRegion.isEmpty() ? QString() : tr(" (%1)").arg(perRegion.join(tr(", ")));
        return tr("%1: summary: %2%3, %4, %5")
            .arg(file, counted(s.quests, tr("1 quest"), tr("%1 quests")), regions,
                 counted(s.chains, tr("1 chain"), tr("%1 chains")), bytes(s.bytes));
    }

    static QString usage()
    {
        return tr("Usage: pelko-check [OPTION] [FILE]\n"
                  "Checks a quest database (Pelko.dat in the working directory when no FILE is "
                  "given) and\n"
                  "prints, one line each as \"file:line:field: message\", what keeps the program "
                  "from\n"
                  "loading it (errors) and what a player would notice although it loads "
                  "(warnings),\n"
                  "then a summary. Control characters from the file and in FILE are shown as "
                  "\\x1B\n"
                  "and the like, and a backslash as \\\\.\n"
                  "\n"
                  "Options:\n"
                  "  --lang=ja, --lang ja   messages in Japanese\n"
                  "  --lang=en, --lang en   messages in English\n"
                  "                         (default: Japanese in a Japanese locale, English in "
                  "any other)\n"
                  "  --help                 show this help\n"
                  "  --version              show the version\n"
                  "\n"
                  "Exit status: 0 the program loads the file, 1 it refuses it, 2 a usage error\n");
    }

    static QString usageError(UsageError error, const QString &argument)
    {
        QString first;
        switch (error) {
        case UsageError::UnknownOption:
            first = tr("unknown option: %1").arg(escapeControls(argument));
            break;
        case UsageError::UnknownLanguage:
            first = tr("unknown language: \"%1\" (give --lang=ja or --lang=en)")
                        .arg(escapeControls(argument));
            break;
        case UsageError::MissingLanguage:
            first = tr("--lang needs a language: ja or en");
            break;
        case UsageError::TooManyFiles:
            first = tr("give at most one file");
            break;
        }
        return QStringLiteral("pelko-check: ") + first + u'\n'
               + tr("Run pelko-check --help for usage.\n");
    }

    static QString outputError(const QString &reason)
    {
        return QStringLiteral("pelko-check: ") + tr("cannot write the report: %1").arg(reason)
               + u'\n';
    }

    static QString moreOfKind(const QString &file, const Finding &last, long long more)
    {
        return QStringLiteral("%1: %2: ").arg(file, severity(last))
               + tr("… and %1 more (only the first %2 findings of each kind are shown)")
                     .arg(more)
                     .arg(kShownPerKind);
    }
};

bool useLanguage(Language lang)
{
    static QTranslator japanese;
    QCoreApplication::removeTranslator(&japanese);
    if (lang == Language::English)
        return true;
    return japanese.load(QStringLiteral(":/i18n/pelko-check_ja.qm"))
           && QCoreApplication::installTranslator(&japanese);
}

QString formatFinding(const QString &file, const Finding &finding)
{
    QString out = file;
    if (finding.line > 0) {
        out += u':' + QString::number(finding.line);
        if (finding.field > 0)
            out += u':' + QString::number(finding.field);
    }
    return out + QStringLiteral(": ") + CheckText::severity(finding) + QStringLiteral(": ")
           + CheckText::message(finding);
}

QString moreOfKind(const QString &file, const Finding &last, long long more)
{
    return CheckText::moreOfKind(file, last, more);
}

QString summary(const QString &file, const DatabaseSummary &s)
{
    return CheckText::summary(file, s);
}

QString usage()
{
    return CheckText::usage();
}

QString usageError(UsageError error, const QString &argument)
{
    return CheckText::usageError(error, argument);
}

QString outputError(const QString &reason)
{
    return CheckText::outputError(reason);
}

} // namespace pelko::check
