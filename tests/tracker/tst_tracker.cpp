// The program's behaviour below the window: lists, search, details, progress changes and
// settings, through QuestTracker over real files in a temporary folder; the completion rate's
// text and the list position kept after a change. (The notices after loading are tested
// through the real start-up in tst_damaged_inputs.)
#include "KeywordSearch.h"
#include "QuestDatabase.h"
#include "QuestDatabaseGenerator.h"
#include "QuestTracker.h"
#include "StateChange.h"
#include "Statistics.h"
#include "TestSupport.h"
#include "Texts.h"

#include <QDir>
#include <QTest>

#include <algorithm>

using namespace pelko;
using namespace pelko::test;

namespace {

const FilterSelection kAll{kAllRegions, 0};

// A tracker loaded over a fresh folder holding the quests and, unless left out, a progress file.
struct Loaded : WorkDir {
    explicit Loaded(const std::vector<Quest> &quests,
                    const std::optional<QByteArray> &progress = QByteArray("0,0\r\n"),
                    const std::optional<QByteArray> &ini = std::nullopt)
    {
        write("Pelko.dat", databaseBytes(quests));
        if (progress)
            write("clr_stat.dat", *progress);
        if (ini)
            write("Pelko.ini", *ini);
        tracker.LoadQuestData();
        tracker.LoadClearStatus();
    }
    QStringList texts(const QuestList &list) const
    {
        QStringList out;
        for (const ListEntry &e : list)
            out << tracker.entryText(e);
        return out;
    }
    QStringList list(FilterSelection filter = kAll, bool tree = false) const
    {
        return texts(tracker.listFor({filter, tree}));
    }

    QuestTracker tracker{path()};
};

// Entries written short: "├" and "└" stand for the tree marks "　├" and "　└".
QStringList entries(const QString &shortForm)
{
    QStringList out = shortForm.split(u' ', Qt::SkipEmptyParts);
    return out.replaceInStrings("├", "　├").replaceInStrings("└", "　└");
}

} // namespace

class TestTracker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Quests Z, Y, X ... in row order with the given chain numbers; progress: rows cleared, with
    // the filter "やっていない". The flat list holds the same quests, sorted, without marks.
    void tree_data()
    {
        QTest::addColumn<QList<int>>("chainNos");
        QTest::addColumn<QByteArray>("progress");
        QTest::addColumn<QString>("tree");
        const auto row = [](const char *name, QList<int> chainNos, const char *progress,
                            const char *tree) {
            addRow(name, chainNos, QByteArray(progress), QString(tree));
        };
        const QList<int> example{0, 110, 111, 112, 120, 121, 0};
        row("every row listed", example, "0,0\r\n", "Z Y ├X └W V └U T");
        row("head of the chain rejected", example, "2,1\r\n0,2\r\n", "Z X └W V └U T");
        row("the next chain rejected", example, "5,1\r\n6,1\r\n0,11\r\n", "Z Y ├X └W T");
        row("two chains of one group meet across a rejected row", {150, 151, 0, 155, 156},
            "3,1\r\n0,3\r\n", "Z ├Y ├W └V");
        row("a chain split by another chain forms two runs", {110, 111, 120, 112}, "0,0\r\n",
            "Z └Y X W");
        row("ChainNo 1 to 9 has group 0", {3, 0, 5}, "0,0\r\n", "├Z Y └X");
        row("ChainNo -9 to -1 has group 0", {0, -5, 120}, "0,0\r\n", "Z └Y X");
        row("follow-on looks past many rejected rows", {200, 201, 0, 0, 0, 0, 202},
            "3,1\r\n4,1\r\n5,1\r\n6,1\r\n0,18\r\n", "Z ├Y └T");
        row("nothing listed", {110, 111}, "1,1\r\n2,1\r\n0,3\r\n", "");
    }

    void tree()
    {
        QFETCH(QList<int>, chainNos);
        QFETCH(QByteArray, progress);
        QFETCH(QString, tree);
        std::vector<Quest> quests;
        for (int i = 0; i < chainNos.size(); ++i)
            quests.push_back({1, chainNos[i], 0, QString(QChar(u'Z' - i))});
        Loaded t(quests, progress);
        QCOMPARE(t.list({kAllRegions, 1}, true), entries(tree));
        QStringList flat = entries(tree.remove("├").remove("└"));
        flat.sort();
        QCOMPARE(t.list({kAllRegions, 1}), flat);
    }

    void filters()
    {
        // Regions その他, a code without a name, two codes outside the table, region 1 and a code
        // above the end record's 99; quest D's number has no progress entry (counts as not done).
        std::vector<Quest> quests = namedQuests({"A", "B", "C", "D", "E", "F"});
        const int regions[] = {20, 8, 0, 42, 1, 150};
        for (int i = 0; i < 6; ++i)
            quests[i].region = regions[i];
        quests[3].questNo = 99;
        Loaded t(quests, "2,1\r\n3,2\r\n0,8\r\n");
        for (const RegionItem &item : regionSelectorItems()) {
            const QString expected = item.region == kAllRegions ? "A B C D E F"
                                     : item.region == 20        ? "A"
                                     : item.region == 1         ? "E"
                                                                : "";
            QCOMPARE(t.list({item.region, 0}), entries(expected));
        }
        QCOMPARE(t.list({kNoRegionChosen, 0}), QStringList{});
        const char *byState[] = {"", "A B C D E F", "A D E F", "B", "C"};
        for (int item = -1; item < 4; ++item)
            QCOMPARE(t.list({kAllRegions, item}), entries(byState[item + 1]));
    }

    void equalNamesKeepFileOrder()
    {
        // Each entry carries its own row: equal names stand together, in file order, and each
        // shows its own quest. An empty name comes first, before one the collation ignores.
        std::vector<Quest> quests = namedQuests({"B", "A", "B", "A", "　├A", "\x01", ""});
        quests[0].client = "first";
        quests[2].client = "third";
        Loaded t(quests);
        std::vector<int> rows;
        for (const ListEntry &e : t.tracker.listFor({kAll, false}))
            rows.push_back(e.row);
        QCOMPARE(rows, (std::vector<int>{7, 6, 5, 2, 4, 1, 3}));
        QCOMPARE(t.tracker.detailOf(1)->client, "first");
        QCOMPARE(t.tracker.detailOf(3)->client, "third");
        QVERIFY(!t.tracker.detailOf(0) && !t.tracker.detailOf(8));
    }

    // The flat list equals what a sorted list control builds by inserting one name at a time
    // after its equals, in Japanese collation; checked on a generated table with repeated names.
    void flatOrderEqualsSortedInsertion()
    {
        Loaded t({});
        t.write("Pelko.dat", sample::generateQuestDatabase(3000, 7));
        QVERIFY(t.tracker.LoadQuestData());
        QStringList inserted;
        for (int r = 1; r <= t.tracker.intNumberOfContents(); ++r) {
            const QString &name = t.tracker.questTable().row(r).QuestName;
            inserted.insert(std::upper_bound(inserted.begin(), inserted.end(), name,
                                             [](const QString &a, const QString &b) {
                                                 return compareQuestNames(a, b) < 0;
                                             }),
                            name);
        }
        QStringList built = t.list();
        QCOMPARE(built, inserted);
        QVERIFY(built.removeDuplicates() > 0);           // the table does hold repeated names
        QCOMPARE_LT(compareQuestNames("薬草", "竜"), 0); // by reading, not by code unit
    }

    // The program starts reading the database before it builds its window and takes the load
    // where it has always read the file: the same order as a catalog made in one go, the same
    // refusal of a damaged or missing file, and a load never taken ends with its tracker.
    void startedLoad_data()
    {
        QTest::addColumn<int>("damagedLine"); // 0: none; -1: no file at all
        QTest::addColumn<bool>("taken");
        addRow("valid, several pieces", 0, true);
        addRow("damaged after several pieces", 5000, true);
        addRow("no file", -1, true);
        addRow("never taken", 0, false);
    }

    void startedLoad()
    {
        QFETCH(int, damagedLine);
        QFETCH(bool, taken);
        WorkDir dir;
        QByteArray db = sample::generateQuestDatabase(6000, 3);
        if (damagedLine > 0) {
            QList<QByteArray> lines = db.split('\n');
            lines[damagedLine].prepend('x');
            db = lines.join('\n');
        }
        if (damagedLine >= 0)
            dir.write("Pelko.dat", db);
        QuestTracker started(dir.path(), QuestTracker::startLoading(dir.path()));
        QCOMPARE(started.intNumberOfContents(), 0); // nothing is taken before LoadQuestData
        if (!taken)
            return;
        QCOMPARE(started.LoadQuestData(), damagedLine == 0);
        if (damagedLine != 0)
            return;
        std::vector<std::int16_t> listed;
        for (const ListEntry &e : started.listFor({kAll, false}))
            listed.push_back(e.row);
        QCOMPARE(listed, QuestCatalog(parseQuestDatabase(db).table).sortedRows());
    }

    void search_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("found");
        addRow("name", "竜", "竜の巣");
        addRow("content and reward, listed once", "ポーション", "薬草集め 竜の巣");
        addRow("client and replay reward are not searched", "港町", "");
        addRow("upper case differs", "SWORD", "");
        addRow("full width differs", "ｓｗｏｒｄ", "");
        addRow("hiragana differs from katakana", "ぽーしょん", "");
        addRow("blanks are part of the keyword", " sword", "");
        addRow("the escape is searched as two characters", "\\n", "竜の巣");
        addRow("no match across a line break", "倒す戻る", "");
        addRow("at a field's end", "材料", "薬草集め");
        addRow("within the selectors", "剣", "剣A");
        // The texts stand in one buffer: a match never runs from one text into the next.
        addRow("end of a name, start of the client", QStringLiteral("A\0B"), "");
        addRow("a name holding U+0000", QStringLiteral("x\0y"), QStringLiteral("x\0y"));
        addRow("end of a reward, across an empty one, into the next name", QStringLiteral("D\0\0E"),
               "");
        addRow("a whole reward", "D", QStringLiteral("x\0y"));
        addRow("longer than every text", QString(400, QChar(u'の')), "");
        addRow("no keyword: every row", "", "*");
    }

    void search()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, found);
        std::vector<Quest> quests =
            namedQuests({"竜の巣", "薬草集め", "港の手紙", "剣B", "剣A", "剣C"});
        quests[0].process = "竜を倒す\\n戻る";
        quests[0].reward1 = "ポーション,sword";
        quests[1].process = "ポーションの材料";
        quests[1].reward1 = "ポーション";
        quests[2].client = "港町";
        quests[2].reward2 = "SWORD ポーションと港町";
        quests[3].region = 2;
        quests.push_back({1, 0, 0, "A", "B", "", "C"});
        quests.push_back({1, 0, 0, QStringLiteral("x\0y"), "", "", "D"});
        quests.push_back({1, 0, 0, "E"});
        quests.push_back({1, 0, 0, "", "", "", "", "A"});
        Loaded t(quests, "6,1\r\n0,6\r\n");
        if (found != "*")
            QCOMPARE(t.texts(t.tracker.searchFor(keyword, {1, 1})), entries(found));
        // The search scans one buffer of every text; it finds exactly the rows that searching
        // each row's three fields on its own finds, here and in a generated table.
        const QuestDatabase generated = parseQuestDatabase(sample::generateQuestDatabase(3000, 7));
        for (const QuestTable *table : {&t.tracker.questTable(), &generated.table}) {
            const std::vector<bool> rows = rowsContainingKeyword(*table, keyword);
            QCOMPARE(int(rows.size()), table->count() + 1);
            for (int r = 1; r <= table->count(); ++r)
                QCOMPARE(rows[std::size_t(r)], rowContainsKeyword(table->row(r), keyword));
        }
    }

    void detail()
    {
        std::vector<Quest> quests = namedQuests({"A", "B", "C"});
        quests[0].client = "村\\n長";
        quests[0].process = "a\\nb\\\\nc\\N\\n\\nd\\\\nn";
        quests[0].reward1 = "\\n報酬";
        quests[0].reward2 = "再\\n";
        quests[2].questNo = 500; // no progress entry: shown, but not changeable
        Loaded t(quests, "1,1\r\n2,7\r\n0,15\r\n");
        const QuestDetail d = *t.tracker.detailOf(1);
        QCOMPARE(
            QStringList({d.client, d.process, d.reward1, d.reward2}),
            QStringList({"村\\n長", "a\r\nb\\\r\nc\\N\r\n\r\nd\\\r\nn", "\r\n報酬", "再\r\n"}));
        QCOMPARE(d.option, std::optional<int>(1));
        QVERIFY(d.changeable);
        // A stored value that is no state selects no option; a missing entry allows no change.
        QCOMPARE(t.tracker.detailOf(2)->option, std::nullopt);
        QVERIFY(t.tracker.detailOf(2)->changeable);
        QVERIFY(!t.tracker.detailOf(3)->changeable);
        QCOMPARE(t.tracker.storedProgress(3), std::nullopt);
    }

    void changeProgress()
    {
        // Quest 9's line, left by a larger database, stays in the file.
        Loaded t(namedQuests({"A", "B", "C", "D", "E", "F", "G", "H"}), "9,2\r\n0,18\r\n");
        struct Move {
            int row, to;
            QByteArray file;
            const char *completed, *rate;
        };
        const Move moves[] = {
            {4, 2, "4,2\r\n9,2\r\n0,26\r\n", "0", "0"},    // not done to on hold
            {4, 0, "9,2\r\n0,18\r\n", "0", "0"},           // and back
            {3, 1, "3,1\r\n9,2\r\n0,21\r\n", "1", "12.5"}, // cleared: one more
            {1, 1, "1,1\r\n3,1\r\n9,2\r\n0,22\r\n", "2", "25"},
            {3, 2, "1,1\r\n3,2\r\n9,2\r\n0,25\r\n", "1", "12.5"}, // cleared to on hold
        };
        for (const Move &m : moves) {
            QVERIFY(t.tracker.changeProgress(m.row, m.to));
            QCOMPARE(t.file("clr_stat.dat"), m.file);
            const ProgressStatistics s = t.tracker.UpdateStatistics();
            QCOMPARE(s.completedCaption, QStringLiteral("コンプリート数： ") + m.completed);
            QCOMPARE(s.rateCaption, QStringLiteral("クリア率： %1％").arg(m.rate));
            QCOMPARE(t.tracker.storedProgress(m.row), std::optional<std::uint8_t>(m.to));
        }
        QCOMPARE(t.list({kAllRegions, 3}), QStringList{"C"});
        QCOMPARE(t.tracker.confirmationPrompt(3, 1),
                 "「C」の\r\nクリア状況を「コンプリート」に変更します。\r\nよろしいですか？");
        // A failed save: the change stands in memory, and nothing is left in the folder.
        QVERIFY(QFile::remove(t.filePath("clr_stat.dat")) && QDir(t.path()).mkdir("clr_stat.dat"));
        QVERIFY(!t.tracker.changeProgress(2, 1));
        QCOMPARE(t.tracker.storedProgress(2), std::optional<std::uint8_t>(1));
        QCOMPARE(t.entries(), QStringList({"Pelko.dat", "clr_stat.dat"}));
    }

    // Each value is judged on its own: one that names no item or box state is its default;
    // reading stops at the first value that is no 16-bit number.
    void settings_data()
    {
        QTest::addColumn<QByteArray>("ini"); // "-": no file
        QTest::addColumn<QString>("restored");
        addRow("no file", QByteArray("-"), "0,0,0,0");
        addRow("12,3,1,1", QByteArray("12,3,1,1\r\n"), "12,3,1,1");
        addRow("13 names no region item", QByteArray("13,0,0,0\r\n"), "0,0,0,0");
        addRow("4 names no state item", QByteArray("5,4,1,0\r\n"), "5,0,1,0");
        addRow("2 is no box value", QByteArray("5,2,2,2\r\n"), "5,2,0,0");
        addRow("-1 is out of range", QByteArray("-1,-1,-1,-1\r\n"), "0,0,0,0");
        addRow("lines, blanks", QByteArray(" 12 \r\n3\r\n 1\r\n1 \r\n"), "12,3,1,1");
        addRow("empty file", QByteArray(), "0,0,0,0");
        addRow("3,1", QByteArray("3,1\r\n"), "3,1,0,0");
        addRow("confirmation off alone", QByteArray("0,0,0,1\r\n"), "0,0,0,1");
        addRow("40000 ends the reading", QByteArray("2,40000,1,1\r\n"), "2,0,0,0");
        addRow("text ends the reading", QByteArray("2,3,x,1\r\n"), "2,3,0,0");
        addRow("a fifth value is ignored", QByteArray("1,2,1,0,9,x\r\n"), "1,2,1,0");
    }

    void settings()
    {
        QFETCH(QByteArray, ini);
        Loaded t({}, QByteArray("0,0\r\n"), ini == "-" ? std::nullopt : std::optional(ini));
        const WindowSettings s = t.tracker.LoadSettings();
        QTEST(QStringLiteral("%1,%2,%3,%4")
                  .arg(s.regionItem)
                  .arg(s.stateItem)
                  .arg(s.treeView)
                  .arg(s.noConfirmation),
              "restored");
    }

    void selectorItems()
    {
        QStringList regions;
        for (const RegionItem &item : regionSelectorItems())
            regions << QStringLiteral("%1=%2").arg(item.text).arg(item.region);
        QCOMPARE(regions.join('|'),
                 "（すべて）=-1|ヴォルカナ大陸=1|ミルテラ大陸=2|シルヴァ大陸=3|コロネ大陸=4|"
                 "マリス諸島=5|偽りのアストリア=6|真のアストリア=7|真のフィオーレの島=9|"
                 "ベルカ島=11|ティルト島=12|灰の領界=13|その他=20");
        QCOMPARE(stateSelectorItems().join('|'), "（すべて）|やっていない|クリア|保留");
    }

    // The completion rate's text.
    void rate_data()
    {
        QTest::addColumn<int>("cleared");
        QTest::addColumn<int>("quests");
        QTest::addColumn<QString>("text");
        addRow("none", 0, 540, "0");
        addRow("half", 270, 540, "50");
        addRow("one decimal", 1, 8, "12.5");
        addRow("a third", 1, 3, "33.33");
        addRow("two thirds rounds up", 2, 3, "66.67");
        addRow("exact half goes to even", 1, 32, "3.12");
        addRow("all", 540, 540, "100");
        addRow("largest database", 1, 32766, "0");
        addRow("empty database", 0, 0, "0");
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

QTEST_GUILESS_MAIN(TestTracker)
#include "tst_tracker.moc"
