#include "KeywordSearch.h"
#include "QuestCatalog.h"
#include "QuestDatabase.h"
#include "QuestDatabaseGenerator.h"
#include "QuestDetail.h"
#include "QuestListBuilder.h"

#include <QTest>

#include <algorithm>

using namespace pelko;

class TestBrowse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The search scans one buffer of every text; it must find exactly the rows that searching
    // each row's three fields on its own finds, also where the buffer joins two texts.
    void searchFindsWhatEachRowHolds_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<int>("expectedRows"); // -1: no fixed count
        QTest::newRow("common reward") << QStringLiteral("ポーション") << -1;
        QTest::newRow("rare reward") << QStringLiteral("虹色の羽根") << -1;
        QTest::newRow("one common character") << QStringLiteral("の") << -1;
        QTest::newRow("the line-break escape") << QStringLiteral("\\n") << -1;
        QTest::newRow("only in client texts") << QStringLiteral("？？？") << 0;
        QTest::newRow("empty: every row") << QString() << 4 + 3000;
        QTest::newRow("end of a name, start of the client") << QStringLiteral("A\0B") << 0;
        QTest::newRow("a name holding U+0000") << QStringLiteral("x\0y") << 1;
        QTest::newRow("end of a reward, across an empty one, into the next name")
            << QStringLiteral("D\0\0E") << 0;
        QTest::newRow("a whole reward") << QStringLiteral("D") << 1;
        QTest::newRow("longer than every text") << QString(400, QChar(u'の')) << 0;
    }

    void searchFindsWhatEachRowHolds()
    {
        QFETCH(QString, keyword);
        QFETCH(int, expectedRows);
        // Four rows whose texts meet at the buffer's joins, then a generated table.
        std::vector<QuestRecord> rows{
            {1, 0, 1, QStringLiteral("A"), QStringLiteral("B"), QString(), QStringLiteral("C"), {}},
            {1, 0, 2, QStringLiteral("x\0y"), {}, {}, QStringLiteral("D"), {}},
            {1, 0, 3, QStringLiteral("E"), {}, {}, {}, {}},
            {1, 0, 4, QString(), {}, {}, {}, QStringLiteral("A")},
        };
        rows[1].QuestName[1] = QChar(0);
        QuestDatabase db = parseQuestDatabase(sample::generateQuestDatabase(3000, 7));
        QVERIFY(db.ok());
        for (int r = 1; r <= db.table.count(); ++r)
            rows.push_back(db.table.row(r));
        const QuestTable table(std::move(rows), QuestRecord{});

        const std::vector<bool> found = rowsContainingKeyword(table, keyword);
        QCOMPARE(int(found.size()), table.count() + 1);
        int count = 0;
        for (int r = 1; r <= table.count(); ++r) {
            if (found[std::size_t(r)] != rowContainsKeyword(table.row(r), keyword))
                QFAIL(qPrintable(QStringLiteral("row %1").arg(r)));
            count += found[std::size_t(r)];
        }
        if (expectedRows >= 0)
            QCOMPARE(count, expectedRows);
        else
            QVERIFY(count > 0);
    }
};

QTEST_GUILESS_MAIN(TestBrowse)
#include "tst_browse.moc"
