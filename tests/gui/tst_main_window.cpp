// The main window through the real frmMain: its composition, that each control reaches its
// handler, that the handlers re-enter one another without a second prompt or save, where the
// focus, the selection and the scrolling end, and the order of the shutdown; the Help menu and
// the About dialog, and what a screen reader announces. What the lists and files hold is tested
// on the tracker; the start-up's messages in tst_damaged_inputs. (Where the windows stand under
// a window manager is tested in tst_window_frame.)
#include "AppInfo.h"
#include "Layout.h"
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/TerminationSignal.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>

#include <csignal>

using namespace pelko;
using namespace pelko::test;

namespace {

const QUrl kAuthorPage(QStringLiteral("https://pelko.example.jp/"));

// The ink of a text drawn in `room` as the style draws it: from the top of its highest glyph to
// the foot of its lowest (a Japanese face's line is much taller than its glyphs), and across its
// glyphs (a wrapped text: across its lines).
QRectF textInk(const QWidget *w, const QRectF &room, int flags, const QString &text)
{
    const QFontMetricsF fm(w->font());
    const QRectF line = fm.boundingRect(room, flags, text);
    const QRectF glyphs = fm.tightBoundingRect(QString(text).remove(u'&').remove(u'\n'));
    const bool wrapped = flags & Qt::TextWordWrap;
    return QRectF(wrapped ? line.left() : line.left() + glyphs.left(),
                  line.top() + fm.ascent() + glyphs.top(), wrapped ? line.width() : glyphs.width(),
                  line.height() - fm.ascent() - fm.descent() + glyphs.height());
}

// A glyph's box is whole pixels, rounded outwards: up to a pixel past an edge is anti-aliasing.
constexpr qreal kEdge = 1;
bool within(const QRectF &ink, const QRectF &box)
{
    return box.adjusted(-kEdge, -kEdge, kEdge, kEdge).contains(ink);
}

QString shown(const QRectF &r)
{
    return QStringLiteral("x %1..%2 y %3..%4")
        .arg(r.left(), 0, 'f', 1)
        .arg(r.right(), 0, 'f', 1)
        .arg(r.top(), 0, 'f', 1)
        .arg(r.bottom(), 0, 'f', 1);
}

// What the player would see wrong in a window's client area: a text, a mark or a picture not
// whole inside its control, any two of them (or a box that a control draws) meeting, a control
// outside its container.
QStringList layoutFaults(QWidget *client)
{
    QStringList faults;
    std::vector<std::pair<QString, QRectF>> drawn;
    for (QWidget *w : client->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || !w->isVisibleTo(client))
            continue;
        const QPointF at = w->mapTo(client, QPoint());
        const QRectF box(at, w->size());
        const QWidget *parent = w->parentWidget();
        if (!QRectF(parent->mapTo(client, QPoint()), parent->size()).contains(box))
            faults << name + " outside its container";
        const QStyle *style = w->style();
        QRectF room = box;
        std::vector<QRectF> inks{box};
        if (auto *l = qobject_cast<QLabel *>(w)) {
            room = QRectF(l->contentsRect()).translated(at);
            const int wrap = l->wordWrap() ? int(Qt::TextWordWrap) : 0;
            inks = {l->pixmap().isNull()
                        ? textInk(l, room, int(l->alignment()) | wrap, l->text())
                        : QRectF(QStyle::alignedRect(l->layoutDirection(), l->alignment(),
                                                     l->pixmap().deviceIndependentSize().toSize(),
                                                     l->contentsRect()))
                              .translated(at)};
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && b->isCheckable()) {
            QStyleOptionButton o;
            o.initFrom(b);
            o.text = b->text();
            const bool radio = qobject_cast<QRadioButton *>(b);
            const QRectF mark = style->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &o, b);
            const QRectF text = style->subElementRect(
                radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &o, b);
            inks = {mark.translated(at),
                    textInk(b, text.translated(at), Qt::AlignLeft | Qt::AlignVCenter, b->text())};
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            QStyleOptionGroupBox o;
            o.initFrom(g);
            o.text = g->title();
            o.lineWidth = 1;
            o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRectF title =
                style->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
            inks = {textInk(g, title.translated(at), Qt::AlignCenter, g->title())};
        } else if (auto *p = qobject_cast<QPushButton *>(w)) {
            QStyleOptionButton o;
            o.initFrom(p);
            o.text = p->text();
            const QRectF text = style->subElementRect(QStyle::SE_PushButtonContents, &o, p);
            room = text.translated(at);
            if (const QRectF ink = textInk(p, room, Qt::AlignCenter, p->text()); !within(ink, room))
                faults << name + " cut: " + shown(ink) + " in " + shown(room);
            room = box;
        }
        for (const QRectF &ink : inks) {
            if (!within(ink, room))
                faults << name + " cut: " + shown(ink) + " in " + shown(room);
            for (const auto &[other, seen] : drawn)
                if (ink.intersects(seen.adjusted(kEdge, kEdge, -kEdge, -kEdge)))
                    faults << name + " overlaps " + other + ": " + shown(ink & seen);
        }
        for (const QRectF &ink : inks)
            drawn.emplace_back(name, ink);
    }
    return faults;
}

const QByteArray kConfirm = "0,0,0,0\r\n";
const QString kCompleted = QStringLiteral("コンプリート数： %1");

// Quests E to A in rows 1 to 5, listed A to E, with quest numbers 2, 4, 5, 1, 3; C and D form a
// chain; A is in 真のフィオーレの島 (code 9, the eighth item, after the gap at code 8), the
// others in code 1.
struct Window : TestWindow {
    explicit Window(const QByteArray &progress = "0,0\r\n", const QByteArray &ini = kConfirm)
        : TestWindow(quests(), progress, ini)
    {}
    static std::vector<Quest> quests()
    {
        return {{1, 0, 2, "E"},
                {1, 0, 4, "D"},
                {1, 110, 5, "C"},
                {1, 111, 1, "B"},
                {9, 0, 3, "A", "", "x\\ny"}};
    }
    void search(const QString &keyword)
    {
        child<TextBox>("txtSearchItems")->setText(keyword);
        QTest::mouseClick(child<QPushButton>("cmdSearchItems"), Qt::LeftButton);
    }
    int shown() { return window().intDisplayNumber; }
    // No quest shown, no progress selected or changeable.
    bool paneEmpty()
    {
        return child<QLineEdit>("txtClient")->text().isEmpty()
               && child<QPlainTextEdit>("txtProcess")->toPlainText().isEmpty()
               && !child<QGroupBox>("QuestState")->isEnabled() && !option(0)->isEnabled()
               && !option(0)->isChecked() && !option(1)->isChecked() && !option(2)->isChecked()
               && shown() == 0;
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void composition()
    {
        Window w;
        frmMain &main = w.window();
        // The title and the About dialog show the build's version, formatted so.
        QCOMPARE(main.windowTitle(), mainWindowTitle(kVersionMajor, kVersionMinor));
        QCOMPARE(mainWindowTitle(2, 5), "ペルコ for Verdania  Version 2.05");
        QCOMPARE(mainWindowTitle(1, 123), "ペルコ for Verdania  Version 1.23");
        QCOMPARE(aboutVersionText(3, 7, 0), "Version 3.07.00");
        QCOMPARE(aboutVersionText(1, 99, 123), "Version 1.99.23");
        QCOMPARE(main.minimumSize(), main.maximumSize());
        QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
        // The client area's size; the rightmost control ends exactly at its edge.
        const qreal dpi = screenDpi(&main);
        QCOMPARE(main.centralWidget()->size(), QSize(twipsToPixels(kMainClientWidth, dpi),
                                                     twipsToPixels(kMainClientHeight, dpi)));
        QCOMPARE(w.child<QWidget>("chkMsgBox")->geometry().right() + 1,
                 twipsToPixels(5280, dpi) + twipsToPixels(3375, dpi));
        // The tab order; the search button and the options are skipped while disabled.
        w.child<QWidget>("cboCountry")->setFocus();
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited.join(' '), "cboCountry cboState txtSearchItems chkTreeView lstQuestList "
                                    "txtClient txtProcess chkMsgBox txtReward1 txtReward2 "
                                    "cboCountry");
    }

    // Every text of both windows whole and apart, the counters at their largest, in the face
    // and at the resolution the test runs with: CTest runs this for each Japanese face the
    // package can bring, alone (PELKO_TEST_FACE names it), at 96, 120, 144 and 192 dpi.
    void textsWhole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("rate");
        addRow("main window, every quest cleared", "frmMain", "100");
        addRow("main window, a third cleared", "frmMain", "33.33");
        addRow("About dialog", "frmAbout", "");
    }

    void textsWhole()
    {
        QFETCH(QString, window);
        QFETCH(QString, rate);
        const QString face = qEnvironmentVariable("PELKO_TEST_FACE");
        if (!face.isEmpty() && !QFontDatabase::hasFamily(face))
            QSKIP("the face is not installed");
        Window w;
        if (!face.isEmpty())
            QCOMPARE(QFontInfo(QApplication::font()).family(), face);
        if (const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI"))
            QCOMPARE(screenDpi(&w.window()), qreal(dpi));
        QStringList faults;
        if (window == "frmAbout") {
            whileModalShown([&] { w.child<QAction>("mnuHelpAbort")->trigger(); },
                            [&](QDialog *d) { faults << d->objectName() << layoutFaults(d); });
        } else {
            const std::pair<QString, QString> largest[] = {
                {"lblDisplayQuest", "表示数： 32766"},
                {"lblNumberOfContents", "登録クエスト数： 32766"},
                {"lblCompletedQuest", "コンプリート数： 32766"},
                {"lblCompletePercentage", "クリア率： " + rate + "％"}};
            for (const auto &[label, text] : largest)
                w.child<QLabel>(label)->setText(text);
            faults << w.window().objectName() << layoutFaults(w.window().centralWidget());
        }
        QVERIFY2(faults == QStringList{window}, qPrintable(faults.join(u'\n')));
    }

    void selectorsRebuildTheList()
    {
        Window w("4,1\r\n0,4\r\n");
        QCOMPARE(w.listTexts(), QStringList({"A", "B", "C", "D", "E"}));
        w.child<ComboBox>("cboState")->setListIndex(2);
        QCOMPARE(w.listTexts(), QStringList{"D"});
        QCOMPARE(w.label("lblDisplayQuest"), "表示数： 1");
        w.child<ComboBox>("cboState")->setListIndex(0);
        w.child<ComboBox>("cboCountry")->setListIndex(2); // no quest in ミルテラ大陸
        QCOMPARE(w.listTexts(), QStringList{});
        w.child<ComboBox>("cboCountry")->setListIndex(8);
        QCOMPARE(w.listTexts(), QStringList{"A"});
        w.child<ComboBox>("cboCountry")->setListIndex(1);
        w.child<CheckBox>("chkTreeView")->click();
        QCOMPARE(w.listTexts(), QStringList({"E", "D", "C", "　└B"}));
        w.list()->setListIndex(3); // the tree entry shows its own quest
        QCOMPARE(w.shown(), 4);
    }

    void searchButtonAndKeyword()
    {
        // D cleared; "やっていない" and the tree view chosen: a search result is still flat and
        // keeps to the selectors.
        Window w("4,1\r\n0,4\r\n", "0,1,1,0\r\n");
        auto *button = w.child<QPushButton>("cmdSearchItems");
        auto *keyword = w.child<TextBox>("txtSearchItems");
        QVERIFY(!button->isEnabled());
        QTest::keyClicks(keyword, "x\\n");
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(w.listTexts(), QStringList{"A"});
        w.search("D");
        QCOMPARE(w.listTexts(), QStringList{});
        keyword->clear();
        QVERIFY(!button->isEnabled());
        // Enter searches too.
        QTest::keyClicks(keyword, "B");
        QTest::keyClick(keyword, Qt::Key_Return);
        QCOMPARE(w.listTexts(), QStringList{"B"});
        // An empty keyword is refused with a notice, leaving the list as it was.
        keyword->clear();
        button->setEnabled(true);
        button->click();
        QCOMPARE(w.messages(), QStringList{"information: アイテム名などを入力してから\r\n"
                                           "検索ボタンを押してください"});
        QCOMPARE(w.listTexts(), QStringList{"B"});
        // Any selector change replaces the result with the ordinary list.
        w.child<ComboBox>("cboState")->setListIndex(0);
        QCOMPARE(w.listTexts().size(), 5);
    }

    void selectingShowsTheQuestWithoutAPrompt()
    {
        Window w("3,2\r\n0,6\r\n");
        QVERIFY(w.paneEmpty());
        w.list()->setListIndex(0); // A
        QCOMPARE(w.shown(), 5);
        QCOMPARE(w.child<QPlainTextEdit>("txtProcess")->toPlainText(), "x\ny");
        QVERIFY(w.option(2)->isChecked());
        QVERIFY(w.child<QGroupBox>("QuestState")->isEnabled() && w.option(1)->isEnabled());
        // The arrow key shows the next quest like a click; showing never prompts or saves.
        w.list()->setFocus();
        QTest::keyClick(w.list(), Qt::Key_Down);
        QCOMPARE(w.shown(), 4);
        QVERIFY(w.option(0)->isChecked());
        w.option(0)->click(); // the option already selected
        // A rebuild empties the pane, raising neither handler.
        w.child<CheckBox>("chkTreeView")->click();
        QVERIFY(w.paneEmpty());
        QCOMPARE(w.messages(), QStringList{});
        QCOMPARE(w.saves("clr_stat.dat"), 0);
        // The access key of an option changes the progress.
        w.list()->setListIndex(0);
        w.boxes().answerNext(MsgResult::Ok);
        QTest::keyClick(&w.window(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(w.saves("clr_stat.dat"), 1);
        QCOMPARE(w.file("clr_stat.dat"), "2,1\r\n3,2\r\n0,8\r\n"); // E, first in the tree
    }

    void cancelRevertsWithoutASecondPrompt()
    {
        Window w("2,2\r\n0,4\r\n");
        w.list()->setListIndex(4); // E, on hold
        w.boxes().answerNext(MsgResult::Cancel);
        w.option(1)->click();
        QCOMPARE(w.messages(),
                 QStringList{
                     "「E」の\r\nクリア状況を「コンプリート」に変更します。\r\nよろしいですか？"});
        const ShownMessage &box = w.boxes().shown().front();
        QCOMPARE(box.buttons, MsgButtons::OkCancel);
        QCOMPARE(box.title, "ペルコ for Verdania");
        QVERIFY(w.option(2)->isChecked() && !w.option(1)->isChecked());
        QVERIFY(w.list()->hasFocus());
        QCOMPARE(w.saves("clr_stat.dat"), 0);
        QCOMPARE(w.label("lblCompletedQuest"), kCompleted.arg(0));
    }

    // After an accepted change the list is rebuilt and the entry at the position the tracker
    // gives is selected, scrolled to the top, focused and shown; an empty list leaves the pane
    // empty. E (quest 2) is on hold; the filter "やっていない" lists A to D, and a change of the
    // selected entry drops it.
    void acceptedChangeReselectsAPosition_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("keyword"); // searched for first
        QTest::addColumn<int>("select");
        QTest::addColumn<int>("position"); // -1: the list became empty
        QTest::addColumn<int>("shownAfter");
        QTest::addColumn<int>("entries");
        addRow("the next entry takes the place", QByteArray("0,1,0,1\r\n"), "", 1, 1, 3, 3);
        addRow("the only entry: nothing selected", QByteArray("0,3,0,1\r\n"), "", 0, -1, 0, 0);
        addRow("during a search: the ordinary list", QByteArray("0,0,0,1\r\n"), "D", 0, 0, 5, 5);
    }

    void acceptedChangeReselectsAPosition()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, keyword);
        QFETCH(int, select);
        Window w("2,2\r\n0,4\r\n", ini);
        if (!keyword.isEmpty())
            w.search(keyword);
        w.list()->setListIndex(select);
        w.list()->setFocus();
        w.option(1)->click();
        QCOMPARE(w.messages(), QStringList{});
        QCOMPARE(w.saves("clr_stat.dat"), 1);
        QTEST(w.list()->listIndex(), "position");
        QTEST(w.shown(), "shownAfter");
        QVERIFY(w.list()->listIndex() < 0
                    ? w.paneEmpty()
                    : w.list()->hasFocus() && w.child<QGroupBox>("QuestState")->isEnabled());
        QCOMPARE(w.label("lblCompletedQuest"), kCompleted.arg(1));
        QTEST(int(w.listTexts().size()), "entries");
    }

    void changedEntryIsScrolledToTheTop()
    {
        QStringList names;
        for (int i = 0; i < 200; ++i)
            names << QStringLiteral("依頼%1").arg(i, 3, 10, QLatin1Char('0'));
        TestWindow w(namedQuests(names));
        w.list()->setListIndex(120);
        QVERIFY(w.list()->topIndex() < 120); // not yet at the top
        w.option(2)->click();
        QCOMPARE(w.list()->listIndex(), 120);
        QCOMPARE(w.list()->topIndex(), 120);
        QCOMPARE(w.window().intDisplayNumber, 121);
    }

    void secondCopyIsRefused()
    {
        const Folder first(Window::quests(), "0,0\r\n", kConfirm); // one folder, one lock file
        const QString lock = first.filePath("lock");
        MainWindowHarness holder(first, lock), second(first, lock);
        QVERIFY(holder.start());
        QVERIFY(!second.start());
        QCOMPARE(second.messages(),
                 QStringList{"critical: このアプリケーションを\r複数起動することはできません。"});
        QCOMPARE(second.program().endCount, 1);
        QCOMPARE(holder.program().endCount, 0);
    }

    void shutdownWritesSettingsOnce_data()
    {
        QTest::addColumn<int>("how");
        addRow("終了(&Q)", 0);
        addRow("Ctrl+Q while typing a keyword", 1);
        addRow("closing the window", 2);
        addRow("SIGTERM while the About dialog is open", 3);
    }

    void shutdownWritesSettingsOnce()
    {
        QFETCH(int, how);
        Folder dir(Window::quests());
        {
            MainWindowHarness w(dir);
            QVERIFY(w.start());
            w.child<ComboBox>("cboCountry")->setListIndex(12);
            w.child<ComboBox>("cboState")->setListIndex(3);
            w.child<CheckBox>("chkTreeView")->setValue(1);
            if (how == 0) {
                w.child<QAction>("mnuExit")->trigger();
            } else if (how == 1) {
                auto *keyword = w.child<TextBox>("txtSearchItems");
                keyword->setFocus();
                QTest::keyClicks(keyword, "abc");
                QTest::keyClick(keyword, Qt::Key_Q, Qt::ControlModifier);
            } else if (how == 2) {
                w.window().close();
            } else {
                // The dialog is dismissed and the window closed; trigger() returns once it is.
                closeOnTerminationSignal(&w.window());
                QObject guard; // should the signal leave the dialog open, the test does not hang
                bool leftOpen = false;
                QTimer::singleShot(0, &guard, [] { ::raise(SIGTERM); });
                QTimer::singleShot(5000, &guard, [&] {
                    if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                        leftOpen = true, d->reject();
                });
                w.child<QAction>("mnuHelpAbort")->trigger();
                QVERIFY(!leftOpen && !w.window().isVisible());
            }
            QCOMPARE(w.program().endCount, how >= 2 ? 0 : 1);
            QCOMPARE(w.saves("Pelko.ini"), 1);
            QCOMPARE(dir.file("Pelko.ini"), "12,3,1,0\r\n");
            dir.write("Pelko.ini", "");
        }
        // Destroying the window does not save again; the progress file was not touched.
        QCOMPARE(dir.file("Pelko.ini"), "");
        QCOMPARE(dir.file("clr_stat.dat"), "0,0\r\n");
    }

    // A signal while the quit's own write-error box waits for an answer ends the program with
    // status 1, however the quit came, and the box is the only one shown.
    void signalDuringQuitsWriteError_data()
    {
        QTest::addColumn<bool>("fromMenu");
        addRow("終了(&Q)", true);
        addRow("closing the window", false);
    }

    void signalDuringQuitsWriteError()
    {
        QFETCH(bool, fromMenu);
        Folder dir(Window::quests(), "0,0\r\n");
        QVERIFY(QDir(dir.path()).mkdir("Pelko.ini")); // never saved over
        MainWindowHarness w(dir);
        QVERIFY(w.start());
        closeOnTerminationSignal(&w.window());
        w.boxes().whileNextShown([] {
            ::raise(SIGTERM);
            QCoreApplication::processEvents();
        });
        if (fromMenu)
            w.child<QAction>("mnuExit")->trigger();
        else
            w.window().close();
        QCOMPARE(w.messages(), QStringList{"critical: " + kWriteError});
        QCOMPARE(w.program().lastStatus, 1);
        QVERIFY(!w.window().isVisible());
    }

    // Opened by Ctrl+A in the keyword box: its texts, icon and layout; a click on the address
    // opens the author's page and leaves the dialog open; Esc closes it.
    void ctrlAShowsAbout()
    {
        Window w;
        auto *keyword = w.child<QLineEdit>("txtSearchItems");
        keyword->setFocus();
        QTest::keyClick(keyword, Qt::Key_W, Qt::ControlModifier);
        QStringList seen;
        whileModalShown(
            [&] { QTest::keyClick(keyword, Qt::Key_A, Qt::ControlModifier); },
            [&](QDialog *d) {
                const QSize icon = d->findChild<QLabel *>("picIcon")->pixmap().size();
                seen << d->objectName() << d->windowTitle()
                     << d->findChild<QLabel *>("lblVersion")->text()
                     << QStringLiteral("icon %1x%2").arg(icon.width()).arg(icon.height());
                QTest::mouseClick(d->findChild<QLabel *>("lblURL"), Qt::LeftButton);
                seen << (QApplication::activeModalWidget() == d ? "open after a click on lblURL"
                                                                : "closed by a click on lblURL");
                QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
                seen << (d->isVisible() ? "open after Esc" : "closed by Esc");
            });
        QCOMPARE(seen,
                 QStringList({"frmAbout", QStringLiteral("ペルコ for Verdaniaのバージョン情報"),
                              aboutVersionText(), "icon 48x48", "open after a click on lblURL",
                              "closed by Esc"}));
        // The menu and Ctrl+W open the author's page too.
        w.child<QAction>("mnuCallWeb")->trigger();
        QCOMPARE(w.program().opened, std::vector<QUrl>(3, kAuthorPage));
    }

    // Centred over the main window's outer frame, also after the main window has moved, and
    // near a screen edge not pulled back onto the screen.
    void centredOverTheMainWindow()
    {
        Window w;
        QWidget &main = w.window();
        const QRect screen = main.screen()->geometry(), frame = main.frameGeometry();
        const QPoint third = QPoint(frame.width(), frame.height()) / 3;
        for (const QPoint to : {main.pos(), main.pos() + QPoint(37, -23),
                                screen.bottomRight() - third, screen.topLeft() - 2 * third}) {
            main.move(to);
            QTRY_COMPARE(main.pos(), to);
            // Both measured while it is shown: on closing, the main window's frame can shift.
            QPointF off(999, 999);
            whileModalShown([&] { w.child<QAction>("mnuHelpAbort")->trigger(); },
                            [&](QDialog *d) {
                                off = QRectF(d->frameGeometry()).center()
                                      - QRectF(main.frameGeometry()).center();
                            });
            QCOMPARE_LE(qMax(qAbs(off.x()), qAbs(off.y())), 1.0); // the pixel rounding takes
        }
    }

    // What a screen reader announces for each control that takes input. On Linux Qt names a
    // combo box after its current item and gives the caption through the labelled-by relation,
    // which AT-SPI readers announce as the box's name.
    void accessibleNames()
    {
        const QStringList expected =
            QStringLiteral(
                "cboCountry クエスト発生場所\ncboState クリア状況\n"
                "txtSearchItems キーワードから逆引き\ncmdSearchItems 検索\n"
                "chkTreeView 連続クエストをツリー表示\nlstQuestList クエスト一覧\n"
                "optQuestState0 やっていない(Z)\noptQuestState2 保留(X)\n"
                "optQuestState1 クリア(C)\ntxtClient 受注場所\n"
                "txtProcess クエスト内容・クリア方法\ntxtReward1 報　酬\n"
                "chkMsgBox クリア状況を変更するときに確認しない\ntxtReward2 リプレイ報酬")
                .split(u'\n');
        Window w;
        QStringList announced;
        for (const QString &row : expected) {
            const QString control = row.section(u' ', 0, 0);
            auto *a = QAccessible::queryAccessibleInterface(w.child<QWidget>(control));
            const auto labels = a->relations(QAccessible::Label);
            announced << control + u' '
                             + (a->role() == QAccessible::ComboBox && !labels.isEmpty()
                                    ? labels.first().first->text(QAccessible::Name)
                                    : a->text(QAccessible::Name));
        }
        QCOMPARE(announced, expected);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
