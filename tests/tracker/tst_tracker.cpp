// The program's behaviour below the window, through QuestTracker over real files in a temporary
// folder: the list for every selection and its order, the load behind it, the search, the
// details, a progress change decided step by step and saved byte for byte, the statistics and the
// settings. (The notices after loading are tested through the real start-up in
// tst_damaged_inputs.)
#include "QuestDatabaseGenerator.h"
#include "QuestTracker.h"
#include "SelectorItems.h"
#include "Statistics.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

#include <malloc.h>
#include <sched.h>
#include <tuple>

using namespace pelko;
using namespace pelko::test;

namespace {

const FilterSelection kAll{kAllRegions, 0};

// Ten quests whose numbers are not their rows: 1 to 10 shuffled, 5 left out, 40 beyond the table
// (a quest without a progress entry). Regions: その他 (code 20, the last), 1 (the first), 9 (after
// the unnamed 8), 13, the unnamed 8 and 150 outside the table. Names that only Japanese
// collation orders as listed: kanji by reading (港 こう, 薬 やく, 竜 りゅう; by code point 竜 comes
// before 薬), digits one by one, lower case first, punctuation before letters, and an empty one.
const std::vector<Quest> kQuests = {
    {20, 0, 10, "竜の巣", "北の村", "竜を倒す\\n戻る", "竜の鱗", "a\\\\nb"}, // row 1
    {1, 110, 4, "薬草集め", "", "a\\n\\nb"},
    {1, 111, 1, "薬草集め", "南の村", "\\na\\n"},
    {8, 112, 7, "港の手紙", "", "a\\Nb\\"},
    {13, 0, 2, "クエスト10", "", "abc"}, // row 5
    {1, 5, 8, "クエスト9"},
    {150, 0, 3, "-z"},
    {9, 120, 40, "Apple"},
    {1, 121, 6, "apple"},
    {1, 0, 9, ""}, // row 10
};
// Cleared: quest numbers 1, 5 (no quest has it), 9 and 10 (the last and the first row); 7 on
// hold; 6 holds a value that is no state; a line for quest 40, beyond the table, is kept (and
// never counted, although it says cleared).
const QString kProgress = "1,1 5,1 6,7 7,2 9,1 10,1 40,1 0,121";
const QString kOrder = "10 7 9 8 5 6 4 2 3 1"; // every quest, flat

// The columns of a data table: their types, then their names.
template <typename... T, typename... Name> void columns(Name... names)
{
    (QTest::addColumn<T>(names), ...);
}

// The entries by row, each after its tree mark: "1 2 ├3 └4".
QString describe(const QuestList &list)
{
    QStringList out;
    for (const ListEntry &e : list)
        out << QStringList{"", "├", "└"}[int(e.mark)] + QString::number(e.row);
    return out.join(' ');
}

// A file's lines as written here, apart by a blank: "1,1 0,1" is "1,1\r\n0,1\r\n".
QByteArray lines(QString text)
{
    return text.replace(' ', "\r\n").toLatin1() + "\r\n";
}

// A tracker loaded over a Folder, with a progress file of the given lines.
struct Loaded : Folder {
    explicit Loaded(const std::vector<Quest> &quests, const QString &progress = "0,0",
                    const std::optional<QByteArray> &ini = std::nullopt)
        : Folder(quests, lines(progress), ini)
    {
        tracker.LoadQuestData();
        tracker.LoadClearStatus();
    }
    QString rows(FilterSelection filter = kAll, bool tree = false) const
    {
        return describe(tracker.listFor({filter, tree}));
    }

    QuestTracker tracker{path()};
};

// A load of the folder's database, its work shared out as the plan says.
std::unique_ptr<QuestDataLoad> startLoad(const WorkDir &dir, const LoadPlan &plan)
{
    return std::make_unique<QuestDataLoad>(QuestTracker::databasePath(dir.path()), plan);
}

} // namespace

class TestTracker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lists_data()
    {
        columns<int, int, QString, QString>("region", "state", "flat", "tree"); // state: an item
        const int all = kAllRegions;
        addRow("every quest", all, 0, kOrder, QString("1 2 ├3 └4 5 ├6 7 8 └9 10"));
        addRow("その他, the last code", 20, 0, "1", "1");
        addRow("the first code", 1, 0, "10 9 6 2 3", "2 └3 6 9 10");
        addRow("code 9, after the unnamed 8", 9, 0, "8", "8");
        addRow("灰の領界", 13, 0, "5", "5");
        addRow("a region without quests", 7, 0, "", "");
        addRow("no region chosen", int(kNoRegionChosen), 0, "", "");
        // Quest 40 has no entry and counts as not done; the value 7 is no state at all.
        addRow("not done", all, 1, "7 8 5 6 2", "2 5 ├6 7 8");
        addRow("cleared", all, 2, "10 3 1", "1 3 10");
        addRow("on hold", all, 3, "4", "4");
        addRow("no progress item chosen", all, -1, "", "");
        addRow("first code, cleared", 1, 2, "10 3", "3 10");
    }

    void lists()
    {
        QFETCH(int, region);
        QFETCH(int, state);
        const Loaded t(kQuests, kProgress);
        QTEST(t.rows({region, state}), "flat");
        QTEST(t.rows({region, state}, true), "tree");
    }

    // The tree draws a chain by chain group (ChainNo / 10) across the rows the filter leaves: Z, Y,
    // X ... in row order, quest numbers counting down from the last row; the filter "やっていない".
    void tree_data()
    {
        columns<QList<int>, QString, QString>("chainNos", "progress", "tree");
        const QList<int> example{0, 110, 111, 112, 120, 121, 0};
        addRow("the example", example, "0,0", "1 2 ├3 └4 5 └6 7");
        addRow("head of the chain rejected", example, "6,1 0,6", "1 3 └4 5 └6 7");
        addRow("the next chain rejected", example, "2,1 3,1 0,5", "1 2 ├3 └4 7");
        addRow("two chains of one group meet across a rejected row",
               QList<int>{150, 151, 0, 155, 156}, "3,1 0,3", "1 ├2 ├4 └5");
        addRow("a chain split by another chain forms two runs", QList<int>{110, 111, 120, 112},
               "0,0", "1 └2 3 4");
        addRow("ChainNo 1 to 9 has group 0", QList<int>{3, 0, 5}, "0,0", "├1 2 └3");
        addRow("ChainNo -9 to -1 has group 0", QList<int>{0, -5, 120}, "0,0", "1 └2 3");
        addRow("the look-ahead passes many rejected rows", QList<int>{200, 201, 0, 0, 0, 0, 202},
               "2,1 3,1 4,1 5,1 0,14", "1 ├2 └7");
        addRow("nothing listed", QList<int>{110, 111}, "1,1 2,1 0,3", "");
    }

    void tree()
    {
        QFETCH(QList<int>, chainNos);
        QFETCH(QString, progress);
        std::vector<Quest> quests;
        for (int i = 0; i < chainNos.size(); ++i)
            quests.push_back({1, chainNos[i], int(chainNos.size()) - i, QString(QChar(u'Z' - i))});
        const Loaded t(quests, progress);
        QTEST(t.rows({kAllRegions, 1}, true), "tree");
        // The entry's text: the mark, then the name.
        for (const ListEntry &e : t.tracker.listFor({{kAllRegions, 1}, true}))
            QCOMPARE(t.tracker.entryText(e),
                     QStringList({"", "　├", "　└"})[int(e.mark)] + QChar(u'Z' - e.row + 1));
    }

    // Orders of Japanese collation as a sorted list control of the Japanese desktop gives them;
    // names it holds equal stay in row order.
    void collation_data()
    {
        columns<QStringList, QString>("names", "order");
        addRow("hiragana and katakana are equal", QStringList{"ア", "あ", "い", "あ"}, "1 2 4 3");
        addRow("an empty name before one the collation ignores", QStringList{"\x01", "", "a"},
               "2 1 3");
        addRow(
            "a long common beginning, then 南 (なん) before 北 (ほく)",
            QStringList{"ドラゴン討伐の依頼・北", "ドラゴン討伐の依頼・南", "ドラゴン討伐の依頼"},
            "3 2 1");
        // Keys far longer than the room first set aside for them: the room grows.
        QStringList longNames;
        for (char16_t c = u'z'; c >= u'a'; --c)
            longNames << QString(300, u'ド') + QChar(c);
        addRow("twenty-six names of 301 characters", longNames,
               "26 25 24 23 22 21 20 19 18 17 16 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1");
        // Twenty-four of one name among 2,100, at rows that the sort handles in different pieces
        // (the first rows, both sides of row 2,048, the last rows): they stand together, in row
        // order, after every "依頼NNNN" (依 い comes before 同 どう).
        const QList<int> group{1,    2,    3,    100,  517,  1024, 1500, 2000,
                               2045, 2046, 2047, 2048, 2049, 2050, 2051, 2052,
                               2080, 2090, 2095, 2096, 2097, 2098, 2099, 2100};
        QStringList names, others, groupRows;
        for (int r = 1; r <= 2100; ++r) {
            const bool equal = group.contains(r);
            names << (equal ? "同名の依頼" : QStringLiteral("依頼%1").arg(r, 4, 10, QChar(u'0')));
            (equal ? groupRows : others) << QString::number(r);
        }
        addRow("a large group of equal names", names, (others + groupRows).join(' '));
    }

    void collation()
    {
        QFETCH(QStringList, names);
        QTEST(Loaded(namedQuests(names)).rows(), "order");
    }

    // The program starts reading the database before it builds its window and takes the load
    // where it has always read the file; a load never taken ends with its tracker. On any number
    // of processors, with the names collated in pieces of three rows (3, 3, 3 and 1) or of one, the
    // order is the one of the whole list. The texts after the names are decoded last, by the
    // loading thread, here in pieces of four rows (4, 4 and 2); stopped after some of them, it
    // leaves the rest to the first reader, the detail pane or the search: every row's texts are its
    // own.
    void startedLoad_data()
    {
        columns<int, int, int, bool>("processors", "pieces", "decoded", "searchFirst");
        for (const int processors : {1, 2, 8, 16}) {
            const auto row = [processors](const char *name, int pieces, int decoded, bool search) {
                QTest::addRow("%d processors, %s", processors, name)
                    << processors << pieces << decoded << search;
            };
            row("never taken", -1, 0, false);
            row("no text decoded", 0, 0, false);
            row("the first piece of texts", 1, 4, true);
            row("two pieces of texts", 2, 8, false);
            row("every piece of texts", 3, 10, true);
        }
    }

    void startedLoad()
    {
        QFETCH(int, processors);
        QFETCH(int, pieces);
        QFETCH(bool, searchFirst);
        std::vector<Quest> quests = kQuests;
        for (Quest &q : quests) {
            const int r = int(&q - quests.data()) + 1;
            const QString n = QString::number(r + 10); // no text holds another row's texts
            std::tie(q.client, q.process, q.reward1, q.reward2) = std::tuple(
                "村" + n, "内容" + n + QString(r, u'ー'), "報酬" + n, r % 3 ? "再" + n : "");
        }
        const Folder dir(quests);
        // On sixteen, pieces of 0 rows, which are taken as pieces of one: ten of them.
        QuestTracker t(dir.path(), startLoad(dir, {processors, processors == 16 ? 0 : 3, 4,
                                                   std::size_t(pieces)}));
        QCOMPARE(t.intNumberOfContents(), 0); // nothing is taken before LoadQuestData
        if (pieces < 0)
            return;
        QVERIFY(t.LoadQuestData());
        QCOMPARE(describe(t.listFor({kAll, false})), kOrder);
        QFETCH(int, decoded);
        QTRY_COMPARE(int(t.questTable().detailTexts()->decodedRows()), decoded);
        for (const bool search : {searchFirst, !searchFirst}) {
            for (int r = 1; r <= 10; ++r) {
                const Quest &q = quests[r - 1];
                if (search) {
                    QCOMPARE(describe(t.searchFor(q.process, kAll)), QString::number(r));
                    QCOMPARE(describe(t.searchFor(q.reward1, kAll)), QString::number(r));
                } else {
                    const QuestDetail d = *t.detailOf(r);
                    QCOMPARE(QStringList({d.client, d.process, d.reward1, d.reward2}),
                             QStringList({q.client, q.process, q.reward1, q.reward2}));
                }
            }
        }
    }

    // A database refused after thousands of rows, read on many threads in pieces of 258 rows
    // (32,766 is 127 of them): the reader refuses the file right after it has handed over a
    // piece, in the record after row 16,512 (64 pieces) or at the 32,767th record, while threads
    // are still collating that piece, and its names must stay until the last thread is out of
    // them. Some rounds each; a load never taken is abandoned by its end instead.
    void refusedLoad_data()
    {
        columns<int, QString, bool>("processors", "database", "taken");
        for (const int processors : {8, 16})
            for (const char *database : {"cut short mid-record", "32767 records"})
                for (const bool taken : {true, false})
                    QTest::addRow("%d processors, %s%s", processors, database,
                                  taken ? "" : ", never taken")
                        << processors << QString(database) << taken;
        addRow("no file", 8, QString("none"), true);
    }

    void refusedLoad()
    {
        // Large blocks go back to the system as they are freed, never kept for reuse, so that a
        // thread reading freed names faults at once.
        mallopt(M_MMAP_THRESHOLD, 1 << 20);
        QFETCH(int, processors);
        QFETCH(QString, database);
        QFETCH(bool, taken);
        static const QByteArray full =
            sample::generateQuestDatabase(32766, 7, sample::TextVolume::Short);
        WorkDir dir;
        if (database == "cut short mid-record") {
            qsizetype record16513 = 0; // one record a line
            for (int line = 1; line < 16513; ++line)
                record16513 = full.indexOf('\n', record16513) + 1;
            dir.write("Pelko.dat", full.left(record16513 + 10));
        } else if (database == "32767 records") {
            dir.write("Pelko.dat",
                      QByteArray(full).insert(full.lastIndexOf("0,99,"), "0,1,0,1,\"x\",,,,\r\n"));
        }
        for (int round = 0; round < 10; ++round) {
            const std::unique_ptr<QuestDataLoad> load = startLoad(dir, {processors, 258});
            QVERIFY(!taken || !load->take());
        }
    }

    // Within region 1 and "やっていない"; quest numbers count down from the last row, and quest 5
    // (剣C, row 6) is cleared.
    void search_data()
    {
        columns<QString, QString>("keyword", "found");
        addRow("name", "竜", "1");
        addRow("content and reward, listed once", "ポーション", "2 1");
        addRow("client and replay reward are not searched", "港町", "");
        addRow("upper case differs", "SWORD", "");
        addRow("full width differs", "ｓｗｏｒｄ", "");
        addRow("hiragana differs from katakana", "ぽーしょん", "");
        addRow("blanks are part of the keyword", " sword", "");
        addRow("the escape is searched as two characters", "\\n", "1");
        addRow("no match across a line break", "倒す戻る", "");
        addRow("at the end of a field", "材料", "2");
        addRow("at the start of the last row's reward", "終", "10");
        addRow("cut off by the end of the name, found in the content", "Ex", "9");
        addRow("cut off by the end of the content, found in the reward", "Exi", "9");
        addRow("within the selectors", "剣", "5");
        addRow("a failed candidate overlaps the match", "剣A", "5");
        // The texts stand in one buffer: a match never runs from one text into the next.
        addRow("end of a name, start of the client", QStringLiteral("A\0B"), "");
        addRow("a name holding U+0000", QStringLiteral("x\0y"), "8");
        addRow("end of a reward, across an empty one, into the next name", QStringLiteral("D\0\0E"),
               "");
        addRow("a whole reward", "D", "8");
        addRow("longer than every text", QString(400, QChar(u'の')), "");
        addRow("the first character of the first name", "竜の", "1");
        addRow("an empty keyword: every quest of the selection", "", "10 7 9 8 5 3 2 1");
        // Index 131 of the texts after the names, the one character a scan in steps of 33 passes.
        addRow("a character a scan in steps of 33 would pass over", "ぬ", "10");
    }

    void search()
    {
        const Loaded t({{1, 0, 10, "竜の巣", "", "竜を倒す\\n戻る", "ポーション,sword"},
                        {1, 0, 9, "薬草集め", "", "ポーションの材料", "ポーション"},
                        {1, 0, 8, "港の手紙", "港町", "", "", "SWORD ポーションと港町"},
                        {2, 0, 7, "剣B"},
                        {1, 0, 6, "剣剣A"},
                        {1, 0, 5, "剣C"},
                        {1, 0, 4, "A", "B", "", "C"},
                        {1, 0, 3, QStringLiteral("x\0y"), "", "", "D"},
                        {1, 0, 2, "E", "", "Ex", "Exit"},
                        {1, 0, 1, "", "", "", "終" + QString(35, u'・') + "ぬ"}},
                       "5,1 0,5");
        QFETCH(QString, keyword);
        QTEST(describe(t.tracker.searchFor(keyword, {1, 1})), "found");
    }

    // The processors the program may run on, not the machine's: bound to one, it has one.
    void usableProcessorsFollowTheBinding()
    {
        cpu_set_t all, one;
        QVERIFY(sched_getaffinity(0, sizeof all, &all) == 0);
        CPU_ZERO(&one);
        for (int cpu = 0; CPU_COUNT(&one) == 0; ++cpu)
            if (CPU_ISSET(cpu, &all))
                CPU_SET(cpu, &one);
        QVERIFY(sched_setaffinity(0, sizeof one, &one) == 0);
        const int usable = usableProcessors();
        QVERIFY(sched_setaffinity(0, sizeof all, &all) == 0);
        QCOMPARE(usable, 1);
    }

    // A reader that comes while the loading thread decodes the texts (or a thread that comes
    // while the reader does) waits for the other to hand them back, then goes on where it ended.
    void readerWhileDecoding()
    {
        const WorkDir dir;
        dir.write("Pelko.dat", sample::generateQuestDatabase(32766));
        QuestTracker t(dir.path(), startLoad(dir, {2, 2048, 64, SIZE_MAX}));
        QVERIFY(t.LoadQuestData());
        const QuestDetail last = *t.detailOf(32766);
        QCOMPARE(QStringList({last.client, last.reward1, last.reward2}),
                 QStringList({"風車の丘", "赤い腕輪", ""}));
        QCOMPARE(int(t.questTable().detailTexts()->decodedRows()), 32766);
    }

    // The details and the progress choices of the ten quests as loaded.
    void detailsAsLoaded()
    {
        const Loaded t(kQuests, kProgress);
        const QuestDetail first = *t.tracker.detailOf(1);
        QCOMPARE(QStringList({first.client, first.process, first.reward1, first.reward2}),
                 QStringList({"北の村", "竜を倒す\r\n戻る", "竜の鱗", "a\\\r\nb"}));
        QCOMPARE(t.tracker.detailOf(3)->client, "南の村");
        QVERIFY(!t.tracker.detailOf(0) && !t.tracker.detailOf(11));
        // The option shown for each row, "-" for none, and whether its progress can change; the
        // contents: each "\n" becomes CR LF, left to right, and produced text is never searched
        // again.
        QString options, changeable, contents;
        for (int row = 1; row <= 10; ++row) {
            const QuestDetail d = *t.tracker.detailOf(row);
            options += d.option ? QString::number(*d.option) : "-";
            changeable += d.changeable ? "y" : "n";
            contents += d.process + '|';
        }
        QCOMPARE(options, "1012000--1"); // row 9: stored 7, no option
        QCOMPARE(changeable, "yyyyyyynyy");
        QCOMPARE(contents, "竜を倒す\r\n戻る|a\r\n\r\nb|\r\na\r\n|a\\Nb\\|abc||||||");
        // Clicks that are no change: the stored option, a quest without a progress entry (row 8,
        // quest 40, although a kept line names it), no row at all.
        QCOMPARE(QList<bool>({t.tracker.isChange(1, 1), t.tracker.isChange(4, 2),
                              t.tracker.isChange(8, 0), t.tracker.isChange(8, 2),
                              t.tracker.isChange(0, 1), t.tracker.isChange(11, 1)}),
                 QList<bool>(6, false));
        QCOMPARE(t.tracker.shownOption(8), std::nullopt);
        const QString prompt = "「%1」の\r\nクリア状況を「%2」に変更します。\r\nよろしいですか？";
        QCOMPARE(t.tracker.confirmationPrompt(1, 0), prompt.arg("竜の巣", "やっていない"));
        QCOMPARE(t.tracker.confirmationPrompt(10, 1), prompt.arg("", "コンプリート"));
        QCOMPARE(t.tracker.confirmationPrompt(2, 2), prompt.arg("薬草集め", "保留"));
    }

    // One progress change after another on the ten quests: whether the option click is a change,
    // the whole file afterwards, the option then
    // shown and the statistics. Quest 40's kept line stays in the file; quest 5 has no quest but
    // counts as cleared.
    void progressChange_data()
    {
        columns<QList<int>, QString, QString>("moves", "file", "statistics"); // row, option ...
        addRow("as loaded", QList<int>{}, "1,1 5,1 6,7 7,2 9,1 10,1 40,1 0,121", "4 40");
        addRow("last row, quest 9: cleared to not done", QList<int>{10, 0},
               "1,1 5,1 6,7 7,2 10,1 40,1 0,112", "3 30");
        addRow("first row, quest 10: cleared to on hold", QList<int>{1, 2},
               "1,1 5,1 6,7 7,2 9,1 10,2 40,1 0,131", "3 30");
        addRow("on hold to cleared, then not done to cleared", QList<int>{4, 1, 2, 1},
               "1,1 4,1 5,1 6,7 7,1 9,1 10,1 40,1 0,118", "6 60");
        addRow("a value that is no state, to on hold", QList<int>{9, 2},
               "1,1 5,1 6,2 7,2 9,1 10,1 40,1 0,91", "4 40");
        addRow("quest 1, the lowest number, to not done", QList<int>{3, 0},
               "5,1 6,7 7,2 9,1 10,1 40,1 0,120", "3 30");
    }

    void progressChange()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QString, file);
        QFETCH(QString, statistics);
        Loaded t(kQuests, kProgress);
        for (int i = 0; i < moves.size(); i += 2) {
            const int row = moves[i], option = moves[i + 1];
            QVERIFY(t.tracker.isChange(row, option));
            QVERIFY(t.tracker.changeProgress(row, option));
            QVERIFY(!t.tracker.isChange(row, option)); // the selection that follows ends here
            QCOMPARE(t.tracker.shownOption(row), std::optional<int>(option));
        }
        QCOMPARE(t.file("clr_stat.dat"), lines(file));
        const ProgressStatistics s = t.tracker.statistics();
        QCOMPARE(s.completedCaption, "コンプリート数： " + statistics.section(' ', 0, 0));
        QCOMPARE(s.rateCaption, "クリア率： " + statistics.section(' ', 1) + "％");
    }

    // A failed save: the change stands in memory, and nothing is left in the folder.
    void failedSave()
    {
        Loaded t(kQuests, kProgress);
        QVERIFY(QFile::remove(t.filePath("clr_stat.dat")) && QDir(t.path()).mkdir("clr_stat.dat"));
        QVERIFY(!t.tracker.changeProgress(5, 1));
        QCOMPARE(t.tracker.storedProgress(5), std::optional<std::uint8_t>(1));
        QCOMPARE(t.entries(), QStringList({"Pelko.dat", "clr_stat.dat"}));
    }

    // The entry selected after the rebuild that follows a change.
    void positionAfterRebuild_data()
    {
        columns<QList<int>, int>("counts", "position"); // the entry selected, entries before, after
        addRow("still listed", QList<int>{3, 10, 10}, 3);
        addRow("the first entry", QList<int>{0, 5, 5}, 0);
        addRow("the last entry, still listed", QList<int>{4, 5, 5}, 4);
        addRow("the last entry left: the new last one", QList<int>{9, 10, 9}, 8);
        addRow("a list two shorter", QList<int>{9, 10, 8}, 7);
        addRow("one entry left of two: that one", QList<int>{1, 2, 1}, 0);
        addRow("the only entry left: nothing", QList<int>{0, 1, 0}, -1);
        addRow("an empty list before: the first", QList<int>{5, 0, 4}, 0);
        addRow("no selection reported: the first", QList<int>{-1, 3, 3}, 0);
    }

    void positionAfterRebuild()
    {
        QFETCH(QList<int>, counts);
        QTEST(QuestTracker::positionAfterRebuild(counts[0], counts[1], counts[2]), "position");
    }

    // Each value is judged on its own: one that names no item or box state is its default;
    // reading stops at the first value that is no 16-bit number.
    void settings_data()
    {
        columns<QByteArray, QString>("ini", "restored"); // ini "-": no file
        addRow("no file", QByteArray("-"), "0,0,0,0");
        addRow("the last items, both boxes", QByteArray("12,3,1,1\r\n"), "12,3,1,1");
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
        Loaded t({}, "0,0", ini == "-" ? std::nullopt : std::optional(ini));
        const WindowSettings s = t.tracker.LoadSettings();
        QTEST(QString::asprintf("%d,%d,%d,%d", s.regionItem, s.stateItem, s.treeView,
                                s.noConfirmation),
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
        columns<int, int, QString>("cleared", "quests", "text");
        addRow("none", 0, 540, "0");
        addRow("half", 270, 540, "50");
        addRow("one decimal", 1, 8, "12.5");
        addRow("a third", 1, 3, "33.33");
        addRow("two thirds rounds up", 2, 3, "66.67");
        // Halves exact in decimal and in double, but not in single precision
        // (29.374998, 50.625004).
        addRow("exact half goes to even", 81, 160, "50.62");
        addRow("exact half goes to even, upwards", 47, 160, "29.38");
        addRow("all", 540, 540, "100");
        addRow("a rate that 16 digits would show as 0.07000000000000001", 23, 32766, "0.07");
        addRow("one of the largest database", 1, 32766, "0");
        addRow("all but one of the largest database", 32765, 32766, "100");
        addRow("empty database", 0, 0, "0");
    }

    void rate()
    {
        QFETCH(int, cleared);
        QFETCH(int, quests);
        QTEST(completionRateText(std::int16_t(cleared), std::int16_t(quests)), "text");
    }
};

QTEST_GUILESS_MAIN(TestTracker)
#include "tst_tracker.moc"
