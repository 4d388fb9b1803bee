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
    void convertLineBreaks_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no backslash") << "abc"
                                      << "abc";
        QTest::newRow("one escape") << "a\\nb"
                                    << "a\r\nb";
        QTest::newRow("two in a row") << "a\\n\\nb"
                                      << "a\r\n\r\nb";
        QTest::newRow("at the end") << "a\\n"
                                    << "a\r\n";
        QTest::newRow("at the start") << "\\na"
                                      << "\r\na";
        QTest::newRow("a backslash before an escape stays") << "\\\\n"
                                                            << "\\\r\n";
        QTest::newRow("upper-case N is no escape") << "a\\Nb"
                                                   << "a\\Nb";
        QTest::newRow("produced text is not searched again") << "\\\\nn"
                                                             << "\\\r\nn";
    }

    void convertLineBreaks()
    {
        QFETCH(QString, source);
        QFETCH(QString, shown);
        QCOMPARE(ConvertLineBreaks(source), shown);
    }

    // The flat list must equal what a sorted list control builds by inserting one name at a
    // time after its equals; checked on a generated table with repeated names.
    void flatOrderEqualsSortedInsertion()
    {
        QuestDatabase db = parseQuestDatabase(sample::generateQuestDatabase(3000, 7));
        QVERIFY(db.ok());
        const QuestCatalog catalog(std::move(db.table));
        const ClearStatusTable status(catalog.table().count());
        const QuestFilter filter(catalog.table(), status, {kAllRegions, 0});
        QuestListBuilder builder(catalog, filter, ListPresentation::Flat);
        builder.addAllRows();
        QStringList built;
        for (const ListEntry &e : builder.takeEntries())
            built << entryText(catalog.table(), e);

        QStringList inserted;
        for (int r = 1; r <= catalog.table().count(); ++r) {
            const QString &name = catalog.table().row(r).QuestName;
            const auto at = std::upper_bound(
                inserted.begin(), inserted.end(), name,
                [](const QString &a, const QString &b) { return compareQuestNames(a, b) < 0; });
            inserted.insert(at, name);
        }
        QCOMPARE(built, inserted);
        QVERIFY(built.removeDuplicates() > 0); // the table does hold repeated names
    }

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
