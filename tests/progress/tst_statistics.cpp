// The completion rate's text, and the list position kept after a change.
#include "StateChange.h"
#include "Statistics.h"
#include "TestSupport.h"

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
        test::addRow("none", 0, 540, "0");
        test::addRow("half", 270, 540, "50");
        test::addRow("one decimal", 1, 8, "12.5");
        test::addRow("a third", 1, 3, "33.33");
        test::addRow("two thirds rounds up", 2, 3, "66.67");
        test::addRow("exact half goes to even", 1, 32, "3.12");
        test::addRow("all", 540, 540, "100");
        test::addRow("largest database", 1, 32766, "0");
        test::addRow("empty database", 0, 0, "0");
    }

    void rate()
    {
        QFETCH(int, cleared);
        QFETCH(int, quests);
        QFETCH(QString, text);
        QCOMPARE(completionRateCaption(std::int16_t(cleared), std::int16_t(quests)),
                 "クリア率： " + text + "％");
    }

    // The position a changed entry had, pulled back onto the list when the list got shorter.
    void positionClamp()
    {
        QCOMPARE(QList<int>(
                     {clampListPosition(3, 10), clampListPosition(3, 3), clampListPosition(0, 1)}),
                 QList<int>({3, 2, 0}));
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
