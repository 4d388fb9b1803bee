#include "QuestCatalog.h"
#include "QuestDatabase.h"
#include "QuestDetail.h"
#include "QuestDatabaseGenerator.h"
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
        QTest::newRow("empty") << "" << "";
        QTest::newRow("no backslash") << "abc" << "abc";
        QTest::newRow("one escape") << "a\\nb" << "a\r\nb";
        QTest::newRow("two in a row") << "a\\n\\nb" << "a\r\n\r\nb";
        QTest::newRow("at the end") << "a\\n" << "a\r\n";
        QTest::newRow("at the start") << "\\na" << "\r\na";
        QTest::newRow("a backslash before an escape stays") << "\\\\n" << "\\\r\n";
        QTest::newRow("upper-case N is no escape") << "a\\Nb" << "a\\Nb";
        QTest::newRow("produced text is not searched again") << "\\\\nn" << "\\\r\nn";
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
            const auto at = std::upper_bound(inserted.begin(), inserted.end(), name,
                                             [](const QString &a, const QString &b) {
                                                 return compareQuestNames(a, b) < 0;
                                             });
            inserted.insert(at, name);
        }
        QCOMPARE(built, inserted);
        QVERIFY(built.removeDuplicates() > 0); // the table does hold repeated names
    }
};

QTEST_GUILESS_MAIN(TestBrowse)
#include "tst_browse.moc"
