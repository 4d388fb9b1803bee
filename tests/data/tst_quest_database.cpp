#include "DatabaseBuilder.h"
#include "QuestDatabase.h"
#include "ShiftJis.h"

#include <QTest>

using namespace pelko;
using pelko::test::ansi;

namespace {
const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
const QByteArray kRecord = "0,3,120,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";
} // namespace

Q_DECLARE_METATYPE(std::optional<pelko::DatabaseError>)

class TestQuestDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void outcome_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("quests"); // -1: refused
        QTest::addColumn<int>("error");
        const int none = -1;
        const auto e = [](DatabaseError err) { return static_cast<int>(err); };
        QTest::newRow("N records and the end record") << kRecord + kRecord + kEnd << 2 << none;
        QTest::newRow("end record only: an empty database") << kEnd << 0 << none;
        QTest::newRow("lines after the end record are never read")
            << kRecord + kEnd + "garbage\"\r\n,,,\r\n" << 1 << none;
        QTest::newRow("end record short of nine fields at the end")
            << kRecord + "0,99,0,0,\"\"\r\n" << -1 << e(DatabaseError::CutShort);
        QTest::newRow("no end record") << kRecord + kRecord << -1 << e(DatabaseError::NoEndRecord);
        QTest::newRow("empty file") << QByteArray() << -1 << e(DatabaseError::NoEndRecord);
        QTest::newRow("region 256") << "0,256,0,1,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd << -1
                                    << e(DatabaseError::OutOfRange);
        QTest::newRow("negative region") << "0,-1,0,1,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd << -1
                                         << e(DatabaseError::OutOfRange);
        QTest::newRow("quest number 40000") << "0,1,0,40000,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd
                                            << -1 << e(DatabaseError::OutOfRange);
        QTest::newRow("field 1 takes any 16-bit value")
            << "-32768,1,0,1,\"a\",\"\",\"\",\"\",\"\"\r\n32767,1,0,2,\"b\",\"\",\"\",\"\",\"\"\r\n"
                   + kEnd
            << 2 << none;
        QTest::newRow("field 1 beyond 16 bits") << "32768,1,0,1,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd
                                                << -1 << e(DatabaseError::OutOfRange);
        QTest::newRow("text in a number") << "0,1,x,1,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd << -1
                                          << e(DatabaseError::NotANumber);
        QTest::newRow("blanks around numbers") << " 0 , 1 ,\t0\t, 1 ,\"a\",\"\",\"\",\"\",\"\"\r\n" + kEnd
                                               << 1 << none;
        QTest::newRow("a record spread over two lines still reads nine fields")
            << "0,1,0,1,\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n" + kEnd << 1 << none;
        QTest::newRow("regions 100 to 255 are quests, not the end record")
            << "0,100,0,1,\"a\",,,,\r\n0,255,0,2,\"b\",,,,\r\n" + kEnd << 2 << none;
        QTest::newRow("unquoted comma shifts the rest: the end record is never complete")
            << "0,1,0,1,a,b,c,d,e,f\r\n" + kEnd << -1 << e(DatabaseError::NotANumber);
    }

    void outcome()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, quests);
        QFETCH(int, error);
        const QuestDatabase db = parseQuestDatabase(bytes);
        QCOMPARE(db.ok(), quests >= 0);
        if (db.ok()) {
            QCOMPARE(int(db.table.count()), quests);
            QCOMPARE(int(db.table.endRecord().Region), 99);
        } else {
            QCOMPARE(int(db.failure->error), error);
        }
    }

    void tooManyQuests()
    {
        QByteArray bytes;
        for (int i = 0; i < kMaxQuests; ++i)
            bytes += kRecord;
        QCOMPARE(int(parseQuestDatabase(bytes + kEnd).table.count()), kMaxQuests);
        const QuestDatabase over = parseQuestDatabase(bytes + kRecord + kEnd);
        QVERIFY(!over.ok());
        QCOMPARE(over.failure->error, DatabaseError::TooManyQuests);
        QCOMPARE(over.failure->line, kMaxQuests + 1);
    }

    void fields()
    {
        const QByteArray line = "7,3,120,57," + ansi(QStringLiteral("\"ソ表能の剣\"")) + ","
                                + ansi(QStringLiteral("  港町, 酒場")) + ","
                                + ansi(QStringLiteral("\"倒す。\\n戻る, 報告\"")) + ",\r\n";
        const QuestDatabase db = parseQuestDatabase(line + kEnd);
        QVERIFY(db.ok());
        QCOMPARE(int(db.table.count()), 1);
        const QuestRecord &q = db.table.row(1);
        QCOMPARE(int(q.Region), 3);
        QCOMPARE(int(q.ChainNo), 120);
        QCOMPARE(int(q.QuestNo), 57);
        // The trail byte 0x5C of ソ, 表 and 能 is part of the character, never a backslash.
        QCOMPARE(q.QuestName, QStringLiteral("ソ表能の剣"));
        // Unquoted: leading blanks skipped, the comma splits the text.
        QCOMPARE(q.Client, QStringLiteral("港町"));
        QCOMPARE(q.Process, QStringLiteral("酒場"));
        QCOMPARE(q.Reward1, QStringLiteral("倒す。\\n戻る, 報告"));
        QCOMPARE(q.Reward2, QString()); // an empty last field
        // The escape is kept as its two characters.
        QVERIFY(q.Reward1.contains(QStringLiteral("\\n")));
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII, backslash and tilde as themselves") << QByteArray("a\\~\x1a") << QStringLiteral("a\\~\x1a");
        QTest::newRow("wave dash of code page 932") << QByteArray("\x81\x60") << QStringLiteral("～");
        QTest::newRow("half-width katakana, both range ends")
            << QByteArray("\xa1\xb1\xdd\xdf") << QStringLiteral("｡ｱﾝﾟ");
        QTest::newRow("lone lead byte at the end") << QByteArray("a\x81") << QStringLiteral("a\uFFFD");
        QTest::newRow("lead byte before a comma") << QByteArray("\x81,") << QStringLiteral("\uFFFD,");
        QTest::newRow("0x80 starts no character") << QByteArray("\x80\x82\xa0") << QStringLiteral("\uFFFDあ");
        QTest::newRow("bytes that start no character") << QByteArray("\x80\xa0\xfd")
                                                       << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        QTest::newRow("unassigned double-byte code") << QByteArray("\x85\x40") << QStringLiteral("\uFFFD");
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeAnsi(bytes), text);
        // The reader reports a name holding such bytes, and only such a name.
        const QuestDatabase db = parseQuestDatabase("0,1,0,1,\"" + bytes + "\",,,,\r\n" + kEnd);
        QVERIFY(db.ok());
        QCOMPARE(db.invalidTextFields.size(), std::size_t(text.contains(QChar(0xFFFD)) ? 1 : 0));
        if (!db.invalidTextFields.empty())
            QCOMPARE(db.invalidTextFields.front(), std::make_pair(1, 5));
    }
};

QTEST_GUILESS_MAIN(TestQuestDatabase)
#include "tst_quest_database.moc"
