#include "ClearStatus.h"
#include "QuestTable.h"

#include <QTest>

#include <map>

using namespace pelko;
using Entries = std::map<int, int>;
Q_DECLARE_METATYPE(Entries)

namespace {

ClearStatusTable tableOf(int size, const Entries &entries)
{
    ClearStatusTable t(static_cast<std::int16_t>(size));
    for (const auto &[n, v] : entries)
        t.set(n, static_cast<std::uint8_t>(v));
    return t;
}

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
        QTest::newRow("cleared and on hold")
            << 10 << Entries{{3, 1}, {10, 2}} << QByteArray("3,1\r\n10,2\r\n0,23\r\n");
        QTest::newRow("only quest 1 cleared")
            << 5 << Entries{{1, 1}} << QByteArray("1,1\r\n0,1\r\n");
        QTest::newRow("every entry 0") << 5 << Entries{} << QByteArray("0,0\r\n");
        QTest::newRow("foreign byte values are written back")
            << 3 << Entries{{2, 255}} << QByteArray("2,255\r\n0,510\r\n");
        QTest::newRow("checksum wraps at 10000") << 9000 << Entries{{6000, 1}, {8000, 1}}
                                                 << QByteArray("6000,1\r\n8000,1\r\n0,4000\r\n");
        // 16384 x 2 leaves 16 bits: the line is written but left out of the checksum.
        QTest::newRow("product overflows")
            << 16384 << Entries{{16384, 2}} << QByteArray("16384,2\r\n0,0\r\n");
        QTest::newRow("sum overflows") << 23000 << Entries{{9999, 1}, {23000, 1}}
                                       << QByteArray("9999,1\r\n23000,1\r\n0,9999\r\n");
    }

    void save()
    {
        QFETCH(int, quests);
        QFETCH(Entries, entries);
        QFETCH(QByteArray, bytes);
        const ClearStatusTable table = tableOf(quests, entries);
        QCOMPARE(serializeClearStatus(table), bytes);
        // What is written reads back unchanged and undamaged, overflowing lines included.
        const ClearStatusLoad back = parseClearStatus(bytes, static_cast<std::int16_t>(quests));
        QVERIFY(!back.damaged);
        QCOMPARE(entriesOf(back.table), entries);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("only the end line") << QByteArray("0,0\r\n") << Entries{} << false;
        QTest::newRow("empty file") << QByteArray() << Entries{} << true;
        QTest::newRow("wrong checksum: lines applied, damage reported")
            << QByteArray("3,1\r\n10,2\r\n0,24\r\n") << Entries{{3, 1}, {10, 2}} << true;
        QTest::newRow("no end line")
            << QByteArray("3,1\r\n10,2\r\n") << Entries{{3, 1}, {10, 2}} << true;
        QTest::newRow("quest number beyond the table is skipped")
            << QByteArray("3,1\r\n11,1\r\n0,14\r\n") << Entries{{3, 1}} << true;
        QTest::newRow("negative quest number")
            << QByteArray("-5,1\r\n3,1\r\n0,-2\r\n") << Entries{{3, 1}} << true;
        QTest::newRow("quest number beyond 16 bits ends the reading")
            << QByteArray("3,1\r\n40000,1\r\n4,1\r\n0,7\r\n") << Entries{{3, 1}} << true;
        QTest::newRow("value 300 is no byte")
            << QByteArray("3,300\r\n4,1\r\n0,904\r\n") << Entries{{4, 1}} << true;
        QTest::newRow("a line n,0 sets the entry to 0")
            << QByteArray("5,0\r\n0,0\r\n") << Entries{} << false;
        QTest::newRow("blanks around numbers, LF only")
            << QByteArray(" 3 , 1 \n 0 , 3 \n") << Entries{{3, 1}} << false;
        QTest::newRow("lines after the end line are not read")
            << QByteArray("3,1\r\n0,3\r\n4,1\r\n") << Entries{{3, 1}} << false;
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Entries, entries);
        QFETCH(bool, damaged);
        const ClearStatusLoad load = parseClearStatus(bytes, 10);
        QCOMPARE(load.damaged, damaged);
        QCOMPARE(entriesOf(load.table), entries);
        QCOMPARE(int(load.table.size()), 10);
    }

    // Read with a smaller table than the file was written for, then written again: the lines
    // above the table come back after the table's own, in the same checksum arithmetic.
    void beyondTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("kept in order") << QByteArray("3,1\r\n10,2\r\n12,1\r\n0,35\r\n")
                                       << QByteArray("3,1\r\n10,2\r\n12,1\r\n0,35\r\n");
        QTest::newRow("blanks and LF, written plainly")
            << QByteArray(" 7 , 1 \n0,7\n") << QByteArray("7,1\r\n0,7\r\n");
        QTest::newRow("the last line for a quest wins")
            << QByteArray("7,1\r\n7,2\r\n0,21\r\n") << QByteArray("7,2\r\n0,14\r\n");
        QTest::newRow("value 0 is not written")
            << QByteArray("7,1\r\n7,0\r\n0,7\r\n") << QByteArray("0,0\r\n");
        QTest::newRow("quest 0 or below and values beyond a byte are not kept")
            << QByteArray("-7,1\r\n8,256\r\n9,-1\r\n6,1\r\n0,0\r\n")
            << QByteArray("6,1\r\n0,6\r\n");
        QTest::newRow("overflowing line still left out of the checksum")
            << QByteArray("1,1\r\n16384,2\r\n0,1\r\n") << QByteArray("1,1\r\n16384,2\r\n0,1\r\n");
    }

    void beyondTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, written);
        const ClearStatusLoad small = parseClearStatus(bytes, 5);
        QVERIFY(small.damaged); // the message a smaller database gives is kept
        QCOMPARE(serializeClearStatus(small.table), written);
        // Back with the full database, the file is whole again.
        const ClearStatusLoad full = parseClearStatus(written, kMaxQuests);
        QVERIFY(!full.damaged);
        QCOMPARE(serializeClearStatus(full.table), written);
    }

    void overflowingLineDoesNotHideRealDamage()
    {
        // The overflowing line is no damage, but a wrong checksum of the other lines still is.
        const ClearStatusLoad load = parseClearStatus("16384,2\r\n3,1\r\n0,4\r\n", 16384);
        QVERIFY(load.damaged);
        QCOMPARE(*load.table.progressOf(16384), std::uint8_t{2});
    }
};

QTEST_GUILESS_MAIN(TestClearStatus)
#include "tst_clear_status.moc"
