#include "CheckMessages.h"

#include <QStringList>

// Texts from the file (quest names) and the file's own name go in through one multi-argument
// arg() call each: a chained arg() would expand a "%1" that a quest name happens to hold.

namespace pelko::check {
namespace {

bool ja(Language lang)
{
    return lang == Language::Japanese;
}

// Field names as the people who prepare the file know them; English keeps the field names of
// the record layout.
QString fieldName(int field, Language lang)
{
    static const QStringList japanese = {
        QStringLiteral("第1項目"),      QStringLiteral("地域"),
        QStringLiteral("連続番号"),     QStringLiteral("クエスト番号"),
        QStringLiteral("クエスト名"),   QStringLiteral("依頼場所"),
        QStringLiteral("内容"),         QStringLiteral("報酬"),
        QStringLiteral("リピート報酬"),
    };
    static const QStringList english = {
        QStringLiteral("field 1"), QStringLiteral("Region"),    QStringLiteral("ChainNo"),
        QStringLiteral("QuestNo"), QStringLiteral("QuestName"), QStringLiteral("Client"),
        QStringLiteral("Process"), QStringLiteral("Reward1"),   QStringLiteral("Reward2"),
    };
    const QStringList &names = ja(lang) ? japanese : english;
    if (field < 1 || field > names.size())
        return ja(lang) ? QStringLiteral("第%1項目").arg(field)
                        : QStringLiteral("field %1").arg(field);
    return names.at(field - 1);
}

// English counts: "1 quest", "2 quests".
QString counted(long long n, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

QString rangeOf(int field, Language lang)
{
    const int low = field == 2 ? 0 : -32768;
    const int high = field == 2 ? 255 : 32767;
    return ja(lang) ? QStringLiteral("%1〜%2").arg(low).arg(high)
                    : QStringLiteral("%1 to %2").arg(low).arg(high);
}

QString japaneseMessage(const Finding &f)
{
    const QString field = fieldName(f.field, Language::Japanese);
    const QString unlisted = QStringLiteral("（「（すべて）」でしか一覧に出ません）");
    switch (f.kind) {
    case FindingKind::FileMissing:
        return QStringLiteral("ファイルがありません");
    case FindingKind::FileUnreadable:
        return QStringLiteral("ファイルを読み込めません");
    case FindingKind::FileTooLarge:
        return QStringLiteral("ファイルが大きすぎます（%1 バイトを超えるファイルは読み込みません）")
            .arg(f.limit);
    case FindingKind::EmptyFile:
        return QStringLiteral("ファイルが空です");
    case FindingKind::NoEndRecord:
        return QStringLiteral("終了レコード（地域が 99 のレコード）がありません"
                              "（%1 件のレコードの後でファイルが終わっています）")
            .arg(f.value);
    case FindingKind::CutShort:
        return QStringLiteral("レコードがファイルの終わりで途切れています（%1から後がありません）")
            .arg(field);
    case FindingKind::NotANumber:
        return QStringLiteral("%1が数値ではありません").arg(field);
    case FindingKind::OutOfRange:
        return QStringLiteral("%1の値が範囲（%2）を外れています")
            .arg(field, rangeOf(f.field, Language::Japanese));
    case FindingKind::TooManyQuests:
        return QStringLiteral("クエストが多すぎます（%1 件目。読み込めるのは %2 件まで）")
            .arg(f.value)
            .arg(f.value - 1);
    case FindingKind::MoreThanNineFields:
        return QStringLiteral("この行には項目が 9 個より多くあります")
               + (f.shifts ? QStringLiteral("（10 個目からが次のレコードになり、以降のレコードが"
                                            "ずれます）")
                           : QString());
    case FindingKind::FewerThanNineFields:
        if (f.shifts)
            return QStringLiteral("この行には項目が 9 個に足りず、レコードが %1 行目の途中まで"
                                  "続きます（以降のレコードがずれます）")
                .arg(f.otherLine);
        return QStringLiteral("レコードが %1 行目まで続いています"
                              "（項目が 9 個に足りない行か、引用符の中の改行があります）")
            .arg(f.otherLine);
    case FindingKind::BlankLine:
        if (f.shifts)
            return QStringLiteral(
                "空行があります（空の項目として読まれ、以降のレコードがずれます）");
        return QStringLiteral(
                   "空行があります（空の項目として読まれ、レコードが %1 行目まで続きます）")
            .arg(f.otherLine);
    case FindingKind::RegionOutsideTable:
        return QStringLiteral("地域 %1 は 1〜20 の範囲外です").arg(f.value) + unlisted;
    case FindingKind::RegionWithoutName:
        return QStringLiteral("地域 %1 には地域名がありません").arg(f.value) + unlisted;
    case FindingKind::QuestNoOutside:
        return QStringLiteral("クエスト番号 %1 は 1〜%2 の範囲外です（クリア状況を記録できません）")
            .arg(f.value)
            .arg(f.limit);
    case FindingKind::QuestNoTwice:
        return QStringLiteral("クエスト番号 %1 は %2 行目でも使われています"
                              "（クリア状況が共有されます）")
            .arg(f.value)
            .arg(f.otherLine);
    case FindingKind::NameTwice:
        return QStringLiteral("クエスト名「%1」は %2 行目と同じです"
                              "（一覧に見分けのつかない項目が並びます）")
            .arg(f.text, QString::number(f.otherLine));
    case FindingKind::NameLikeTreeEntry:
        return QStringLiteral("クエスト名「%1」がツリー表示の印「%2」で始まっています"
                              "（一覧では連続クエストの続きに見えます）")
            .arg(f.text, f.text.left(2));
    case FindingKind::TextAfterEndRecord:
        return QStringLiteral("終了レコードの後に文字があります（読み込まれません）");
    case FindingKind::InvalidShiftJis:
        return QStringLiteral("%1に Shift_JIS として正しくないバイトがあります"
                              "（「\uFFFD」と表示されます）")
            .arg(field);
    case FindingKind::LooksLikeUtf8:
        return QStringLiteral("ファイルが UTF-8 で書かれているようです"
                              "（Shift_JIS で保存し直してください）");
    }
    return {};
}

QString englishMessage(const Finding &f)
{
    const QString field = fieldName(f.field, Language::English);
    const QString unlisted =
        QStringLiteral(" (the quest is listed only when all regions are shown)");
    switch (f.kind) {
    case FindingKind::FileMissing:
        return QStringLiteral("file not found");
    case FindingKind::FileUnreadable:
        return QStringLiteral("cannot read the file");
    case FindingKind::FileTooLarge:
        return QStringLiteral("the file is too large (files above %1 bytes are not read)")
            .arg(f.limit);
    case FindingKind::EmptyFile:
        return QStringLiteral("the file is empty");
    case FindingKind::NoEndRecord:
        return QStringLiteral("no end record (a record whose Region is 99); the file ends after %1")
            .arg(counted(f.value, QStringLiteral("record"), QStringLiteral("records")));
    case FindingKind::CutShort:
        return QStringLiteral("the record is cut short by the end of the file (%1 and every "
                              "field after it are missing)")
            .arg(field);
    case FindingKind::NotANumber:
        return QStringLiteral("%1 is not a number").arg(field);
    case FindingKind::OutOfRange:
        return QStringLiteral("%1 is out of range (%2)")
            .arg(field, rangeOf(f.field, Language::English));
    case FindingKind::TooManyQuests:
        return QStringLiteral("too many quests (this is quest %1; at most %2 can be loaded)")
            .arg(f.value)
            .arg(f.value - 1);
    case FindingKind::MoreThanNineFields:
        return QStringLiteral("more than nine fields on this line")
               + (f.shifts ? QStringLiteral(" (the tenth starts the next record and every later "
                                            "record is shifted)")
                           : QString());
    case FindingKind::FewerThanNineFields:
        if (f.shifts)
            return QStringLiteral("fewer than nine fields on this line; the record runs on into "
                                  "line %1 (every later record is shifted)")
                .arg(f.otherLine);
        return QStringLiteral("the record runs on to line %1 (a line with fewer than nine "
                              "fields, or a line break inside quotes)")
            .arg(f.otherLine);
    case FindingKind::BlankLine:
        if (f.shifts)
            return QStringLiteral("blank line (read as an empty field; every later record is "
                                  "shifted)");
        return QStringLiteral("blank line (read as an empty field; the record runs on to line %1)")
            .arg(f.otherLine);
    case FindingKind::RegionOutsideTable:
        return QStringLiteral("Region %1 is outside 1 to 20").arg(f.value) + unlisted;
    case FindingKind::RegionWithoutName:
        return QStringLiteral("Region %1 has no region name").arg(f.value) + unlisted;
    case FindingKind::QuestNoOutside:
        return QStringLiteral("QuestNo %1 is outside 1 to %2 (its progress cannot be recorded)")
            .arg(f.value)
            .arg(f.limit);
    case FindingKind::QuestNoTwice:
        return QStringLiteral("QuestNo %1 is also used on line %2 (the quests share their "
                              "progress)")
            .arg(f.value)
            .arg(f.otherLine);
    case FindingKind::NameTwice:
        return QStringLiteral("QuestName \"%1\" is the same as on line %2 (the list shows "
                              "entries that cannot be told apart)")
            .arg(f.text, QString::number(f.otherLine));
    case FindingKind::NameLikeTreeEntry:
        return QStringLiteral("QuestName \"%1\" begins with the tree view's mark \"%2\" (the "
                              "quest looks like a follow-on of a chain in the list)")
            .arg(f.text, f.text.left(2));
    case FindingKind::TextAfterEndRecord:
        return QStringLiteral("text after the end record (never read)");
    case FindingKind::InvalidShiftJis:
        return QStringLiteral("%1 holds bytes that are not valid Shift_JIS (shown as \uFFFD)")
            .arg(field);
    case FindingKind::LooksLikeUtf8:
        return QStringLiteral("the file seems to be written in UTF-8 (save it as Shift_JIS)");
    }
    return {};
}

QString severity(const Finding &f, Language lang)
{
    const bool isError = f.severity == Severity::Error;
    if (ja(lang))
        return isError ? QStringLiteral("エラー") : QStringLiteral("警告");
    return isError ? QStringLiteral("error") : QStringLiteral("warning");
}

} // namespace

QString formatFinding(const QString &file, const Finding &finding, Language lang)
{
    QString out = file;
    if (finding.line > 0) {
        out += u':' + QString::number(finding.line);
        if (finding.field > 0)
            out += u':' + QString::number(finding.field);
    }
    out += QStringLiteral(": ") + severity(finding, lang) + QStringLiteral(": ");
    out += ja(lang) ? japaneseMessage(finding) : englishMessage(finding);
    return out;
}

QString moreOfKind(const QString &file, const Finding &last, long long more, Language lang)
{
    const QString text =
        ja(lang) ? QStringLiteral("… ほか %1 件（同じ種類の指摘は最初の %2 件だけを表示します）")
                 : QStringLiteral("… and %1 more (only the first %2 findings of each kind are "
                                  "shown)");
    return QStringLiteral("%1: %2: ").arg(file, severity(last, lang))
           + text.arg(more).arg(kShownPerKind);
}

QString summary(const QString &file, const DatabaseSummary &s, Language lang)
{
    if (!s.loads) {
        return ja(lang)
                   ? QStringLiteral("%1: 集計: 読み込めないためクエストは数えられません、%2 バイト")
                         .arg(file, QString::number(s.bytes))
                   : QStringLiteral("%1: summary: quests not counted (the file cannot be "
                                    "loaded), %2")
                         .arg(file,
                              counted(s.bytes, QStringLiteral("byte"), QStringLiteral("bytes")));
    }
    QStringList perRegion;
    for (const auto &[name, count] : s.regions)
        perRegion << QStringLiteral("%1 %2").arg(name).arg(count);
    if (s.withoutRegion > 0) {
        perRegion << QStringLiteral("%1 %2")
                         .arg(ja(lang) ? QStringLiteral("地域なし") : QStringLiteral("no region"))
                         .arg(s.withoutRegion);
    }
    if (ja(lang)) {
        const QString regions =
            perRegion.isEmpty() ? QString() : u'（' + perRegion.join(u'、') + u'）';
        return QStringLiteral("%1: 集計: クエスト %2 件%3、連続クエスト %4 本、%5 バイト")
            .arg(file, QString::number(s.quests), regions, QString::number(s.chains),
                 QString::number(s.bytes));
    }
    const QString regions =
        perRegion.isEmpty() ? QString()
                            : QStringLiteral(" (") + perRegion.join(QStringLiteral(", ")) + u')';
    return QStringLiteral("%1: summary: %2%3, %4, %5")
        .arg(file, counted(s.quests, QStringLiteral("quest"), QStringLiteral("quests")), regions,
             counted(s.chains, QStringLiteral("chain"), QStringLiteral("chains")),
             counted(s.bytes, QStringLiteral("byte"), QStringLiteral("bytes")));
}

QString usage(Language lang)
{
    if (ja(lang)) {
        return QStringLiteral(
            "使い方: pelko-check [オプション] [ファイル]\n"
            "クエスト情報ファイル（省略すると作業フォルダの Pelko.dat）を調べ、プログラムが\n"
            "読み込めない原因（エラー）と、読み込めても遊ぶ人が気づく問題（警告）を\n"
            "「ファイル:行:項目: 内容」の形で一行ずつ示し、最後に集計を表示します。\n"
            "\n"
            "オプション:\n"
            "  --lang=ja   日本語で表示します（既定）\n"
            "  --lang=en   英語で表示します\n"
            "  --help      この説明を表示します\n"
            "\n"
            "終了コード: 0 読み込めるファイル、1 読み込めないファイル、2 使い方の誤り\n");
    }
    return QStringLiteral(
        "Usage: pelko-check [OPTION] [FILE]\n"
        "Checks a quest database (Pelko.dat in the working directory when no FILE is given) and\n"
        "prints, one line each as \"file:line:field: message\", what keeps the program from\n"
        "loading it (errors) and what a player would notice although it loads (warnings),\n"
        "then a summary.\n"
        "\n"
        "Options:\n"
        "  --lang=ja   messages in Japanese (the default)\n"
        "  --lang=en   messages in English\n"
        "  --help      show this help\n"
        "\n"
        "Exit status: 0 the program loads the file, 1 it refuses it, 2 a usage error\n");
}

QString usageError(UsageError error, const QString &argument, Language lang)
{
    QString first;
    if (error == UsageError::UnknownOption)
        first = ja(lang) ? QStringLiteral("不明なオプションです: %1").arg(argument)
                         : QStringLiteral("unknown option: %1").arg(argument);
    else
        first = ja(lang) ? QStringLiteral("ファイルは一つだけ指定してください")
                         : QStringLiteral("give at most one file");
    return QStringLiteral("pelko-check: ") + first + u'\n'
           + (ja(lang) ? QStringLiteral("使い方は pelko-check --help で表示されます\n")
                       : QStringLiteral("Run pelko-check --help for usage.\n"));
}

} // namespace pelko::check
