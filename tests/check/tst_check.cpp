// The database check: what it finds in one database of each kind of damage, compared whole, and
// the pelko-check executable as the people who prepare a database run it, in a folder holding a
// copy of the sample database: its whole output and its exit status.
#include "CheckMessages.h"
#include "DatabaseCheck.h"
#include "QuestDatabase.h"
#include "TestSupport.h"

#include <QFileInfo>

using namespace pelko::check;
using namespace pelko::test;

namespace {

const QByteArray kRecord = "0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";
const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
// Two quests named with an escape sequence that clears the screen, a CR and a BEL.
const QByteArray kEscCrBel =
    QByteArray("0,1,0,1,\"a\x1B[2J\r\x07\",,,,\r\n0,1,0,2,\"a\x1B[2J\r\x07\",,,,\r\n") + kEnd;

// A database of the given number of records, each the pattern with %1 replaced by its number.
QByteArray records(int count, const QByteArray &pattern)
{
    QByteArray out;
    for (int r = 1; r <= count; ++r)
        out += QByteArray(pattern).replace("%1", QByteArray::number(r)) + "\r\n";
    return out + kEnd;
}

// The reports written out in a file beside this test: after "== " and a row's name, its lines.
QMap<QString, QString> writtenReports(const char *file)
{
    QFile f(QStringLiteral(PELKO_CHECK_TESTS "/") + file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", file);
    QMap<QString, QString> reports;
    for (const QString &part : QString::fromUtf8(f.readAll()).split("\n== ").mid(1))
        reports[part.section(u'\n', 0, 0)] = part.section(u'\n', 1).trimmed();
    return reports;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Either language can follow the other (the findings below are checked in Japanese).
    void initTestCase()
    {
        QVERIFY(useLanguage(Language::Japanese) && useLanguage(Language::English));
        QCOMPARE(outputError("x"), "pelko-check: cannot write the report: x\n");
        QVERIFY(useLanguage(Language::Japanese));
        QCOMPARE(outputError("x"), "pelko-check: 結果を書き出せません: x\n");
    }

    void findings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // written out in findings-ja.txt
        QMap<QString, QString> written = writtenReports("findings-ja.txt");
        const auto row = [&](const char *name, const QByteArray &bytes) {
            addRow(name, bytes, written.take(name));
        };
        row("quest table",
            databaseBytes(
                {{1, 110, 2, "竜の巣"}, {1, 111, 2, "\u3000\u251C竜の巣"}, {8, 0, 7, "竜の巣"}}));
        row("the chain's end mark", databaseBytes({{1, 0, 1, "\u3000\u2514竜"}}));
        row("file layout", "0,1,0,1,\"a\x81\",\"b\r\nc\",\"\",\"\",\"\"\r\n" + kEnd + "x\r\n");
        // A name and a number used three times (each repeat names the first use), region 0 and
        // quest number 0 at the low ends, and a tree mark inside a name, which is no warning.
        row("first uses and low ends",
            "0,0,0,2,\"a\",,,,\r\n0,1,0,2,\"a\",,,,\r\n0,1,0,2,\"a\",,,,\r\n0,1,0,0,\""
                + ansi("剣　├改") + "\",,,,\r\n" + kEnd);
        // A lone CR inside quotes ends a line; text on the end record's own line, and text
        // after blank lines, are reported where they stand.
        row("a lone CR in quotes, text beside the end record",
            "0,1,0,1,\"a\",\"b\rc\",,,\r\n0,99,0,0,,,,,,x\r\n");
        row("text after blank lines", kRecord + kEnd + "\r\n\r\nx\r\n");
        // Ten fields on a line shift every record after it; a blank line before the rest of a
        // record that ends its line shifts none.
        row("ten fields on a line", "0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\r\n" + kEnd);
        row("a blank line inside a record",
            "0,1,0,1,\"a\",\"\",\"\",\"\",\"\"\r\n\r\n1,0,2,\"x\",\"\",\"\",\"\",\"\"\r\n" + kEnd);
        row("empty", QByteArray());
        row("cut short", kRecord + "0,99,0,0");
        row("no end record", kRecord + kRecord);
        row("too many quests", records(32767, "0,1,0,1,,,,,"));
        // Control characters in a name are printed escaped: a terminal would act on them.
        row("control characters: ESC, CR, BEL", kEscCrBel);
        row("control characters: the ends of C0, DEL, a backslash",
            "0,1,0,1,\"" + ansi("　├") + QByteArray("\0\t\x1F ~\x7F\\x1B", 10) + "\",,,,\r\n"
                + kEnd);

        // Every field position of a record on line 3, after a record that runs over lines 1
        // and 2: the file cut before the field (after a comma or a line end), text in a number,
        // and each number one step outside its range at both ends.
        const QByteArray first = "0,1,0,1,\"a\",\"b\r\nc\",\"\",\"\",\"\"\r\n";
        const QByteArrayList fields = {"0", "1", "0", "2", "a", "b", "c", "d", "e"};
        for (int k = 2; k <= 9; ++k)
            row(qPrintable(QStringLiteral("cut before field %1").arg(k)),
                first + fields.mid(0, k - 1).join(',') + (k % 2 ? "\r\n" : ","));
        const QByteArrayList bad = {"x", "-32769", "32768", "x", "-1",     "256",
                                    "x", "-32769", "32768", "x", "-32769", "32768"};
        for (int i = 0; i < bad.size(); ++i) {
            QByteArrayList record = fields;
            record[i / 3] = bad[i];
            row(qPrintable(QStringLiteral("field %1: %2").arg(i / 3 + 1).arg(QString(bad[i]))),
                first + record.join(',') + "\r\n" + kEnd);
        }
        // A line of blanks of any kind is one empty field, which shifts the records after it;
        // an ideographic space or a vertical tab is no blank, but text in a number.
        for (const char *blank : {"", " ", "\t", " \t \t"})
            for (const char *end : {"\r\n", "\n", "\r"})
                row(qPrintable("blank line " + (QByteArray(blank) + end).toPercentEncoding()),
                    QByteArray(kRecord + blank + end + kEnd).replace("\r\n", end));
        for (const QByteArray &odd : {QByteArray("\x81\x40"), QByteArray("\v")})
            row(qPrintable("no blank " + odd.toPercentEncoding()), kRecord + odd + "\r\n" + kEnd);
        QCOMPARE(written.keys(), QStringList()); // every report written out has its row
    }

    void findings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        // The findings, one line each, and the summary line, as the tool prints them.
        const pelko::QuestDatabase db = pelko::parseQuestDatabase(bytes);
        QString report;
        for (const Finding &f : checkDatabase(db, bytes))
            report += formatFinding("Pelko.dat", f) + u'\n';
        QCOMPARE(report + summary("Pelko.dat", summarize(db, bytes.size())), expected);
        QCOMPARE(exitCode(checkDatabase(bytes)), expected.contains(": エラー: ") ? 1 : 0);
    }

    void commandLines_data()
    {
        // A command line as sh runs it, in a folder holding Pelko.dat and the row's odd.dat, with
        // pelko-check and pelko on the PATH. The locale variables, LANGUAGE and the display
        // variables are removed from every run, so that only the row's own decide.
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("odd");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const auto row = [](const char *name, const QByteArray &command, int status,
                            const QByteArray &out, const QByteArray &err = {},
                            const QByteArray &odd = {}) {
            addRow(name ? name : command.constData(), command, odd, status, out, err);
        };
        // Rows whose output is written out in command-lines.txt, under the row's name.
        const QMap<QString, QString> reports = writtenReports("command-lines.txt");
        const auto written = [&](const char *name, const char *command, const QByteArray &odd) {
            row(name, command, 0, reports[name].toUtf8() + '\n', {}, odd);
        };
        // The sample's deliberate oddities: quests in codes without a region name, a name used
        // twice.
        written("sample, English", "LC_ALL=C.UTF-8 pelko-check", {});
        row(nullptr, "pelko-check --version", 0, "pelko-check 1.10.0\n");
        written("pelko-check --help", "LANG=C pelko-check --help", {});

        // The language: LC_ALL, LC_MESSAGES, LANG, the first set and not empty; Japanese only for
        // Japanese; LANGUAGE is not read. Each environment runs pelko-check nothing.dat.
        const QByteArray en = "nothing.dat: error: file not found\n",
                         ja = "nothing.dat: エラー: ファイルがありません\n";
        const auto language = [&](const char *env, const QByteArray &out) {
            row(nullptr, QByteArray(env).append(" pelko-check nothing.dat").trimmed(), 1, out);
        };
        for (const char *env :
             {"LANG=ja_JP.UTF-8", "LANG=ja", "LANG=ja_JP.eucJP",
              "LC_ALL=ja_JP.UTF-8 LANG=en_US.UTF-8", "LC_MESSAGES=ja_JP.UTF-8",
              "LC_MESSAGES=ja_JP.UTF-8 LANG=en_US.UTF-8", "LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8"})
            language(env, ja);
        for (const char *env : {"", "LANG=en_US.UTF-8", "LANG=fr_FR.UTF-8", "LANG=C", "LANG=POSIX",
                                "LC_ALL=en_US.UTF-8 LC_MESSAGES=ja_JP.UTF-8 LANG=ja_JP.UTF-8",
                                "LC_MESSAGES=C LANG=ja_JP.UTF-8", "LC_ALL=C LANG=ja_JP.UTF-8",
                                "LC_ALL=C.UTF-8 LANG=ja_JP.UTF-8", "LANGUAGE=ja LC_ALL=C.UTF-8"})
            language(env, en);
        // --lang over all of them, wherever it stands; the last one given counts.
        row(nullptr, "LANG=ja_JP.UTF-8 pelko-check --lang en nothing.dat", 1, en);
        row(nullptr, "LANG=ja_JP.UTF-8 pelko-check --lang=en nothing.dat", 1, en);
        row(nullptr, "LC_ALL=C pelko-check --lang ja nothing.dat", 1, ja);
        row(nullptr, "pelko-check nothing.dat --lang=ja", 1, ja);
        row(nullptr, "pelko-check --lang=ja --lang en nothing.dat", 1, en);

        // Command lines the tool cannot act on: status 2, nothing on the standard output.
        const QByteArray help = "\nRun pelko-check --help for usage.\n",
                         helpJa = "\n使い方は pelko-check --help で表示されます\n";
        row(nullptr, "LANG=ja_JP.UTF-8 pelko-check Pelko.dat Pelko.dat", 2, {},
            "pelko-check: ファイルは一つだけ指定してください" + helpJa);
        row(nullptr, "LANG=C pelko-check --lang", 2, {},
            "pelko-check: --lang needs a language: ja or en" + help);
        row(nullptr, "pelko-check --lang nothing.dat", 2, {},
            "pelko-check: unknown language: \"nothing.dat\" (give --lang=ja or --lang=en)" + help);
        row(nullptr, "LANG=ja_JP.UTF-8 pelko-check --lang=", 2, {},
            "pelko-check: 不明な言語です:「」（--lang=ja か --lang=en を指定してください）"
                + helpJa);
        row(nullptr, "pelko-check --lang en --lang fr", 2, {},
            "pelko-check: unknown language: \"fr\" (give --lang=ja or --lang=en)" + help);

        // Control characters in names from the command line are printed escaped, the C1 ones at
        // both ends too; a backslash is doubled, U+00A0 just above C1 stays.
        row("control characters in the file name",
            "pelko-check 'a\x1B]0;x\x07\u0080\u009F\u00A0\\.dat'", 1,
            "a\\x1B]0;x\\x07\\x80\\x9F\u00A0\\\\.dat: error: file not found\n");
        row("control characters in an option", "pelko-check '--\x1B[2J'", 2, {},
            "pelko-check: unknown option: --\\x1B[2J" + help);
        written("control characters in a quest name, English", "pelko-check odd.dat", kEscCrBel);

        // Decided at once, without reading: none of these may block the tool or fill its memory.
        row("FIFO", "mkfifo odd.dat && LANG=ja_JP.UTF-8 pelko-check odd.dat", 1,
            "odd.dat: エラー: ファイルを読み込めません\n");
        row("sparse 50 GB", "truncate -s 50G odd.dat && pelko-check odd.dat", 1,
            "odd.dat: error: the file is too large (files above 33554432 bytes are not read)\n");
        // Opened by the bytes given, printed by them but for the ESC and DEL; 0x5C, the second byte
        // of ソ, stays single. An empty file. The folder's clean-up cannot spell the name.
        const QByteArray shown = "\x83y\x83\x8b\x83\\\\x1B\\x7F.dat";
        row("name in Shift_JIS",
            "n=$(printf '\\203y\\203\\213\\203\\\\\\033\\177.dat'); : >\"$n\"; "
            "trap 'rm \"$n\"' EXIT; LANG=ja_JP.UTF-8 pelko-check \"$n\"",
            1,
            shown + ": エラー: ファイルが空です\n" + shown
                + ": 集計: 読み込めないためクエストは数えられません、0 バイト\n");

        // At most 100 findings of a kind are printed, then how many more there are: 99, 100 and
        // 101 records of region 0.
        for (const QByteArray n : {"99", "100", "101"})
            written(n + " findings of a kind", "pelko-check odd.dat",
                    records(n.toInt(), "0,0,0,%1,\"%1\",,,,"));
        // 217,704 findings: regions without a name, quest numbers beyond the table, names with a
        // tree mark and the five texts ending in a byte that is not Shift_JIS, every record.
        written("27,213 records, eight findings each", "LANG=ja_JP.UTF-8 pelko-check odd.dat",
                records(27213, "0,8,0,30000,\"\x81\x40\x84\xA5%1\x81\",\"\x81\",\"\x81\",\"\x81\","
                               "\"\x81\""));

        // A report that cannot be written is never taken for a file that loads.
        row("report to a full disk", "pelko-check >/dev/full", 2, {},
            "pelko-check: cannot write the report: No space left on device\n");
        row("its version to a full disk", "pelko-check --version >/dev/full", 2, {},
            "pelko-check: cannot write the report: No space left on device\n");
        row("version to a full disk", "pelko --version >/dev/full", 1, {},
            "pelko: cannot write to the standard output: No space left on device\n");
        // The program answers these in a terminal without a display, as the launcher does.
        row(nullptr, "pelko --version", 0, "pelko 1.10.0\n");
        written("pelko -h", "pelko -h", {});
    }

    void commandLines()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, odd);
        WorkDir dir;
        QVERIFY(QFile::copy(QStringLiteral(PELKO_SAMPLE_DAT), dir.filePath("Pelko.dat")));
        if (!odd.isEmpty())
            dir.write("odd.dat", odd);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE", "DISPLAY",
                                 "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("PATH", QFileInfo(PELKO_PELKO_CHECK).path() + ':' + QFileInfo(PELKO_PELKO).path()
                               + ":/usr/bin:/bin");
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.setProcessEnvironment(env);
        tool.start("/bin/sh", {"-c", QString::fromUtf8(command)});
        QVERIFY(tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit);
        QTEST(tool.readAllStandardOutput(), "out");
        QTEST(tool.readAllStandardError(), "err");
        QTEST(tool.exitCode(), "exitCode");
    }
};

QTEST_GUILESS_MAIN(TestCheck)
#include "tst_check.moc"
