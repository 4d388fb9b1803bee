// The database check: what it finds in one database of each kind of damage, compared whole, and
// the pelko-check executable as the people who prepare a database run it, in a folder holding a
// copy of the sample database: its whole output and its exit status.
#include "CheckMessages.h"
#include "DatabaseCheck.h"
#include "QuestDatabase.h"
#include "TestSupport.h"

#include <fcntl.h>
#include <unistd.h>

using namespace pelko::check;
using namespace pelko::test;

namespace {

const QByteArray kRecord = "0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";
const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
// Two quests named with an escape sequence that clears the screen, a CR and a BEL.
const QByteArray kEscCrBel =
    QByteArray("0,1,0,1,\"a\x1B[2J\r\x07\",,,,\r\n0,1,0,2,\"a\x1B[2J\r\x07\",,,,\r\n") + kEnd;

// The findings, one line each, and the summary line, as the tool prints them.
QString report(QByteArrayView bytes)
{
    const pelko::QuestDatabase db = pelko::parseQuestDatabase(bytes);
    QString out;
    for (const Finding &f : checkDatabase(db, bytes))
        out += formatFinding("Pelko.dat", f) + u'\n';
    return out + summary("Pelko.dat", summarize(db, bytes.size()));
}

// A file name in Shift_JIS, as drives shared with older systems hold them: not UTF-8, ペルソ, an
// ESC and .dat. It goes to the tool as these bytes, and comes back with the ESC escaped.
const QByteArray kShiftJisName = "\x83\x79\x83\x8b\x83\x5c\x1b.dat",
                 kShiftJisShown = "\x83\x79\x83\x8b\x83\x5c\\x1B.dat";

// Records whose every field but the chain number is wrong: region 8 (no name), quest number
// 30000 (beyond the table), a name beginning with a tree mark, and each of the five texts
// ending in a byte that is not Shift_JIS: eight findings a record.
QByteArray eightFindings(int records)
{
    QByteArray out;
    for (int r = 1; r <= records; ++r)
        out += "0,8,0,30000,\"" + ansi(QStringLiteral("\u3000\u251C%1").arg(r))
               + "\x81\",\"\x81\",\"\x81\",\"\x81\",\"\x81\"\r\n";
    return out + kEnd;
}

// A file kept beside this test, as text.
QString besideTest(const QString &name)
{
    QFile f(QStringLiteral(PELKO_CHECK_TESTS "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(name));
    return QString::fromUtf8(f.readAll());
}

// The reports written out in findings-ja.txt, by row name.
QMap<QString, QString> writtenReports()
{
    QMap<QString, QString> reports;
    QString row;
    for (const QString &line : besideTest("findings-ja.txt").split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("== "))
            row = line.mid(3);
        else if (!row.isEmpty())
            reports[row] += (reports[row].isEmpty() ? "" : "\n") + line;
    }
    return reports;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(useLanguage(Language::Japanese)); }

    void findings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // written out in findings-ja.txt
        QMap<QString, QString> written = writtenReports();
        const auto row = [&](const char *name, const QByteArray &bytes) {
            addRow(name, bytes, written.take(name));
        };
        const QString name = QStringLiteral("竜の巣"),
                      marked = QStringLiteral("\u3000\u251C") + name;
        row("quest table",
            databaseBytes({{1, 110, 2, name}, {1, 111, 2, marked}, {8, 0, 7, name}}));
        row("the chain's end mark", databaseBytes({{1, 0, 1, QStringLiteral("\u3000\u2514竜")}}));
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
        row("empty", QByteArray());
        row("cut short", kRecord + "0,99,0,0");
        row("no end record", kRecord + kRecord);
        row("out of range", "0,256,0,1,,,,,\r\n" + kEnd);
        row("not a number", "0,x,0,1,,,,,\r\n" + kEnd);
        row("too many quests", QByteArray("0,1,0,1,,,,,\r\n").repeated(32767) + kEnd);
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
        for (int k = 2; k <= 9; ++k) {
            row(qPrintable(QStringLiteral("cut before field %1").arg(k)),
                first + fields.mid(0, k - 1).join(',') + (k % 2 ? "\r\n" : ","));
        }
        const QByteArrayList low = {"-32769", "-1", "-32769", "-32769"},
                             high = {"32768", "256", "32768", "32768"};
        for (int k = 1; k <= 4; ++k) {
            for (const QByteArray &value : {QByteArray("x"), low[k - 1], high[k - 1]}) {
                QByteArrayList record = fields;
                record[k - 1] = value;
                row(qPrintable(QStringLiteral("field %1: %2").arg(k).arg(QString(value))),
                    first + record.join(',') + "\r\n" + kEnd);
            }
        }
        // A line of blanks of any kind is one empty field, which shifts the records after it;
        // an ideographic space or a vertical tab is no blank, but text in a number.
        for (const char *blank : {"", " ", "\t", " \t \t"}) {
            for (const char *end : {"\r\n", "\n", "\r"}) {
                const QByteArray line = QByteArray(blank) + end;
                row(qPrintable("blank line " + line.toPercentEncoding()),
                    QByteArray(kRecord + line + kEnd).replace("\r\n", end));
            }
        }
        for (const QByteArray &odd : {QByteArray("\x81\x40"), QByteArray("\v")})
            row(qPrintable("no blank " + odd.toPercentEncoding()), kRecord + odd + "\r\n" + kEnd);
        QCOMPARE(written.keys(), QStringList()); // every report written out has its row
    }

    void findings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(report(bytes), expected);
        QCOMPARE(exitCode(checkDatabase(bytes)),
                 expected.contains(QStringLiteral(": エラー: ")) ? 1 : 0);
    }

    void commandLines_data()
    {
        // A command line as a shell reads it, split at spaces: variables of the environment,
        // the program, its arguments. The locale variables, LANGUAGE and the display variables
        // are removed from every run, so that only the row's own decide.
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("odd"); // what stands at odd.dat, or at the Shift_JIS name
        // The sample's deliberate oddities: quests in codes without a region name, a name used
        // twice; the report, in English, is kept beside this file.
        addRow("sample, default file, English", QStringLiteral("LC_ALL=C.UTF-8 pelko-check"), 0,
               besideTest("sample-report-en.txt"), QString(), QString());
        addRow("the version", QStringLiteral("pelko-check --version"), 0,
               QStringLiteral("pelko-check 1.10.0\n"), QString(), QString());
        addRow("two files", QStringLiteral("LANG=ja_JP.UTF-8 pelko-check Pelko.dat Pelko.dat"), 2,
               QString(),
               QStringLiteral("pelko-check: ファイルは一つだけ指定してください\n"
                              "使い方は pelko-check --help で表示されます\n"),
               QString());

        // The language: LC_ALL, LC_MESSAGES, LANG, the first set and not empty; Japanese only for
        // Japanese; LANGUAGE is not read; --lang over all of them.
        const QString en = QStringLiteral("nothing.dat: error: file not found\n"),
                      ja = QStringLiteral("nothing.dat: エラー: ファイルがありません\n");
        const std::pair<const char *, const QString &> languages[] = {
            {"LANG=en_US.UTF-8 pelko-check nothing.dat", en},
            {"LANG=ja_JP.UTF-8 pelko-check nothing.dat", ja},
            {"LANG=ja pelko-check nothing.dat", ja},
            {"LANG=ja_JP.eucJP pelko-check nothing.dat", ja},
            {"LANG=fr_FR.UTF-8 pelko-check nothing.dat", en},
            {"LC_ALL=ja_JP.UTF-8 LANG=en_US.UTF-8 pelko-check nothing.dat", ja},
            {"LC_ALL=en_US.UTF-8 LC_MESSAGES=ja_JP.UTF-8 LANG=ja_JP.UTF-8 pelko-check nothing.dat",
             en},
            {"LC_MESSAGES=ja_JP.UTF-8 pelko-check nothing.dat", ja},
            {"LC_MESSAGES=ja_JP.UTF-8 LANG=en_US.UTF-8 pelko-check nothing.dat", ja},
            {"LC_MESSAGES=C LANG=ja_JP.UTF-8 pelko-check nothing.dat", en},
            {"LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8 pelko-check nothing.dat", ja},
            {"LANG=C pelko-check nothing.dat", en},
            {"LANG=POSIX pelko-check nothing.dat", en},
            {"LC_ALL=C LANG=ja_JP.UTF-8 pelko-check nothing.dat", en},
            {"LC_ALL=C.UTF-8 LANG=ja_JP.UTF-8 pelko-check nothing.dat", en},
            {"pelko-check nothing.dat", en},
            {"LANGUAGE=ja LC_ALL=C.UTF-8 pelko-check nothing.dat", en},
            {"LANG=ja_JP.UTF-8 pelko-check --lang en nothing.dat", en},
            {"LANG=ja_JP.UTF-8 pelko-check --lang=en nothing.dat", en},
            {"LC_ALL=C pelko-check --lang ja nothing.dat", ja},
            {"pelko-check nothing.dat --lang=ja", ja},
            {"pelko-check --lang=ja --lang en nothing.dat", en},
        };
        for (const auto &[command, out] : languages)
            addRow(command, QString::fromUtf8(command), 1, out, QString(), QString());
        const QString runHelp = QStringLiteral("Run pelko-check --help for usage.\n");
        addRow("--lang without a language", QStringLiteral("LANG=C pelko-check --lang"), 2,
               QString(), "pelko-check: --lang needs a language: ja or en\n" + runHelp, QString());
        addRow("--lang before a file name", QStringLiteral("pelko-check --lang nothing.dat"), 2,
               QString(),
               "pelko-check: unknown language: \"nothing.dat\" (give --lang=ja or --lang=en)\n"
                   + runHelp,
               QString());
        addRow("--lang=, in Japanese", QStringLiteral("LANG=ja_JP.UTF-8 pelko-check --lang="), 2,
               QString(),
               QStringLiteral("pelko-check: 不明な言語です:「」（--lang=ja か --lang=en "
                              "を指定してください）\n使い方は pelko-check --help で表示されます\n"),
               QString());
        addRow("--lang fr after --lang en", QStringLiteral("pelko-check --lang en --lang fr"), 2,
               QString(),
               "pelko-check: unknown language: \"fr\" (give --lang=ja or --lang=en)\n" + runHelp,
               QString());

        // Control characters in names from the command line are printed escaped, the C1 ones at
        // both ends too; a backslash is doubled, U+00A0 just above C1 stays.
        addRow("control characters in the file name",
               QStringLiteral("pelko-check a\x1B]0;x\x07\u0080\u009F\u00A0\\.dat"), 1,
               QStringLiteral("a\\x1B]0;x\\x07\\x80\\x9F\u00A0\\\\.dat: error: file not found\n"),
               QString(), QString());
        addRow("control characters in an option", QStringLiteral("pelko-check --\x1B[2J"), 2,
               QString(), "pelko-check: unknown option: --\\x1B[2J\n" + runHelp, QString());
        addRow(
            "control characters in a quest name, English", QStringLiteral("pelko-check odd.dat"), 0,
            QStringLiteral("odd.dat:1: warning: the record runs on to line 2 (a line with fewer "
                           "than nine fields, or a line break inside quotes)\n"
                           "odd.dat:3: warning: the record runs on to line 4 (a line with fewer "
                           "than nine fields, or a line break inside quotes)\n"
                           "odd.dat:3:5: warning: QuestName \"a\\x1B[2J\\x0D\\x07\" is the same "
                           "as on line 1 (the list shows entries that cannot be told apart)\n"
                           "odd.dat: summary: 2 quests (ヴォルカナ大陸 2), 0 chains, 71 bytes\n"),
            QString(), "ESC, CR, BEL");

        // Decided at once, without reading: none of these may block the tool or fill its memory.
        addRow("FIFO", QStringLiteral("LANG=ja_JP.UTF-8 pelko-check odd.dat"), 1,
               QStringLiteral("odd.dat: エラー: ファイルを読み込めません\n"), QString(), "fifo");
        addRow("sparse 50 GB", QStringLiteral("pelko-check odd.dat"), 1,
               QStringLiteral("odd.dat: error: the file is too large (files above 33554432 bytes "
                              "are not read)\n"),
               QString(), "sparse 50 GB");
        // Opened by the bytes given, the name's last argument, and printed by them but for the
        // ESC in it; 0x5C, the second byte of ソ, stays single. An empty file.
        addRow("name in Shift_JIS", QStringLiteral("LANG=ja_JP.UTF-8 pelko-check"), 1,
               QStringLiteral(
                   "ペルソ\\x1B.dat: エラー: ファイルが空です\n"
                   "ペルソ\\x1B.dat: 集計: 読み込めないためクエストは数えられません、0 バイト\n"),
               QString(), "Shift_JIS name");
        // 217,704 findings: the first 100 of each kind, each kind's hundredth followed by the
        // count of the rest, then the summary and the status as ever.
        addRow("27,213 records, eight findings each",
               QStringLiteral("LANG=ja_JP.UTF-8 pelko-check odd.dat"), 0,
               besideTest("eight-findings-report-ja.txt"), QString(), "eight findings a record");

        // A report that cannot be written is never taken for a file that loads.
        addRow("report to a full disk", QStringLiteral("pelko-check"), 2, QString(),
               QStringLiteral("pelko-check: cannot write the report: No space left on device\n"),
               "full disk");
        addRow("version to a full disk", QStringLiteral("pelko --version"), 1, QString(),
               QStringLiteral("pelko: cannot write to the standard output: No space left on "
                              "device\n"),
               "full disk");

        // The program answers these in a terminal without a display, as the launcher does.
        addRow("pelko --version", QStringLiteral("pelko --version"), 0,
               QStringLiteral("pelko 1.10.0\n"), QString(), QString());
        addRow("pelko -h", QStringLiteral("pelko -h"), 0,
               QStringLiteral(
                   "Usage: pelko\n"
                   "       pelko --help | --version\n"
                   "Starts the program in the working folder, where it reads Pelko.dat and keeps "
                   "its\n"
                   "progress (clr_stat.dat) and settings (Pelko.ini). The installed pelko command\n"
                   "starts it in your own data folder ($XDG_DATA_HOME/pelko, else "
                   "~/.local/share/pelko)\n"
                   "or in DIR: pelko [DIR].\n"),
               QString(), QString());
    }

    void commandLines()
    {
        QFETCH(QString, command);
        QFETCH(QString, odd);
        WorkDir dir;
        QVERIFY(QFile::copy(QStringLiteral(PELKO_SAMPLE_DAT), dir.filePath("Pelko.dat")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE", "DISPLAY",
                                 "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        QStringList args = command.split(u' ');
        while (args.first().contains(u'=')) {
            const QString setting = args.takeFirst();
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        }
        QString program = args.takeFirst() == "pelko" ? QStringLiteral(PELKO_PELKO)
                                                      : QStringLiteral(PELKO_PELKO_CHECK);
        const QByteArray shiftJisPath = QFile::encodeName(dir.path()) + '/' + kShiftJisName;
        QProcess tool;
        if (odd == "eight findings a record") {
            dir.write("odd.dat", eightFindings(27213));
        } else if (odd == "ESC, CR, BEL") {
            dir.write("odd.dat", kEscCrBel);
        } else if (odd == "Shift_JIS name") {
            QVERIFY(::close(::creat(shiftJisPath.constData(), 0644)) == 0);
            // QProcess would pass the name in UTF-8: the shell makes the bytes.
            args =
                QStringList{"-c", "exec \"$@\" \"$(printf '\\203y\\203\\213\\203\\\\\\033.dat')\"",
                            "sh", program}
                + args;
            program = "/bin/sh";
        } else if (odd == "full disk") {
            tool.setStandardOutputFile(QStringLiteral("/dev/full"));
        } else if (!odd.isEmpty() && !placeOddity(dir.filePath("odd.dat"), odd)) {
            QSKIP("device nodes cannot be made here");
        }
        tool.setWorkingDirectory(dir.path());
        tool.setProcessEnvironment(env);
        tool.start(program, args);
        QVERIFY(tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit);
        ::unlink(shiftJisPath.constData()); // a name the temporary folder's clean-up cannot spell
        const QByteArray out = tool.readAllStandardOutput();
        QVERIFY(out.size() < 1000 * 1000);
        QTEST(QString::fromUtf8(QByteArray(out).replace(kShiftJisShown, "ペルソ\\x1B.dat")), "out");
        QTEST(QString::fromUtf8(tool.readAllStandardError()), "err");
        QTEST(tool.exitCode(), "exitCode");
    }
};

QTEST_GUILESS_MAIN(TestCheck)
#include "tst_check.moc"
