// The main window's handlers: each control reaches its handler, the handlers re-enter one
// another without a second prompt or save, and the focus, the selection and the scrolling end
// where the player expects them. What the lists and files hold is tested on the tracker.
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/TextBox.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace pelko;
using namespace pelko::test;

namespace {

const QByteArray kConfirm = "0,0,0,0\r\n";
const QByteArray kNoConfirm = "0,0,0,1\r\n";

// Quests A to E in rows 1 to 5, quest number = row; C and D form a chain.
struct Window : TestWindow {
    explicit Window(const QByteArray &progress = "0,0\r\n", const QByteArray &ini = kConfirm)
        : TestWindow(quests(), progress, ini)
    {
    }
    static std::vector<Quest> quests()
    {
        std::vector<Quest> q = namedQuests({"E", "D", "C", "B", "A"});
        q[2].chainNo = 110;
        q[3].chainNo = 111;
        q[4].process = "x\\ny";
        return q;
    }
    void search(const QString &keyword)
    {
        QTest::keyClicks(child<TextBox>("txtSearchItems"), keyword);
        QTest::mouseClick(child<QPushButton>("cmdSearchItems"), Qt::LeftButton);
    }
    int shown() { return h->window().intDisplayNumber; }
    // No quest shown, no progress selected or changeable.
    bool paneEmpty()
    {
        return child<QLineEdit>("txtClient")->text().isEmpty()
               && child<QPlainTextEdit>("txtProcess")->toPlainText().isEmpty()
               && !child<QGroupBox>("QuestState")->isEnabled() && !option(0)->isEnabled()
               && !option(0)->isChecked() && !option(1)->isChecked() && !option(2)->isChecked()
               && shown() == 0;
    }
    std::size_t boxes() { return h->boxes().shown().size(); }
    int progressSaves() { return h->saves(QStringLiteral("clr_stat.dat")); }
};

} // namespace

class TestWindowHandlers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selectorsRebuildTheList()
    {
        Window w("2,1\r\n0,2\r\n");
        QVERIFY(w.started);
        QCOMPARE(w.h->listTexts(), (QStringList{"A", "B", "C", "D", "E"}));
        w.child<ComboBox>("cboState")->setListIndex(2);
        QCOMPARE(w.h->listTexts(), QStringList{"D"});
        QCOMPARE(w.label("lblDisplayQuest"), QStringLiteral("表示数： 1"));
        w.child<ComboBox>("cboState")->setListIndex(0);
        w.child<ComboBox>("cboCountry")->setListIndex(2); // no quest in ミルテラ大陸
        QCOMPARE(w.h->listTexts(), QStringList{});
        w.child<ComboBox>("cboCountry")->setListIndex(1);
        w.child<CheckBox>("chkTreeView")->click();
        QCOMPARE(w.h->listTexts(), (QStringList{"E", "D", "C", QStringLiteral("　└B"), "A"}));
        // The tree entry shows its own quest.
        w.list()->setListIndex(3);
        QCOMPARE(w.shown(), 4);
    }

    void searchButtonAndKeyword()
    {
        Window w("0,0\r\n", "0,0,1,0\r\n"); // tree on: a search result is still flat
        QVERIFY(w.started);
        auto *button = w.child<QPushButton>("cmdSearchItems");
        auto *keyword = w.child<TextBox>("txtSearchItems");
        QVERIFY(!button->isEnabled());
        w.search("x\\n");
        QVERIFY(button->isEnabled());
        QCOMPARE(w.h->listTexts(), QStringList{"A"});
        QCOMPARE(w.label("lblDisplayQuest"), QStringLiteral("表示数： 1"));
        // Enter searches too; clearing the box disables the button again.
        keyword->clear();
        QTest::keyClicks(keyword, "B");
        QTest::keyClick(keyword, Qt::Key_Return);
        QCOMPARE(w.h->listTexts(), QStringList{"B"});
        keyword->clear();
        QVERIFY(!button->isEnabled());
        // An empty keyword is refused with a notice, leaving the list as it was.
        button->setEnabled(true);
        button->click();
        QCOMPARE(w.boxes(), std::size_t{1});
        QCOMPARE(w.h->boxes().shown().front().text,
                 QStringLiteral("アイテム名などを入力してから\r\n検索ボタンを押してください"));
        QCOMPARE(w.h->boxes().shown().front().icon, MsgIcon::Information);
        QCOMPARE(w.h->listTexts(), QStringList{"B"});
        // Any selector change replaces the result with the ordinary list.
        w.child<ComboBox>("cboState")->setListIndex(1);
        QCOMPARE(w.h->listTexts().size(), 5);
    }

    void selectingShowsTheQuestWithoutAPrompt()
    {
        Window w("5,2\r\n0,10\r\n");
        QVERIFY(w.started);
        QVERIFY(w.paneEmpty());
        w.list()->setListIndex(0); // A
        QCOMPARE(w.shown(), 5);
        QCOMPARE(w.child<QPlainTextEdit>("txtProcess")->toPlainText(), QStringLiteral("x\ny"));
        QVERIFY(w.option(2)->isChecked());
        QVERIFY(w.child<QGroupBox>("QuestState")->isEnabled() && w.option(1)->isEnabled());
        // The arrow key shows the next quest like a click; showing never prompts or saves.
        w.list()->setFocus();
        QTest::keyClick(w.list(), Qt::Key_Down);
        QCOMPARE(w.shown(), 4);
        QVERIFY(w.option(0)->isChecked());
        w.option(0)->click(); // the option already selected
        QCOMPARE(w.boxes(), std::size_t{0});
        QCOMPARE(w.progressSaves(), 0);
        // A rebuild empties the pane, raising neither handler.
        w.child<CheckBox>("chkTreeView")->click();
        QVERIFY(w.paneEmpty());
        QCOMPARE(w.boxes(), std::size_t{0});
    }

    void cancelRevertsWithoutASecondPrompt()
    {
        Window w("2,1\r\n0,2\r\n");
        QVERIFY(w.started);
        w.list()->setListIndex(3); // D, cleared
        w.h->boxes().answerNext(MsgResult::Cancel);
        w.option(2)->click();
        QCOMPARE(w.boxes(), std::size_t{1});
        const ShownMessage &box = w.h->boxes().shown().front();
        QCOMPARE(box.text, QStringLiteral("「D」の\r\nクリア状況を「保留」に変更します。\r\nよろしいですか？"));
        QCOMPARE(box.buttons, MsgButtons::OkCancel);
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.title, QStringLiteral("ペルコ for Verdania"));
        QVERIFY(w.option(1)->isChecked() && !w.option(2)->isChecked());
        QVERIFY(w.list()->hasFocus());
        QCOMPARE(w.progressSaves(), 0);
        QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： 1"));
    }

    void acceptedChangeReselectsThePosition_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("select");
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("position"); // -1: the list became empty
        QTest::addColumn<int>("shownAfter");
        QTest::newRow("still listed") << kConfirm << 3 << 1 << 3 << 2;
        QTest::newRow("filtered out: the next one takes its place") << QByteArray("0,1,0,0\r\n") << 1 << 1 << 1 << 3;
        QTest::newRow("the last entry: the new last one") << QByteArray("0,1,0,1\r\n") << 3 << 2 << 2 << 3;
        QTest::newRow("the only entry: nothing selected") << QByteArray("0,3,0,1\r\n") << 0 << 0 << -1 << 0;
    }

    void acceptedChangeReselectsThePosition()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, select);
        QFETCH(int, option);
        QFETCH(int, position);
        QFETCH(int, shownAfter);
        Window w("1,2\r\n0,2\r\n", ini);
        QVERIFY(w.started);
        w.list()->setListIndex(select);
        w.option(option)->click(); // OK by default
        QCOMPARE(w.boxes(), std::size_t(ini.endsWith(",0\r\n") ? 1 : 0));
        QCOMPARE(w.progressSaves(), 1);
        QCOMPARE(w.list()->listIndex(), position);
        QCOMPARE(w.shown(), shownAfter);
        if (position >= 0)
            QVERIFY(w.list()->hasFocus() && w.child<QGroupBox>("QuestState")->isEnabled());
        else
            QVERIFY(w.paneEmpty());
        QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： %1").arg(option == 1 ? 1 : 0));
    }

    void changedEntryIsScrolledToTheTop()
    {
        QStringList names;
        for (int i = 0; i < 200; ++i)
            names << QStringLiteral("依頼%1").arg(i, 3, 10, QLatin1Char('0'));
        TestWindow w(namedQuests(names));
        QVERIFY(w.started);
        w.list()->setListIndex(120);
        QVERIFY(w.list()->topIndex() < 120); // not yet at the top
        w.option(2)->click();
        QCOMPARE(w.list()->listIndex(), 120);
        QCOMPARE(w.list()->topIndex(), 120);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{121});
    }

    void changeDuringSearchShowsTheFilteredList()
    {
        Window w("0,0\r\n", kNoConfirm);
        QVERIFY(w.started);
        w.search("D");
        w.list()->setListIndex(0);
        w.option(2)->click();
        QCOMPARE(w.h->listTexts(), (QStringList{"A", "B", "C", "D", "E"}));
        QCOMPARE(w.shown(), 5); // position 0 of the new list
    }

    void accessKeyChangesProgress()
    {
        Window w;
        QVERIFY(w.started);
        w.list()->setListIndex(0);
        QTest::keyClick(&w.h->window(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(w.progressSaves(), 1);
        QCOMPARE(w.file(QStringLiteral("clr_stat.dat")), QByteArray("5,1\r\n0,5\r\n"));
    }

    void failedSaveIsReportedAndTheChangeStands()
    {
        Window w;
        QVERIFY(w.started);
        QVERIFY(QFile::remove(w.dir.filePath(QStringLiteral("clr_stat.dat"))));
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("clr_stat.dat")));
        w.list()->setListIndex(0);
        w.option(1)->click();
        QCOMPARE(w.boxes(), std::size_t{2}); // the prompt, then the failure
        QCOMPARE(w.h->boxes().shown().back().text, QStringLiteral("データ書き込み中にエラーが発生しました。"));
        QCOMPARE(w.h->boxes().shown().back().icon, MsgIcon::Critical);
        QVERIFY(w.option(1)->isChecked());
        QCOMPARE(w.label("lblCompletePercentage"), QStringLiteral("クリア率： 20％"));
    }
};

QTEST_MAIN(TestWindowHandlers)
#include "tst_window_handlers.moc"
