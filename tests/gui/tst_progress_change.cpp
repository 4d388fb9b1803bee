// Changing a quest's progress through the real window: prompt, save, rebuild, statistics.
#include "DatabaseBuilder.h"
#include "MainWindowHarness.h"
#include "WorkDir.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/TextBox.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace pelko;
using namespace pelko::test;

namespace {

const QByteArray kConfirm = "0,0,0,0\r\n";
const QByteArray kNoConfirm = "0,0,0,1\r\n";

// Quests A to E in rows 1 to 5, quest number = row.
struct Window : TestWindow {
    explicit Window(const QByteArray &progress = "0,0\r\n", const QByteArray &ini = kConfirm)
        : TestWindow(namedQuests({"A", "B", "C", "D", "E"}), progress, ini)
    {
    }
    QByteArray progressFile() { return file(QStringLiteral("clr_stat.dat")); }
    int progressSaves() { return h->saves(QStringLiteral("clr_stat.dat")); }
};

} // namespace

class TestProgressChange : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void prompt_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("state");
        QTest::newRow("not done") << 0 << QStringLiteral("やっていない");
        QTest::newRow("cleared is named complete") << 1 << QStringLiteral("コンプリート");
        QTest::newRow("on hold") << 2 << QStringLiteral("保留");
    }

    void prompt()
    {
        QFETCH(int, option);
        QFETCH(QString, state);
        Window w("3,2\r\n0,6\r\n");
        QVERIFY(w.started);
        w.list()->setListIndex(2); // C, whose stored progress is "on hold"
        w.h->boxes().answerNext(MsgResult::Cancel);
        w.option(option)->click();
        if (option == 2) { // the option already selected: no change at all
            QVERIFY(w.h->boxes().shown().empty());
            return;
        }
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{1});
        const ShownMessage &box = w.h->boxes().shown().front();
        QCOMPARE(box.text, QStringLiteral("「C」の\r\nクリア状況を「%1」に変更します。\r\nよろしいですか？").arg(state));
        QCOMPARE(box.buttons, MsgButtons::OkCancel);
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.title, QStringLiteral("ペルコ for Verdania"));
    }

    void cancelRevertsEverything()
    {
        Window w("2,1\r\n0,2\r\n");
        QVERIFY(w.started);
        w.list()->setListIndex(3);
        const QByteArray before = w.progressFile();
        w.h->boxes().answerNext(MsgResult::Cancel);
        w.option(2)->click();
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{1}); // no second prompt for the revert
        QVERIFY(w.option(0)->isChecked());
        QVERIFY(!w.option(2)->isChecked());
        QVERIFY(w.list()->hasFocus());
        QCOMPARE(w.progressSaves(), 0);
        QCOMPARE(w.progressFile(), before);
        QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： 1"));
        QCOMPARE(w.label("lblCompletePercentage"), QStringLiteral("クリア率： 20％"));
    }

    void acceptedChangeSavesRebuildsAndReselects()
    {
        Window w;
        QVERIFY(w.started);
        w.list()->setListIndex(3); // D
        w.option(1)->click();      // OK by default
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{1});
        QCOMPARE(w.progressSaves(), 1);
        QCOMPARE(w.progressFile(), QByteArray("4,1\r\n0,4\r\n"));
        QCOMPARE(w.list()->listIndex(), 3);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{4});
        QVERIFY(w.option(1)->isChecked());
        QVERIFY(w.list()->hasFocus());
        QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： 1"));
        QCOMPARE(w.label("lblCompletePercentage"), QStringLiteral("クリア率： 20％"));
    }

    void statisticsFollowEachMove()
    {
        Window w("0,0\r\n", kNoConfirm); // no confirmation: applied at once
        QVERIFY(w.started);
        struct Move {
            int to;
            int completed;
            QByteArray file;
        };
        const Move moves[] = {
            {2, 0, "1,2\r\n0,2\r\n"},  // not done to on hold: the count stays
            {0, 0, "0,0\r\n"},          // and back
            {1, 1, "1,1\r\n0,1\r\n"},  // cleared: one more
            {2, 0, "1,2\r\n0,2\r\n"},  // cleared to on hold: one less
        };
        for (const Move &m : moves) {
            w.list()->setListIndex(0);
            w.option(m.to)->click();
            QCOMPARE(w.progressFile(), m.file);
            QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： %1").arg(m.completed));
        }
        QCOMPARE(w.progressSaves(), 4);
        QVERIFY(w.h->boxes().shown().empty());
    }

    void positionIsKeptOrClamped()
    {
        // Listing only quests not done: clearing one removes it, and the next one takes its place.
        Window w("0,0\r\n", "0,1,0,1\r\n");
        QVERIFY(w.started);
        w.list()->setListIndex(1); // B
        w.option(1)->click();
        QCOMPARE(w.h->listTexts(), (QStringList{"A", "C", "D", "E"}));
        QCOMPARE(w.list()->listIndex(), 1);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{3}); // C is shown, ready to change
        QCOMPARE(w.list()->topIndex(), 0); // the list is too short to scroll
        // The last entry: the new last entry is selected.
        w.list()->setListIndex(3); // E
        w.option(2)->click();
        QCOMPARE(w.h->listTexts(), (QStringList{"A", "C", "D"}));
        QCOMPARE(w.list()->listIndex(), 2);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{4});
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

    // Above 11,384 quests a line's checksum arithmetic can leave 16 bits; such a line is left
    // out of the checksum as it always was, but neither loading nor saving reports it.
    void overflowingChecksumIsNoError()
    {
        QStringList names;
        for (int i = 1; i <= 16384; ++i)
            names << QStringLiteral("Q%1").arg(i, 5, 10, QLatin1Char('0'));
        TestWindow w(namedQuests(names), QByteArray("16384,2\r\n0,0\r\n"), QByteArray("0,3,0,1\r\n"));
        QVERIFY(w.started);
        QVERIFY(w.h->boxes().shown().empty());
        QCOMPARE(w.h->listTexts(), QStringList{QStringLiteral("Q16384")}); // restored on hold
        w.child<ComboBox>("cboState")->setListIndex(0);
        w.list()->setListIndex(2); // Q00003
        w.option(1)->click();
        QVERIFY(w.h->boxes().shown().empty());
        QCOMPARE(w.file(QStringLiteral("clr_stat.dat")), QByteArray("3,1\r\n16384,2\r\n0,3\r\n"));
    }

    void emptiedListLeavesPaneEmpty()
    {
        Window w("1,1\r\n2,1\r\n3,1\r\n4,1\r\n0,10\r\n", "0,1,0,1\r\n"); // only E is not done
        QVERIFY(w.started);
        QCOMPARE(w.h->listTexts(), QStringList{"E"});
        w.list()->setListIndex(0);
        w.option(1)->click();
        QVERIFY(w.h->listTexts().isEmpty());
        QCOMPARE(w.list()->listIndex(), -1);
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{0});
        QVERIFY(!w.option(0)->isEnabled());
        QCOMPARE(w.label("lblCompletePercentage"), QStringLiteral("クリア率： 100％"));
    }

    void changeDuringSearchShowsTheFilteredList()
    {
        Window w("0,0\r\n", kNoConfirm);
        QVERIFY(w.started);
        w.child<TextBox>("txtSearchItems")->setText(QStringLiteral("D"));
        w.child<QPushButton>("cmdSearchItems")->click();
        QCOMPARE(w.h->listTexts(), QStringList{"D"});
        w.list()->setListIndex(0);
        w.option(2)->click();
        QCOMPARE(w.h->listTexts(), (QStringList{"A", "B", "C", "D", "E"}));
        QCOMPARE(w.h->window().intDisplayNumber, std::int16_t{1}); // position 0 of the new list
    }

    void accessKeyChangesProgress()
    {
        Window w;
        QVERIFY(w.started);
        w.list()->setListIndex(0);
        QTest::keyClick(&w.h->window(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(w.progressFile(), QByteArray("1,1\r\n0,1\r\n"));
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{1});
    }

    void failedSaveIsReportedAndTheChangeStands()
    {
        Window w;
        QVERIFY(w.started);
        QVERIFY(QFile::remove(w.dir.filePath(QStringLiteral("clr_stat.dat"))));
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("clr_stat.dat")));
        w.list()->setListIndex(0);
        w.option(1)->click();
        QCOMPARE(w.h->boxes().shown().size(), std::size_t{2});
        QCOMPARE(w.h->boxes().shown().back().text, QStringLiteral("データ書き込み中にエラーが発生しました。"));
        QCOMPARE(w.h->boxes().shown().back().icon, MsgIcon::Critical);
        QVERIFY(w.option(1)->isChecked());
        QCOMPARE(w.label("lblCompletedQuest"), QStringLiteral("コンプリート数： 1"));
        QCOMPARE(w.dir.entries(), QStringList({"Pelko.dat", "Pelko.ini", "clr_stat.dat"}));
    }
};

QTEST_MAIN(TestProgressChange)
#include "tst_progress_change.moc"
