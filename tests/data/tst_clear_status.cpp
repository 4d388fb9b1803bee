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
        const QByteArray same;
        addRow("cleared and on hold", 10, QByteArray("3,1\r\n10,2\r\n0,23\r\n"), false, same);
        addRow("only quest 1 cleared", 5, QByteArray("1,1\r\n0,1\r\n"), false, same);
        addRow("only the end line", 5, QByteArray("0,0\r\n"), false, same);
        addRow("foreign byte values are written back", 3, QByteArray("2,255\r\n0,510\r\n"), false,
               same);
        addRow("checksum wraps at 10000", 9000, QByteArray("6000,1\r\n8000,1\r\n0,4000\r\n"), false,
               same);
        addRow("a sum of exactly 10000 is 0", 9999, QByteArray("1,1\r\n9999,1\r\n0,0\r\n"), false,
               same);
        // A line whose product or sum leaves 16 bits is written but left out of the checksum.
        addRow("product overflows", 16384, QByteArray("16384,2\r\n0,0\r\n"), false, same);
        addRow("product 32767 still fits", 4681, QByteArray("4681,7\r\n0,2767\r\n"), false, same);
        addRow("sum overflows", 23000, QByteArray("9999,1\r\n23000,1\r\n0,9999\r\n"), false, same);
        addRow("sum 32767 still fits", 23000, QByteArray("9999,1\r\n22768,1\r\n0,2767\r\n"), false,
               same);
        addRow("an overflowing line does not hide a wrong checksum", 16384,
               QByteArray("16384,2\r\n3,1\r\n0,4\r\n"), true,
               QByteArray("3,1\r\n16384,2\r\n0,3\r\n"));
        addRow("empty file", 10, QByteArray(), true, QByteArray("0,0\r\n"));
        addRow("wrong checksum: lines applied", 10, QByteArray("3,1\r\n10,2\r\n0,24\r\n"), true,
               QByteArray("3,1\r\n10,2\r\n0,23\r\n"));
        addRow("no end line", 10, QByteArray("3,1\r\n10,2\r\n"), true,
               QByteArray("3,1\r\n10,2\r\n0,23\r\n"));
        addRow("negative quest number", 10, QByteArray("-5,1\r\n3,1\r\n0,-2\r\n"), true,
               QByteArray("3,1\r\n0,3\r\n"));
        addRow("quest number beyond 16 bits ends the reading", 10,
               QByteArray("3,1\r\n40000,1\r\n4,1\r\n0,7\r\n"), true, QByteArray("3,1\r\n0,3\r\n"));
        addRow("value 300 is no byte", 10, QByteArray("3,300\r\n4,1\r\n0,904\r\n"), true,
               QByteArray("4,1\r\n0,4\r\n"));
        addRow("a line n,0 sets the entry to 0", 10, QByteArray("3,1\r\n3,0\r\n0,3\r\n"), false,
               QByteArray("0,0\r\n"));
        addRow("blanks around numbers, LF only", 10, QByteArray(" 3 , 1 \n 0 , 3 \n"), false,
               QByteArray("3,1\r\n0,3\r\n"));
        addRow("lines after the end line are not read", 10, QByteArray("3,1\r\n0,3\r\n4,1\r\n"),
               false, QByteArray("3,1\r\n0,3\r\n"));
        // A smaller database: damage is reported, and the lines above the table are kept.
        addRow("the last quest and the one after it", 5, QByteArray("5,1\r\n6,1\r\n0,11\r\n"), true,
               same);
        addRow("beyond the table: kept in order", 5, QByteArray("3,1\r\n10,2\r\n12,1\r\n0,35\r\n"),
               true, same);
        addRow("beyond the table: blanks and LF, written plainly", 5, QByteArray(" 7 , 1 \n0,7\n"),
               true, QByteArray("7,1\r\n0,7\r\n"));
        addRow("beyond the table: the last line for a quest wins", 5,
               QByteArray("7,1\r\n7,2\r\n0,21\r\n"), true, QByteArray("7,2\r\n0,14\r\n"));
        addRow("beyond the table: value 0 is not written", 5, QByteArray("7,1\r\n7,0\r\n0,7\r\n"),
               true, QByteArray("0,0\r\n"));
        addRow("beyond the table: quest 0 or below and values beyond a byte are not kept", 5,
               QByteArray("-7,1\r\n8,256\r\n9,-1\r\n6,1\r\n0,0\r\n"), true,
               QByteArray("6,1\r\n0,6\r\n"));
        addRow("beyond the table: an overflowing line is left out of the checksum", 5,
               QByteArray("1,1\r\n16384,2\r\n0,1\r\n"), true, same);
    }

    void readAndWrite()
    {
        QFETCH(int, quests);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, written);
        const ClearStatusLoad load = parseClearStatus(bytes, std::int16_t(quests));
        QTEST(load.damaged, "damaged");
        QCOMPARE(int(load.table.size()), quests);
        if (written.isEmpty())
            written = bytes;
        QCOMPARE(serializeClearStatus(load.table), written);
        // What is written reads back undamaged and unchanged with a table of every quest.
        const ClearStatusLoad full = parseClearStatus(written, kMaxQuests);
        QVERIFY(!full.damaged);
        QCOMPARE(serializeClearStatus(full.table), written);
    }
};

QTEST_GUILESS_MAIN(TestClearStatus)
#include "tst_clear_status.moc"
