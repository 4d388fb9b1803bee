// The main window's composition, its start-up and its shutdown, through the real frmMain.
#include "AppInfo.h"
#include "DatabaseBuilder.h"
#include "MainLayout.h"
#include "MainWindowHarness.h"
#include "WorkDir.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kNotice = QStringLiteral(
    "登録されているクエスト情報は、作者が独自に調査したものの他に、\r\n"
    "書籍やインターネットで調べた情報が含まれています。\r\n"
    "よって、本ソフトの使用によって不利益や損害が発生したとしても\r\n"
    "作者はいかなる保証もしないことをあらかじめご了承ください。\r\n"
    "　\r\n"
    "また本ソフトはその性質上、ネタバレ情報が多分に含まれています\r\n"
    "のでご注意ください。");
const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");
const QString kWriteError = QStringLiteral("データ書き込み中にエラーが発生しました。");

// One quest in every named region and one in the unnamed code 8.
std::vector<Quest> regionQuests()
{
    std::vector<Quest> quests;
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 20}) {
        Quest q;
        q.region = code;
        q.name = QStringLiteral("地域%1の依頼").arg(code);
        quests.push_back(q);
    }
    return quests;
}

void writeDatabase(const WorkDir &dir)
{
    dir.write(QStringLiteral("Pelko.dat"), databaseBytes(regionQuests()));
    dir.write(QStringLiteral("clr_stat.dat"), "0,0\r\n");
}

QStringList comboItems(ComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void composition()
    {
        WorkDir dir;
        writeDatabase(dir);
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        frmMain &w = h.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("ペルコ for Verdania  Version 1.10"));
        QCOMPARE(mainWindowTitle(1, 5), QStringLiteral("ペルコ for Verdania  Version 1.05"));
        QCOMPARE(mainWindowTitle(1, 123), QStringLiteral("ペルコ for Verdania  Version 1.23"));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);

        QCOMPARE(comboItems(h.child<ComboBox>(QStringLiteral("cboCountry"))),
                 (QStringList{QStringLiteral("（すべて）"), QStringLiteral("ヴォルカナ大陸"),
                              QStringLiteral("ミルテラ大陸"), QStringLiteral("シルヴァ大陸"),
                              QStringLiteral("コロネ大陸"), QStringLiteral("マリス諸島"),
                              QStringLiteral("偽りのアストリア"), QStringLiteral("真のアストリア"),
                              QStringLiteral("真のフィオーレの島"), QStringLiteral("ベルカ島"),
                              QStringLiteral("ティルト島"), QStringLiteral("灰の領界"),
                              QStringLiteral("その他")}));
        QCOMPARE(comboItems(h.child<ComboBox>(QStringLiteral("cboState"))),
                 (QStringList{QStringLiteral("（すべて）"), QStringLiteral("やっていない"),
                              QStringLiteral("クリア"), QStringLiteral("保留")}));

        // Every control stands inside the client area; the rightmost ends exactly at its edge.
        const qreal dpi = screenDpi(&w);
        const QWidget *client = w.centralWidget();
        QCOMPARE(client->width(), twipsToPixels(kMainClientWidth, dpi));
        for (const QWidget *c : client->findChildren<QWidget *>()) {
            if (c->parentWidget() == client && !c->objectName().isEmpty())
                QVERIFY2(client->rect().contains(c->geometry()), qPrintable(c->objectName()));
        }
        const QWidget *chk = h.child<QWidget>(QStringLiteral("chkMsgBox"));
        QCOMPARE(chk->geometry().right() + 1, twipsToPixels(5280, dpi) + twipsToPixels(3375, dpi));
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblReward1"))->text(), QStringLiteral("報　酬"));
        QCOMPARE(h.child<QGroupBox>(QStringLiteral("QuestState"))->title(), QStringLiteral("クリア状況"));
        QVERIFY(!h.child<QWidget>(QStringLiteral("cmdSearchItems"))->isEnabled());
    }

    void tabOrder()
    {
        WorkDir dir;
        writeDatabase(dir);
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        h.child<QWidget>(QStringLiteral("cboCountry"))->setFocus();
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // The search button and the option buttons are skipped while they are disabled.
        QCOMPARE(visited, (QStringList{QStringLiteral("cboCountry"), QStringLiteral("cboState"),
                                       QStringLiteral("txtSearchItems"), QStringLiteral("chkTreeView"),
                                       QStringLiteral("lstQuestList"), QStringLiteral("txtClient"),
                                       QStringLiteral("txtProcess"), QStringLiteral("chkMsgBox"),
                                       QStringLiteral("txtReward1"), QStringLiteral("txtReward2"),
                                       QStringLiteral("cboCountry")}));
    }

    void progressFileMessages_data()
    {
        QTest::addColumn<QByteArray>("progress"); // "-" for no file
        QTest::addColumn<QString>("message");     // empty: none
        QTest::addColumn<int>("icon");
        QTest::newRow("no file: the first-run notice") << QByteArray("-") << kNotice << int(MsgIcon::Information);
        QTest::newRow("damaged file") << QByteArray("1,1\r\n0,2\r\n") << kDamaged << int(MsgIcon::Critical);
        QTest::newRow("empty file") << QByteArray() << kDamaged << int(MsgIcon::Critical);
        QTest::newRow("good file") << QByteArray("1,1\r\n0,1\r\n") << QString() << 0;
    }

    void progressFileMessages()
    {
        QFETCH(QByteArray, progress);
        QFETCH(QString, message);
        QFETCH(int, icon);
        WorkDir dir;
        dir.write(QStringLiteral("Pelko.dat"), databaseBytes(regionQuests()));
        if (progress != "-")
            dir.write(QStringLiteral("clr_stat.dat"), progress);
        // Twice: nothing at start-up writes the file, so the same message comes every time.
        for (int run = 0; run < 2; ++run) {
            MainWindowHarness h(dir);
            QVERIFY(h.start());
            if (message.isEmpty()) {
                QVERIFY(h.boxes().shown().empty());
                continue;
            }
            QCOMPARE(h.boxes().shown().size(), std::size_t{1});
            QCOMPARE(h.boxes().shown().front().text, message);
            QCOMPARE(int(h.boxes().shown().front().icon), icon);
            QCOMPARE(h.boxes().shown().front().title, applicationTitle());
            QCOMPARE(dir.exists(QStringLiteral("clr_stat.dat")), progress != "-");
        }
    }

    void settingsRestored_data()
    {
        QTest::addColumn<QByteArray>("ini"); // "-" for no file
        QTest::addColumn<int>("country");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("tree");
        QTest::addColumn<int>("noConfirm");
        QTest::newRow("no file") << QByteArray("-") << 0 << 0 << 0 << 0;
        QTest::newRow("12,3,1,1") << QByteArray("12,3,1,1\r\n") << 12 << 3 << 1 << 1;
        QTest::newRow("13 names no region item") << QByteArray("13,0,0,0\r\n") << 0 << 0 << 0 << 0;
        QTest::newRow("4 names no state item") << QByteArray("5,4,1,0\r\n") << 5 << 0 << 1 << 0;
        QTest::newRow("2 is no tree value") << QByteArray("5,2,2,1\r\n") << 5 << 2 << 0 << 1;
        QTest::newRow("-1 is out of range") << QByteArray("0,-1,0,0\r\n") << 0 << 0 << 0 << 0;
        QTest::newRow("four lines") << QByteArray("12\r\n3\r\n1\r\n1\r\n") << 12 << 3 << 1 << 1;
        QTest::newRow("empty file") << QByteArray() << 0 << 0 << 0 << 0;
        QTest::newRow("3,1") << QByteArray("3,1\r\n") << 3 << 1 << 0 << 0;
    }

    void settingsRestored()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, country);
        QFETCH(int, state);
        QFETCH(int, tree);
        QFETCH(int, noConfirm);
        WorkDir dir;
        writeDatabase(dir);
        if (ini != "-")
            dir.write(QStringLiteral("Pelko.ini"), ini);
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        auto *cboCountry = h.child<ComboBox>(QStringLiteral("cboCountry"));
        QCOMPARE(cboCountry->listIndex(), country);
        QCOMPARE(h.child<ComboBox>(QStringLiteral("cboState"))->listIndex(), state);
        QCOMPARE(h.child<CheckBox>(QStringLiteral("chkTreeView"))->value(), tree);
        QCOMPARE(h.child<CheckBox>(QStringLiteral("chkMsgBox"))->value(), noConfirm);
        // The list was built with the restored selectors.
        const QStringList listed = h.listTexts();
        if (country == 0 && state <= 1)
            QCOMPARE(listed.size(), 13);
        else if (state <= 1)
            QCOMPARE(listed, QStringList{QStringLiteral("地域%1の依頼").arg(country == 12 ? 20 : country)});
        else
            QVERIFY(listed.isEmpty());
        QVERIFY(h.boxes().shown().empty());
        QCOMPARE(h.saves(QStringLiteral("Pelko.ini")), 0);
    }

    void shutdownWritesSettingsOnce_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("終了(&Q)") << true;
        QTest::newRow("closing the window") << false;
    }

    void shutdownWritesSettingsOnce()
    {
        QFETCH(bool, byMenu);
        WorkDir dir;
        writeDatabase(dir);
        {
            MainWindowHarness h(dir);
            QVERIFY(h.start());
            h.child<ComboBox>(QStringLiteral("cboCountry"))->setListIndex(12);
            h.child<ComboBox>(QStringLiteral("cboState"))->setListIndex(3);
            h.child<CheckBox>(QStringLiteral("chkTreeView"))->setValue(1);
            h.child<CheckBox>(QStringLiteral("chkMsgBox"))->setValue(1);
            if (byMenu)
                h.child<QAction>(QStringLiteral("mnuExit"))->trigger();
            else
                h.window().close();
            QCOMPARE(h.program().endCount, byMenu ? 1 : 0);
            QCOMPARE(h.saves(QStringLiteral("Pelko.ini")), 1);
            QCOMPARE(h.saves(QStringLiteral("clr_stat.dat")), 0);
        }
        QCOMPARE(dir.read(QStringLiteral("Pelko.ini")), QByteArray("12,3,1,1\r\n"));
        QCOMPARE(dir.read(QStringLiteral("clr_stat.dat")), QByteArray("0,0\r\n"));
    }

    void ctrlQWhileTyping()
    {
        WorkDir dir;
        writeDatabase(dir);
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        auto *keyword = h.child<TextBox>(QStringLiteral("txtSearchItems"));
        keyword->setFocus();
        QTest::keyClicks(keyword, QStringLiteral("abc"));
        QTest::keyClick(keyword, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(h.program().endCount, 1);
        QCOMPARE(dir.read(QStringLiteral("Pelko.ini")), QByteArray("0,0,0,0\r\n"));
    }

    void failedSettingsSaveStillEnds()
    {
        WorkDir dir;
        writeDatabase(dir);
        // A folder where the file should be cannot be replaced, whoever runs the test.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Pelko.ini")));
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        h.child<QAction>(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(h.boxes().shown().size(), std::size_t{1});
        QCOMPARE(h.boxes().shown().front().text, kWriteError);
        QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
        QCOMPARE(h.program().endCount, 1);
    }

    void unreadableDatabaseEndsAtOnce()
    {
        WorkDir dir;
        dir.write(QStringLiteral("clr_stat.dat"), "1,1\r\n0,1\r\n");
        MainWindowHarness h(dir);
        QVERIFY(!h.start());
        QCOMPARE(h.boxes().shown().size(), std::size_t{1});
        QCOMPARE(h.boxes().shown().front().text,
                 QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。"));
        QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
        QCOMPARE(h.program().endCount, 1);
        QCOMPARE(dir.entries(), QStringList{QStringLiteral("clr_stat.dat")});
    }

    void secondCopyIsRefused()
    {
        WorkDir dir;
        writeDatabase(dir);
        const QString lock = dir.filePath(QStringLiteral("lock"));
        MainWindowHarness first(dir, lock);
        QVERIFY(first.start());
        MainWindowHarness second(dir, lock);
        QVERIFY(!second.start());
        QCOMPARE(second.boxes().shown().size(), std::size_t{1});
        const ShownMessage &box = second.boxes().shown().front();
        QCOMPARE(box.text, QStringLiteral("このアプリケーションを\r複数起動することはできません。"));
        QCOMPARE(box.icon, MsgIcon::Critical);
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(second.program().endCount, 1);
        QVERIFY(first.window().isVisible());
        QCOMPARE(first.program().endCount, 0);
    }

    void emptyDatabaseOpens()
    {
        WorkDir dir;
        dir.write(QStringLiteral("Pelko.dat"), databaseBytes({}));
        dir.write(QStringLiteral("clr_stat.dat"), "0,0\r\n");
        MainWindowHarness h(dir);
        QVERIFY(h.start());
        QVERIFY(h.boxes().shown().empty());
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblNumberOfContents"))->text(),
                 QStringLiteral("登録クエスト数： 0"));
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblDisplayQuest"))->text(), QStringLiteral("表示数： 0"));
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblCompletePercentage"))->text(),
                 QStringLiteral("クリア率： 0％"));
        QVERIFY(h.listTexts().isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
