// Reading Pelko.dat: which files load (and how many quests), which are refused and why, the
// fields of a record and the decoding of code page 932.
#include "QuestDatabase.h"
#include "QuestDatabaseGenerator.h"
#include "ShiftJis.h"
#include "TestSupport.h"

#include <QStringDecoder>

using namespace pelko;
using namespace pelko::test;

namespace {
const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
const QByteArray kRecord = "0,3,120,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";
// A record with the given numbers and the texts "a" to "e".
QByteArray record(const char *numbers)
{
    return numbers + QByteArray(",\"a\",\"b\",\"c\",\"d\",\"e\"\r\n");
}
} // namespace

class TestQuestDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void outcome_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("quests"); // -1: refused with the error
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("at"); // line:field the refusal names
        const int none = -1, cut = int(DatabaseError::CutShort),
                  noEnd = int(DatabaseError::NoEndRecord), nan = int(DatabaseError::NotANumber),
                  range = int(DatabaseError::OutOfRange), many = int(DatabaseError::TooManyQuests);
        const QByteArray three = databaseBytes(namedQuests({"ソードの試練", "表彰式", "能面の謎"}));
        QByteArray full = sample::generateQuestDatabase(kMaxQuests);
        addRow("N records and the end record", kRecord + kRecord + kEnd, 2, none, "");
        addRow("end record only: an empty database", kEnd, 0, none, "");
        addRow("lines after the end record are never read", kRecord + kEnd + "x\"\r\n,,\r\n", 1,
               none, "");
        addRow("end record short of nine fields", kRecord + "0,99,0,0,\"\"\r\n", -1, cut, "3:6");
        addRow("end record cut after four fields", kRecord + "0,99,0,0", -1, cut, "2:5");
        addRow("cut right after a quoted name", QByteArray("0,1,0,1,\"a\""), -1, cut, "1:6");
        // "能" is 0x94 0x5C: the file ends inside a character.
        addRow("cut inside a two-byte character", three.left(three.indexOf(ansi("能")) + 1), -1,
               cut, "3:6");
        addRow("no end record", kRecord + kRecord, -1, noEnd, "3:1");
        addRow("empty file", QByteArray(), -1, noEnd, "1:1");
        addRow("region 256", record("0,256,0,1") + kEnd, -1, range, "1:2");
        addRow("negative region", record("0,-1,0,1") + kEnd, -1, range, "1:2");
        addRow("quest number 40000", record("0,1,0,40000") + kEnd, -1, range, "1:4");
        addRow("field 1 takes any 16-bit value",
               record("-32768,1,0,1") + record("32767,1,0,2") + kEnd, 2, none, "");
        addRow("field 1 beyond 16 bits", record("32768,1,0,1") + kEnd, -1, range, "1:1");
        addRow("text in a number", record("0,1,x,1") + kEnd, -1, nan, "1:3");
        addRow("blanks around numbers, region 0 too",
               record(" 0 , 1 ,\t0\t, 1 ") + record("0, 0 ,0,2") + kEnd, 2, none, "");
        addRow("regions 100 to 255 are quests, not the end record",
               record("0,100,0,1") + record("0,255,0,2") + kEnd, 2, none, "");
        addRow("region and quest number outside the table",
               record("0,0,0,7") + record("0,42,0,-3") + kEnd, 2, none, "");
        addRow("a record over two lines still reads nine fields",
               "0,1,0,1,\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n" + kEnd, 1, none, "");
        addRow("unquoted comma shifts the rest: the end record is never complete",
               "0,1,0,1,a,b,c,d,e,f\r\n" + kEnd, -1, nan, "1:1");
        addRow("LF line ends", QByteArray(three).replace("\r\n", "\n"), 3, none, "");
        addRow("CR line ends", QByteArray(three).replace("\r\n", "\r"), 3, none, "");
        addRow("UTF-8 text", "0,1,0,1,\"竜の巣\",\"村\",\"倒す\",\"剣\",\"\"\r\n" + kEnd, 1, none,
               "");
        addRow("NUL bytes", QByteArray("0,1,0,1,\"a\0b\",\"\0\",\"c\",\"d\",\"e\"\r\n", 31) + kEnd,
               1, none, "");
        addRow("a line of several megabytes",
               "0,1,0,1,\"a\",\"\",\"" + QByteArray(6 << 20, 'x') + "\",\"\",\"\"\r\n" + kEnd, 1,
               none, "");
        addRow("32766 records", full, kMaxQuests, none, "");
        addRow("32767 records", full.insert(full.lastIndexOf("0,99,"), kRecord), -1, many,
               "32767:2");
    }

    // Both readers: the program's, which decodes the texts after the names later, and the one
    // that decodes everything at once.
    void outcome()
    {
        QFETCH(QByteArray, bytes);
        for (const QuestDatabase &db :
             {parseQuestDatabase(bytes), parseQuestDatabaseNamesFirst(bytes)}) {
            QTEST(db.ok() ? int(db.table.count()) : -1, "quests");
            QTEST(db.ok() ? -1 : int(db.failure->error), "error");
            QTEST(db.ok() ? QString()
                          : QStringLiteral("%1:%2").arg(db.failure->line).arg(db.failure->field),
                  "at");
            // The room reserved for the texts while reading is given back: the buffer holds the
            // texts after the names and their ends, nothing more.
            if (!db.ok())
                continue;
            qsizetype kept = 0;
            for (int r = 1; r <= db.table.count(); ++r)
                for (const TextField f : {TextField::Client, TextField::Process, TextField::Reward1,
                                          TextField::Reward2})
                    kept += db.table.text(r, f).size() + 1;
            QCOMPARE(db.table.detailTexts()->texts().buffer().size(), kept);
        }
    }

    void fields_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("lastLine");
        // The trail byte 0x5C of ソ, 表 and 能 is part of the character, never a backslash.
        // Unquoted: leading blanks skipped, the comma splits the text. The escape is kept as
        // its two characters; the last field is empty.
        addRow("quoted and unquoted",
               "7,3,120,57," + ansi("\"ソ表能の剣\"") + "," + ansi("  港町, 酒場") + ","
                   + ansi("\"倒す。\\n戻る, 報告\"") + ",\r\n",
               QStringList{"ソ表能の剣", "港町", "酒場", "倒す。\\n戻る, 報告", ""}, 1);
        addRow("line ends inside quotes and between fields",
               QByteArray("7,3,120,57,\"a\",\"b\"\r\n\"c\r\nd\",\"e\n\",f\r\n"),
               QStringList{"a", "b", "c\r\nd", "e\n", "f"}, 4);
        // A quote inside an unquoted text is a character; two quotes are an empty text.
        addRow("quotes inside unquoted texts", QByteArray("7,3,120,57,x\",\"\",y\"\",\"z\"w,v\r\n"),
               QStringList{"x\"", "", "y\"\"", "z", "v"}, 1);
        addRow("text after a closing quote is dropped; a lone CR ends a line",
               QByteArray("7,3,120,57,\"a\"x,\"b\" ,\"c\"\r\"d\",\"e\"\r\n"),
               QStringList{"a", "b", "c", "d", "e"}, 2);
    }

    void fields()
    {
        QFETCH(QByteArray, record);
        QFETCH(QStringList, texts);
        QFETCH(int, lastLine);
        for (const QuestDatabase &db :
             {parseQuestDatabase(record + kEnd), parseQuestDatabaseNamesFirst(record + kEnd)}) {
            QVERIFY(db.ok());
            QCOMPARE(int(db.table.count()), 1);
            const QuestRecord &q = db.table.row(1);
            QCOMPARE(QList<int>({q.Region, q.ChainNo, q.QuestNo}), QList<int>({3, 120, 57}));
            QCOMPARE(QStringList({q.QuestName, q.Client, q.Process, q.Reward1, q.Reward2}), texts);
            for (const QString &t : {q.QuestName, q.Client, q.Process, q.Reward1, q.Reward2})
                QCOMPARE(t.constData()[t.size()], QChar(0)); // ended, as every QString is
            // The room reserved for names while reading is given back: the name and its end.
            QCOMPARE(db.table.names().buffer().size(), texts.front().size() + 1);
            QCOMPARE(db.table.names().textCount(), 1);
            QCOMPARE(db.sources.front().lastLine, lastLine);
            QCOMPARE(db.sources.back().firstLine, lastLine + 1); // the end record's
        }
    }

    // Each pair of bytes is compared with the converter below; these rows hold what the
    // converter alone does not show, and what the reader makes of such texts.
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        addRow("ASCII, backslash and tilde as themselves", QByteArray("a\\~\x1a"), "a\\~\x1a");
        addRow("wave dash of code page 932", QByteArray("\x81\x60"), "～");
        addRow("lead byte before a comma", QByteArray("\x81,"), "\uFFFD,");
        addRow("0x80 starts no character", QByteArray("\x80\x82\xa0"), "\uFFFDあ");
        addRow("unassigned double-byte code", QByteArray("\x85\x40"), "\uFFFD");
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeAnsi(bytes), text);
        // The reader reports a name holding such bytes, and only such a name.
        const QuestDatabase db = parseQuestDatabase("0,1,0,1,\"" + bytes + "\",,,,\r\n" + kEnd);
        QVERIFY(db.ok());
        const bool invalid = text.contains(QChar(0xFFFD));
        QCOMPARE(db.invalidTextFields, (std::vector<std::pair<int, int>>(invalid, {1, 5})));
    }

    // The decoder reads the code page from tables made once from the platform converter; every
    // byte and every two-byte sequence must decode as the converter decodes that one character,
    // with the program's rules around it: ASCII as itself, U+FFFD for a byte that starts no
    // character and for a code the page does not assign.
    void everyCodeAsTheConverterDecodesIt()
    {
        QStringDecoder converter("windows-31j", QStringConverter::Flag::Stateless);
        const auto one = [&](QByteArrayView character) {
            const QString c = converter(character);
            return c == QStringLiteral("\x1a") ? QString(QChar(0xFFFD)) : c;
        };
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
                const QByteArrayView bytes(pair, 2);
                const bool lead = (a >= 0x81 && a <= 0x9F) || (a >= 0xE0 && a <= 0xFC);
                const bool trail = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
                QString expected;
                if (lead && trail) {
                    expected = one(bytes);
                } else {
                    for (const char c : bytes) {
                        const auto u = static_cast<unsigned char>(c);
                        expected += u < 0x80                 ? QString(QChar(u))
                                    : u >= 0xA1 && u <= 0xDF ? one(QByteArrayView(&c, 1))
                                                             : QString(QChar(0xFFFD));
                    }
                }
                if (decodeAnsi(bytes) != expected)
                    QFAIL(qPrintable(QStringLiteral("%1 %2").arg(a, 2, 16).arg(b, 2, 16)));
                // The collation leaves the names unnormalized: that gives the normalized order
                // only as long as no character decomposes to a combining mark first.
                for (const QChar c : expected)
                    QVERIFY(
                        QString(c).normalized(QString::NormalizationForm_D).front().combiningClass()
                        == 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestQuestDatabase)
#include "tst_quest_database.moc"
