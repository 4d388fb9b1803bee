// The quest list, the keyword search and the detail pane, through the real window.
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString B = QStringLiteral("　├");
const QString L = QStringLiteral("　└");

// Quests P.. in row order with the given chain numbers, in region 1, quest number = row.
std::vector<Quest> chained(const QList<int> &chainNos)
{
    std::vector<Quest> quests;
    for (int i = 0; i < chainNos.size(); ++i)
        quests.push_back({1, chainNos[i], 0, QString(QChar(u'P' + i))});
    return quests;
}

struct Window : TestWindow {
    using TestWindow::TestWindow;
    void select(int index) { list()->setListIndex(index); }
    void search(const QString &keyword)
    {
        child<TextBox>("txtSearchItems")->setText(keyword);
        QTest::mouseClick(child<QPushButton>("cmdSearchItems"), Qt::LeftButton);
    }
    // No quest shown, no progress selected or changeable.
    bool paneEmpty()
    {
        return child<QLineEdit>("txtClient")->text().isEmpty()
               && child<RichTextBox>("txtProcess")->text().isEmpty()
               && !child<QGroupBox>("QuestState")->isEnabled() && !option(0)->isEnabled()
               && !option(0)->isChecked() && !option(1)->isChecked() && !option(2)->isChecked()
               && h->window().intDisplayNumber == 0;
    }
};

} // namespace

class TestQuestList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tree_data()
    {
        QTest::addColumn<QList<int>>("chainNos");
        QTest::addColumn<QByteArray>("progress"); // rows cleared, with the filter "やっていない"
        QTest::addColumn<QStringList>("entries");
        const QList<int> example{0, 110, 111, 112, 120, 121, 0};
        QTest::newRow("every row listed") << example << QByteArray("0,0\r\n")
            << QStringList{"P", "Q", B + "R", L + "S", "T", L + "U", "V"};
        QTest::newRow("head of the chain rejected")
            << example << QByteArray("2,1\r\n0,2\r\n") << QStringList{"P", "R", L + "S", "T", L + "U", "V"};
        QTest::newRow("the next chain rejected")
            << example << QByteArray("5,1\r\n6,1\r\n0,11\r\n") << QStringList{"P", "Q", B + "R", L + "S", "V"};
        QTest::newRow("two chains of one group meet across a rejected row")
            << QList<int>{150, 151, 0, 155, 156} << QByteArray("3,1\r\n0,3\r\n")
            << QStringList{"P", B + "Q", B + "S", L + "T"};
        QTest::newRow("a chain split by another chain forms two runs")
            << QList<int>{110, 111, 120, 112} << QByteArray("0,0\r\n")
            << QStringList{"P", L + "Q", "R", "S"};
        QTest::newRow("ChainNo 1 to 9 has group 0")
            << QList<int>{3, 0, 5} << QByteArray("0,0\r\n") << QStringList{B + "P", "Q", L + "R"};
        QTest::newRow("ChainNo -9 to -1 has group 0")
            << QList<int>{0, -5, 120} << QByteArray("0,0\r\n") << QStringList{"P", L + "Q", "R"};
        QTest::newRow("follow-on looks past many rejected rows")
            << QList<int>{200, 201, 0, 0, 0, 0, 202} << QByteArray("3,1\r\n4,1\r\n5,1\r\n6,1\r\n0,18\r\n")
            << QStringList{"P", B + "Q", L + "V"};
        QTest::newRow("nothing listed") << QList<int>{110, 111} << QByteArray("1,1\r\n2,1\r\n0,3\r\n")
                                        << QStringList{};
    }

    void tree()
    {
        QFETCH(QList<int>, chainNos);
        QFETCH(QByteArray, progress);
        QFETCH(QStringList, entries);
        Window w(chained(chainNos), progress, "0,1,1,1\r\n");
        QVERIFY(w.started);
        QCOMPARE(w.h->listTexts(), entries);
        QCOMPARE(w.label("lblDisplayQuest"), QStringLiteral("表示数： %1").arg(entries.size()));
        // The flat list holds the same quests, sorted and without prefixes.
        w.child<CheckBox>("chkTreeView")->click();
        QStringList flat = entries;
        flat.replaceInStrings(B, QString()).replaceInStrings(L, QString());
        flat.sort();
        QCOMPARE(w.h->listTexts(), flat);
    }

    void filters()
    {
        // Regions その他, a code without a name, two codes outside the table, and region 1;
        // quest D's number has no progress entry, so it counts as not done.
        std::vector<Quest> quests = namedQuests({"A", "B", "C", "D", "E"});
        const int regions[] = {20, 8, 0, 42, 1};
        for (int i = 0; i < 5; ++i)
            quests[i].region = regions[i];
        quests[3].questNo = 99;
        Window w(quests, "2,1\r\n3,2\r\n0,8\r\n");
        QVERIFY(w.started);
        auto *country = w.child<ComboBox>("cboCountry");
        for (int item = 1; item < country->count(); ++item) {
            country->setListIndex(item);
            QCOMPARE(w.h->listTexts(), item == 12 ? QStringList{"A"} : item == 1 ? QStringList{"E"} : QStringList{});
        }
        country->setListIndex(0);
        auto *state = w.child<ComboBox>("cboState");
        const QStringList expected[] = {{"A", "B", "C", "D", "E"}, {"A", "D", "E"}, {"B"}, {"C"}};
        for (int item = 0; item < 4; ++item) {
            state->setListIndex(item);
            QCOMPARE(w.h->listTexts(), expected[item]);
        }
    }

    void sameNameShowsItsOwnRow()
    {
        std::vector<Quest> quests = namedQuests({QStringLiteral("失われた指輪"), QStringLiteral("別件"),
                                                 QStringLiteral("失われた指輪"), B + QStringLiteral("別件")});
        quests[0].client = QStringLiteral("北の村");
        quests[2].client = QStringLiteral("南の港");
        quests[3].client = QStringLiteral("前置きの名");
        Window w(quests, "3,2\r\n0,6\r\n");
        QVERIFY(w.started);
        const QStringList listed = w.h->listTexts();
        QCOMPARE(listed.count(QStringLiteral("失われた指輪")), 2);
        QSet<QString> clients;
        for (int i = 0; i < listed.size(); ++i) {
            w.select(i);
            clients << w.child<QLineEdit>("txtClient")->text();
            if (w.h->window().intDisplayNumber == 3)
                QVERIFY(w.child<QRadioButton>("optQuestState2")->isChecked());
        }
        QCOMPARE(clients, (QSet<QString>{QStringLiteral("北の村"), QStringLiteral("南の港"), QString(),
                                         QStringLiteral("前置きの名")}));
    }

    void search_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name") << QStringLiteral("竜") << QStringList{QStringLiteral("竜の巣")};
        QTest::newRow("content and reward, listed once")
            << QStringLiteral("ポーション") << QStringList{QStringLiteral("薬草集め"), QStringLiteral("竜の巣")};
        QTest::newRow("client and replay reward are not searched") << QStringLiteral("港町") << QStringList{};
        QTest::newRow("upper case differs") << QStringLiteral("SWORD") << QStringList{};
        QTest::newRow("full width differs") << QStringLiteral("ｓｗｏｒｄ") << QStringList{};
        QTest::newRow("hiragana differs from katakana") << QStringLiteral("ぽーしょん") << QStringList{};
        QTest::newRow("blanks are part of the keyword") << QStringLiteral(" sword") << QStringList{};
        QTest::newRow("the escape is searched as two characters")
            << QStringLiteral("\\n") << QStringList{QStringLiteral("竜の巣")};
        QTest::newRow("no match across a line break") << QStringLiteral("倒す戻る") << QStringList{};
    }

    void search()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, found);
        std::vector<Quest> quests = namedQuests({QStringLiteral("竜の巣"), QStringLiteral("薬草集め"),
                                                 QStringLiteral("港の手紙")});
        quests[0].process = QStringLiteral("竜を倒す\\n戻る");
        quests[0].reward1 = QStringLiteral("ポーション,sword");
        quests[1].process = QStringLiteral("ポーションの材料");
        quests[1].reward1 = QStringLiteral("ポーション");
        quests[2].client = QStringLiteral("港町");
        quests[2].reward2 = QStringLiteral("SWORD ポーションと港町");
        Window w(quests, "0,0\r\n", "0,0,1,1\r\n"); // tree on: the result is still flat
        QVERIFY(w.started);
        w.search(keyword);
        QCOMPARE(w.h->listTexts(), found);
        QCOMPARE(w.label("lblDisplayQuest"), QStringLiteral("表示数： %1").arg(found.size()));
        QVERIFY(w.paneEmpty());
        // Any selector change replaces the result with the ordinary list.
        w.child<ComboBox>("cboState")->setListIndex(1);
        QCOMPARE(w.h->listTexts().size(), 3);
    }

    void searchKeepsToTheSelectors()
    {
        std::vector<Quest> quests = namedQuests({QStringLiteral("剣A"), QStringLiteral("剣B")});
        quests[1].region = 2;
        Window w(quests, "0,0\r\n", "1,0,0,1\r\n");
        QVERIFY(w.started);
        w.search(QStringLiteral("剣"));
        QCOMPARE(w.h->listTexts(), QStringList{QStringLiteral("剣A")});
    }

    void searchButton()
    {
        Window w(namedQuests({"A"}));
        QVERIFY(w.started);
        auto *button = w.child<QPushButton>("cmdSearchItems");
        auto *keyword = w.child<TextBox>("txtSearchItems");
        QTest::keyClicks(keyword, QStringLiteral("x"));
        QVERIFY(button->isEnabled());
        QTest::keyClick(keyword, Qt::Key_Backspace);
        QVERIFY(!button->isEnabled());
        // An empty keyword is refused with a notice, leaving the list as it was.
        button->setEnabled(true);
        button->click();
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{1});
        QCOMPARE(w.h->boxes().shown().front().text,
                 QStringLiteral("アイテム名などを入力してから\r\n検索ボタンを押してください"));
        QCOMPARE(w.h->boxes().shown().front().icon, MsgIcon::Information);
        QCOMPARE(w.h->listTexts(), QStringList{"A"});
    }

    void detailPane()
    {
        std::vector<Quest> quests = namedQuests({"A", "B"});
        quests[0].client = QStringLiteral("村\\n長");
        quests[0].process = QStringLiteral("a\\nb\\\\nc\\N");
        quests[0].reward1 = QStringLiteral("\\n報酬");
        quests[0].reward2 = QStringLiteral("再\\n");
        Window w(quests, "1,1\r\n0,1\r\n", "0,0,0,0\r\n"); // confirmation on
        QVERIFY(w.started);
        QVERIFY(w.paneEmpty());
        w.select(0);
        QCOMPARE(w.child<QLineEdit>("txtClient")->text(), QStringLiteral("村\\n長"));
        QCOMPARE(w.child<RichTextBox>("txtProcess")->text(), QStringLiteral("a\r\nb\\\r\nc\\N"));
        QCOMPARE(w.child<RichTextBox>("txtReward1")->text(), QStringLiteral("\r\n報酬"));
        QCOMPARE(w.child<RichTextBox>("txtReward2")->text(), QStringLiteral("再\r\n"));
        QVERIFY(w.child<QRadioButton>("optQuestState1")->isChecked());
        QVERIFY(w.child<QGroupBox>("QuestState")->isEnabled());
        // The arrow key shows the next quest like a click; showing never prompts or saves.
        auto *list = w.child<ListBox>("lstQuestList");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{2});
        QVERIFY(w.child<QRadioButton>("optQuestState0")->isChecked());
        QVERIFY(w.h->boxes().shown().empty());
        QCOMPARE(w.h->saves(QStringLiteral("clr_stat.dat")), 0);
        // A rebuild empties the pane, raising neither handler.
        w.child<CheckBox>("chkTreeView")->click();
        QVERIFY(w.paneEmpty());
        QVERIFY(w.h->boxes().shown().empty());
    }

    void progressWithoutAnOption()
    {
        // Quest 1 holds a value that is no state; quest 2's number has no entry in the table.
        std::vector<Quest> quests = namedQuests({"A", "B"});
        quests[1].questNo = 500;
        Window w(quests, "1,7\r\n0,7\r\n");
        QVERIFY(w.started);
        w.select(0);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{1});
        QVERIFY(!w.child<QRadioButton>("optQuestState0")->isChecked());
        QVERIFY(w.child<QRadioButton>("optQuestState0")->isEnabled());
        w.select(1);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{2});
        QVERIFY(!w.child<QRadioButton>("optQuestState1")->isChecked());
        QVERIFY(!w.child<QRadioButton>("optQuestState1")->isEnabled());
    }
};

QTEST_MAIN(TestQuestList)
#include "tst_quest_list.moc"
