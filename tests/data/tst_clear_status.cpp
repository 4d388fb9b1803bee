// Reading and writing clr_stat.dat: the lines written for a table, its checksum with the 16-bit
// arithmetic of the files in use, what a damaged file still gives, and the lines kept for quests
// beyond a smaller database.
#include "ClearStatus.h"
#include "QuestTable.h"
#include "TestSupport.h"

using namespace pelko;
using pelko::test::addRow;

class TestClearStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // bytes: read for a table of `quests` quests; damaged: whether the reading reports damage;
    // written: what the table read is written as (empty: the bytes read). Lines for quests above
    // the table come back after the table's own, in the same checksum arithmetic.
    void readAndWrite_data()
    {
        QTest::addColumn<int>("quests");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QByteArray>("written");
        const auto row = [](const char *name, int quests, const char *bytes, bool damaged,
                            const char *written = nullptr) {
            addRow(name, quests, QByteArray(bytes), damaged, QByteArray(written ? written : bytes));
        };
        const char *held = "3,1\r\n10,2\r\n0,23\r\n", *three = "3,1\r\n0,3\r\n";
        row("cleared and on hold", 10, held, false);
        row("foreign byte values are written back", 3, "2,255\r\n0,510\r\n", false);
        row("checksum wraps at 10000", 9000, "6000,1\r\n8000,1\r\n0,4000\r\n", false);
        row("a sum of exactly 10000 is 0", 9999, "1,1\r\n9999,1\r\n0,0\r\n", false);
        // A line whose product or sum leaves 16 bits is written but left out of the checksum.
        row("product overflows", 16384, "16384,2\r\n0,0\r\n", false);
        row("product 32767 still fits", 4681, "4681,7\r\n0,2767\r\n", false);
        row("sum overflows", 23000, "9999,1\r\n23000,1\r\n0,9999\r\n", false);
        row("sum 32767 still fits", 23000, "9999,1\r\n22768,1\r\n0,2767\r\n", false);
        row("overflow, bad sum", 16384, "16384,2\r\n3,1\r\n0,4\r\n", true,
            "3,1\r\n16384,2\r\n0,3\r\n");
        row("empty file", 10, "", true, "0,0\r\n");
        row("wrong checksum: lines applied", 10, "3,1\r\n10,2\r\n0,24\r\n", true, held);
        row("no end line", 10, "3,1\r\n10,2\r\n", true, held);
        row("negative quest number", 10, "-5,1\r\n3,1\r\n0,-2\r\n", true, three);
        row("quest 40000 ends the reading", 10, "3,1\r\n40000,1\r\n4,1\r\n0,7\r\n", true, three);
        row("value 300 is no byte", 10, "3,300\r\n4,1\r\n0,904\r\n", true, "4,1\r\n0,4\r\n");
        row("a line n,0 sets the entry to 0", 10, "3,1\r\n3,0\r\n0,3\r\n", false, "0,0\r\n");
        row("blanks around numbers, LF only", 10, " 3 , 1 \n 0 , 3 \n", false, three);
        row("nothing after the end line is read", 10, "3,1\r\n0,3\r\n4,1\r\n  ", false, three);
        // A smaller database: damage is reported, and the lines above the table are kept.
        row("the last quest and the one after it", 5, "5,1\r\n6,1\r\n0,11\r\n", true);
        row("beyond: kept in order", 5, "3,1\r\n10,2\r\n12,1\r\n0,35\r\n", true);
        row("beyond: the last line wins", 5, "7,1\r\n7,2\r\n0,21\r\n", true, "7,2\r\n0,14\r\n");
        row("beyond: value 0 not written", 5, "7,1\r\n7,0\r\n0,7\r\n", true, "0,0\r\n");
        row("beyond: no quest 0 or below, no value over a byte", 5,
            "-7,1\r\n8,256\r\n9,-1\r\n6,1\r\n0,0\r\n", true, "6,1\r\n0,6\r\n");
        row("beyond: overflow out of the sum", 5, "1,1\r\n16384,2\r\n0,1\r\n", true);
    }

    void readAndWrite()
    {
        QFETCH(int, quests);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, written);
        const ClearStatusLoad load = parseClearStatus(bytes, std::int16_t(quests));
        QTEST(load.damaged, "damaged");
        QCOMPARE(int(load.table.size()), quests);
        QCOMPARE(serializeClearStatus(load.table), written);
        // What is written reads back undamaged and unchanged with a table of every quest.
        const ClearStatusLoad full = parseClearStatus(written, kMaxQuests);
        QVERIFY(!full.damaged);
        QCOMPARE(serializeClearStatus(full.table), written);
    }
};

QTEST_GUILESS_MAIN(TestClearStatus)
#include "tst_clear_status.moc"
