#include "StateChange.h"
#include "Statistics.h"

#include <QTest>

using namespace pelko;

class TestStatistics : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rate_data()
    {
        QTest::addColumn<int>("cleared");
        QTest::addColumn<int>("quests");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << 540 << "0";
        QTest::newRow("half") << 270 << 540 << "50";
        QTest::newRow("one decimal") << 1 << 8 << "12.5";
        QTest::newRow("a third") << 1 << 3 << "33.33";
        QTest::newRow("two thirds rounds up") << 2 << 3 << "66.67";
        QTest::newRow("exact half goes to even") << 1 << 32 << "3.12";
        QTest::newRow("all") << 540 << 540 << "100";
        QTest::newRow("largest database") << 1 << 32766 << "0";
        QTest::newRow("empty database") << 0 << 0 << "0";
    }

    void rate()
    {
        QFETCH(int, cleared);
        QFETCH(int, quests);
        QFETCH(QString, text);
        QCOMPARE(completionRateText(std::int16_t(cleared), std::int16_t(quests)), text);
        QCOMPARE(completionRateCaption(std::int16_t(cleared), std::int16_t(quests)),
                 QStringLiteral("クリア率： ") + text + QStringLiteral("％"));
    }

    void onlyClearedCounts()
    {
        ClearStatusTable t(6);
        t.set(1, 1);
        t.set(2, 2);
        t.set(3, 7);
        t.set(4, 1);
        QCOMPARE(int(countCompleted(t)), 2);
        QCOMPARE(completedCaption(2), QStringLiteral("コンプリート数： 2"));
    }

    void positionClamp()
    {
        QCOMPARE(clampListPosition(3, 10), 3);
        QCOMPARE(clampListPosition(3, 3), 2);
        QCOMPARE(clampListPosition(0, 1), 0);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
