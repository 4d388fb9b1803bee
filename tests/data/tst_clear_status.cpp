// Reading and writing clr_stat.dat: the lines written for a table, its checksum with the 16-bit
// arithmetic of the files in use, what a damaged file still gives, and the lines kept for quests
// beyond a smaller database.
#include "ClearStatus.h"
#include "QuestTable.h"
#include "TestSupport.h"

#include <map>

using namespace pelko;
using pelko::test::addRow;
using Entries = std::map<int, int>;
Q_DECLARE_METATYPE(Entries)

namespace {

Entries entriesOf(const ClearStatusTable &t)
{
    Entries e;
    for (int n = 1; n <= t.size(); ++n) {
        if (const int v = *t.progressOf(n))
            e[n] = v;
    }
    return e;
}

} // namespace

class TestClearStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void save_data()
    {
        QTest::addColumn<int>("quests");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QByteArray>("bytes");
        addRow("cleared and on hold", 10, Entries{{3, 1}, {10, 2}},
               QByteArray("3,1\r\n10,2\r\n0,23\r\n"));
        addRow("only quest 1 cleared", 5, Entries{{1, 1}}, QByteArray("1,1\r\n0,1\r\n"));
        addRow("every entry 0", 5, Entries{}, QByteArray("0,0\r\n"));
        addRow("foreign byte values are written back", 3, Entries{{2, 255}},
               QByteArray("2,255\r\n0,510\r\n"));
        addRow("checksum wraps at 10000", 9000, Entries{{6000, 1}, {8000, 1}},
               QByteArray("6000,1\r\n8000,1\r\n0,4000\r\n"));
        // A line whose product or sum leaves 16 bits is written but left out of the checksum.
        addRow("product overflows", 16384, Entries{{16384, 2}}, QByteArray("16384,2\r\n0,0\r\n"));
        addRow("product 32767 still fits", 4681, Entries{{4681, 7}},
               QByteArray("4681,7\r\n0,2767\r\n"));
        addRow("sum overflows", 23000, Entries{{9999, 1}, {23000, 1}},
               QByteArray("9999,1\r\n23000,1\r\n0,9999\r\n"));
        addRow("sum 32767 still fits", 23000, Entries{{9999, 1}, {22768, 1}},
               QByteArray("9999,1\r\n22768,1\r\n0,2767\r\n"));
    }

    void save()
    {
        QFETCH(int, quests);
        QFETCH(Entries, entries);
        QFETCH(QByteArray, bytes);
        ClearStatusTable table{std::int16_t(quests)};
        for (const auto &[n, v] : entries)
            table.set(n, std::uint8_t(v));
        QCOMPARE(serializeClearStatus(table), bytes);
        // What is written reads back unchanged and undamaged, overflowing lines included.
        const ClearStatusLoad back = parseClearStatus(bytes, std::int16_t(quests));
        QVERIFY(!back.damaged);
        QCOMPARE(entriesOf(back.table), entries);
    }

    // Read for a table of 10 quests.
    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<bool>("damaged");
        addRow("only the end line", QByteArray("0,0\r\n"), Entries{}, false);
        addRow("empty file", QByteArray(), Entries{}, true);
        addRow("wrong checksum: lines applied, damage reported",
               QByteArray("3,1\r\n10,2\r\n0,24\r\n"), Entries{{3, 1}, {10, 2}}, true);
        addRow("no end line", QByteArray("3,1\r\n10,2\r\n"), Entries{{3, 1}, {10, 2}}, true);
        addRow("quest number beyond the table is skipped", QByteArray("3,1\r\n11,1\r\n0,14\r\n"),
               Entries{{3, 1}}, true);
        addRow("negative quest number", QByteArray("-5,1\r\n3,1\r\n0,-2\r\n"), Entries{{3, 1}},
               true);
        addRow("quest number beyond 16 bits ends the reading",
               QByteArray("3,1\r\n40000,1\r\n4,1\r\n0,7\r\n"), Entries{{3, 1}}, true);
        addRow("value 300 is no byte", QByteArray("3,300\r\n4,1\r\n0,904\r\n"), Entries{{4, 1}},
               true);
        addRow("a line n,0 sets the entry to 0", QByteArray("5,0\r\n0,0\r\n"), Entries{}, false);
        addRow("blanks around numbers, LF only", QByteArray(" 3 , 1 \n 0 , 3 \n"), Entries{{3, 1}},
               false);
        addRow("lines after the end line are not read", QByteArray("3,1\r\n0,3\r\n4,1\r\n"),
               Entries{{3, 1}}, false);
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        const ClearStatusLoad load = parseClearStatus(bytes, 10);
        QTEST(load.damaged, "damaged");
        QTEST(entriesOf(load.table), "entries");
        QCOMPARE(int(load.table.size()), 10);
    }

    // Read with a table of 5 quests, then written again: the lines above the table come back
    // after the table's own, in the same checksum arithmetic, and read whole with a full table.
    void beyondTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("written");
        addRow("kept in order", QByteArray("3,1\r\n10,2\r\n12,1\r\n0,35\r\n"),
               QByteArray("3,1\r\n10,2\r\n12,1\r\n0,35\r\n"));
        addRow("blanks and LF, written plainly", QByteArray(" 7 , 1 \n0,7\n"),
               QByteArray("7,1\r\n0,7\r\n"));
        addRow("the last line for a quest wins", QByteArray("7,1\r\n7,2\r\n0,21\r\n"),
               QByteArray("7,2\r\n0,14\r\n"));
        addRow("value 0 is not written", QByteArray("7,1\r\n7,0\r\n0,7\r\n"),
               QByteArray("0,0\r\n"));
        addRow("quest 0 or below and values beyond a byte are not kept",
               QByteArray("-7,1\r\n8,256\r\n9,-1\r\n6,1\r\n0,0\r\n"), QByteArray("6,1\r\n0,6\r\n"));
        addRow("overflowing line still left out of the checksum",
               QByteArray("1,1\r\n16384,2\r\n0,1\r\n"), QByteArray("1,1\r\n16384,2\r\n0,1\r\n"));
    }

    void beyondTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, written);
        const ClearStatusLoad small = parseClearStatus(bytes, 5);
        QVERIFY(small.damaged); // the message a smaller database gives is kept
        QCOMPARE(serializeClearStatus(small.table), written);
        const ClearStatusLoad full = parseClearStatus(written, kMaxQuests);
        QVERIFY(!full.damaged);
        QCOMPARE(serializeClearStatus(full.table), written);
        // The overflowing line is no damage, but a wrong checksum of the other lines still is.
        QVERIFY(parseClearStatus("16384,2\r\n3,1\r\n0,4\r\n", 16384).damaged);
    }
};

QTEST_GUILESS_MAIN(TestClearStatus)
#include "tst_clear_status.moc"
