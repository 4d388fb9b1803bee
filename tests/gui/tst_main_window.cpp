// The main window's composition, its start-up and its shutdown, through the real frmMain.
#include "AppInfo.h"
#include "MainLayout.h"
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/TerminationSignal.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>

#include <csignal>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kNotice =
    QStringLiteral("登録されているクエスト情報は、作者が独自に調査したものの他に、\r\n"
                   "書籍やインターネットで調べた情報が含まれています。\r\n"
                   "よって、本ソフトの使用によって不利益や損害が発生したとしても\r\n"
                   "作者はいかなる保証もしないことをあらかじめご了承ください。\r\n"
                   "　\r\n"
                   "また本ソフトはその性質上、ネタバレ情報が多分に含まれています\r\n"
                   "のでご注意ください。");
const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");

// One quest in every named region and one in the unnamed code 8.
std::vector<Quest> regionQuests()
{
    std::vector<Quest> quests;
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 20})
        quests.push_back({code, 0, 0, QStringLiteral("地域%1の依頼").arg(code)});
    return quests;
}

QString comboItems(ComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items.join(QLatin1Char('|'));
}

const ShownMessage &onlyBox(TestWindow &w)
{
    if (w.h->boxes().shown().size() != 1)
        qFatal("expected exactly one message box");
    return w.h->boxes().shown().front();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void composition()
    {
        TestWindow w(regionQuests());
        QVERIFY(w.started);
        frmMain &main = w.h->window();
        QCOMPARE(main.windowTitle(), QStringLiteral("ペルコ for Verdania  Version 1.10"));
        QCOMPARE(mainWindowTitle(1, 5), QStringLiteral("ペルコ for Verdania  Version 1.05"));
        QCOMPARE(mainWindowTitle(1, 123), QStringLiteral("ペルコ for Verdania  Version 1.23"));
        QCOMPARE(main.minimumSize(), main.maximumSize());
        QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(comboItems(w.child<ComboBox>("cboCountry")),
                 QStringLiteral("（すべて）|ヴォルカナ大陸|ミルテラ大陸|シルヴァ大陸|コロネ大陸|"
                                "マリス諸島|偽りのアストリア|真のアストリア|真のフィオーレの島|"
                                "ベルカ島|ティルト島|灰の領界|その他"));
        QCOMPARE(comboItems(w.child<ComboBox>("cboState")),
                 QStringLiteral("（すべて）|やっていない|クリア|保留"));
        // Every control stands inside the client area; the rightmost ends exactly at its edge.
        const qreal dpi = screenDpi(&main);
        const QWidget *client = main.centralWidget();
        QCOMPARE(client->width(), twipsToPixels(kMainClientWidth, dpi));
        for (const QWidget *c :
             client->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(client->rect().contains(c->geometry()), qPrintable(c->objectName()));
        QCOMPARE(w.child<QWidget>("chkMsgBox")->geometry().right() + 1,
                 twipsToPixels(5280, dpi) + twipsToPixels(3375, dpi));
        QCOMPARE(w.label("lblReward1"), QStringLiteral("報　酬"));
    }

    void tabOrder()
    {
        TestWindow w(regionQuests());
        QVERIFY(w.started);
        w.child<QWidget>("cboCountry")->setFocus();
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // The search button and the option buttons are skipped while they are disabled.
        QCOMPARE(visited.join(QLatin1Char(' ')),
                 QStringLiteral("cboCountry cboState txtSearchItems chkTreeView lstQuestList "
                                "txtClient txtProcess chkMsgBox txtReward1 txtReward2 cboCountry"));
    }

    void progressFileMessages_data()
    {
        QTest::addColumn<QByteArray>("progress"); // "-" for no file
        QTest::addColumn<QString>("message");     // empty: none
        QTest::addColumn<int>("icon");
        QTest::newRow("no file: the first-run notice") << QByteArray("-") << kNotice << int(MsgIcon::Information);
        QTest::newRow("damaged file") << QByteArray("1,1\r\n0,2\r\n") << kDamaged << int(MsgIcon::Critical);
        QTest::newRow("good file") << QByteArray("1,1\r\n0,1\r\n") << QString() << 0;
    }

    void progressFileMessages()
    {
        QFETCH(QByteArray, progress);
        QFETCH(QString, message);
        QFETCH(int, icon);
        TestWindow w(regionQuests(), progress == "-" ? std::nullopt : std::optional(progress));
        QVERIFY(w.started);
        // Again: nothing at start-up writes the file, so the same message comes every time.
        MainWindowHarness again(w.dir);
        QVERIFY(again.start());
        for (MainWindowHarness *h : {w.h.get(), &again}) {
            QCOMPARE(h->boxes().shown().size(), std::size_t(message.isEmpty() ? 0 : 1));
            if (!message.isEmpty()) {
                QCOMPARE(h->boxes().shown().front().text, message);
                QCOMPARE(int(h->boxes().shown().front().icon), icon);
            }
        }
        QCOMPARE(w.dir.exists(QStringLiteral("clr_stat.dat")), progress != "-");
    }

    // Each restored choice reaches its control, and the list is built with them.
    void settingsRestored()
    {
        TestWindow w(regionQuests(), QByteArray("0,0\r\n"), QByteArray("12,1,1,1\r\n"));
        QVERIFY(w.started);
        QCOMPARE((QList<int>{w.child<ComboBox>("cboCountry")->listIndex(),
                             w.child<ComboBox>("cboState")->listIndex(),
                             w.child<CheckBox>("chkTreeView")->value(),
                             w.child<CheckBox>("chkMsgBox")->value()}),
                 (QList<int>{12, 1, 1, 1}));
        QCOMPARE(w.h->listTexts(), QStringList{QStringLiteral("地域20の依頼")});
        QCOMPARE(w.label("lblDisplayQuest"), QStringLiteral("表示数： 1"));
        QCOMPARE(w.label("lblNumberOfContents"), QStringLiteral("登録クエスト数： 13"));
        QVERIFY(w.h->boxes().shown().empty());
        QCOMPARE(w.h->saves(QStringLiteral("Pelko.ini")), 0);
    }

    void shutdownWritesSettingsOnce_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("終了(&Q)") << 0;
        QTest::newRow("Ctrl+Q while typing a keyword") << 1;
        QTest::newRow("closing the window") << 2;
        QTest::newRow("SIGTERM while the About dialog is open") << 3;
    }

    void shutdownWritesSettingsOnce()
    {
        QFETCH(int, how);
        TestWindow w(regionQuests());
        QVERIFY(w.started);
        w.child<ComboBox>("cboCountry")->setListIndex(12);
        w.child<ComboBox>("cboState")->setListIndex(3);
        w.child<CheckBox>("chkTreeView")->setValue(1);
        if (how == 0) {
            w.child<QAction>("mnuExit")->trigger();
        } else if (how == 1) {
            auto *keyword = w.child<TextBox>("txtSearchItems");
            keyword->setFocus();
            QTest::keyClicks(keyword, QStringLiteral("abc"));
            QTest::keyClick(keyword, Qt::Key_Q, Qt::ControlModifier);
        } else if (how == 2) {
            w.h->window().close();
        } else {
            // The dialog is dismissed and the window closed; trigger() returns once it is.
            closeOnTerminationSignal(&w.h->window());
            QObject guard; // should the signal leave the dialog open, the test does not hang
            bool leftOpen = false;
            QTimer::singleShot(0, &guard, [] { ::raise(SIGTERM); });
            QTimer::singleShot(5000, &guard, [&] {
                if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    leftOpen = true, d->reject();
            });
            w.child<QAction>("mnuHelpAbort")->trigger();
            QVERIFY(!leftOpen);
            QVERIFY(!w.h->window().isVisible());
        }
        QCOMPARE(w.h->program().endCount, how >= 2 ? 0 : 1);
        w.h.reset(); // destroying the window must not save again
        QCOMPARE(w.file(QStringLiteral("Pelko.ini")), QByteArray("12,3,1,1\r\n"));
        QCOMPARE(w.file(QStringLiteral("clr_stat.dat")), QByteArray("0,0\r\n"));
    }

    void failedSettingsSaveStillEnds()
    {
        TestWindow w(regionQuests(), QByteArray("0,0\r\n"), std::nullopt);
        QVERIFY(w.started);
        // A folder where the file should be cannot be replaced, whoever runs the test.
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("Pelko.ini")));
        w.child<QAction>("mnuExit")->trigger();
        QCOMPARE(onlyBox(w).text, QStringLiteral("データ書き込み中にエラーが発生しました。"));
        QCOMPARE(onlyBox(w).icon, MsgIcon::Critical);
        QCOMPARE(w.h->program().endCount, 1);
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
        QCOMPARE(h.program().lastStatus, 1); // the program's exit status
        QCOMPARE(dir.entries(), QStringList{QStringLiteral("clr_stat.dat")});
    }

    void secondCopyIsRefused()
    {
        TestWindow first(regionQuests());
        const QString lock = first.dir.filePath(QStringLiteral("lock"));
        MainWindowHarness holder(first.dir, lock);
        QVERIFY(holder.start());
        MainWindowHarness second(first.dir, lock);
        QVERIFY(!second.start());
        QCOMPARE(second.boxes().shown().size(), std::size_t{1});
        QCOMPARE(second.boxes().shown().front().text,
                 QStringLiteral("このアプリケーションを\r複数起動することはできません。"));
        QCOMPARE(second.boxes().shown().front().icon, MsgIcon::Critical);
        QCOMPARE(second.program().endCount, 1);
        QCOMPARE(holder.program().endCount, 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
