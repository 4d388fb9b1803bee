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
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <csignal>
#include <map>

using namespace pelko;
using namespace pelko::test;

namespace {

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

QString shown(const QRectF &r)
{
    QString s;
    QDebug(&s).nospace() << r;
    return s;
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
        const auto cut = [&](const QRectF &ink, const QRectF &room) {
            if (!room.adjusted(-kEdge, -kEdge, kEdge, kEdge).contains(ink))
                faults << name + " cut: " + shown(ink) + " in " + shown(room);
        };
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
            const QRectF text =
                QRectF(style->subElementRect(QStyle::SE_PushButtonContents, &o, p)).translated(at);
            cut(textInk(p, text, Qt::AlignCenter, p->text()), text); // and the button's box
        }
        for (const QRectF &ink : inks) {
            cut(ink, room);
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

// Quests E to A in rows 1 to 5, listed A to E, with quest numbers 2, 4, 5, 1, 3; C and D form a
// chain; E has both rewards; A, taken at 港, is in 真のフィオーレの島 (code 9, the eighth item,
// after the gap at code 8), the others in code 1.
const std::vector<Quest> kQuests{{1, 0, 2, "E", "", "", "報酬E", "再E"},
                                 {1, 0, 4, "D"},
                                 {1, 110, 5, "C"},
                                 {1, 111, 1, "B"},
                                 {9, 0, 3, "A", "港", "x\\ny"}};

// One step of a script on the window (see drivenStepByStep): an action reads nothing; a probe
// ("=name") what it reads.
QString step(TestWindow &w, const QString &word, const QString &arg)
{
    auto *keyword = w.child<TextBox>("txtSearchItems");
    auto *search = w.child<QPushButton>("cmdSearchItems");
    const auto options = [&](auto is) { // options 0, 1 and 2
        QString flags;
        for (int k = 0; k < 3; ++k)
            flags += (w.option(k)->*is)() ? u'1' : u'0';
        return flags;
    };
    // An access key clicks its option once the press has been shown.
    const auto press = [&](QKeyCombination key) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        static_cast<void>(
            QTest::qWaitFor([&] { return options(&QAbstractButton::isDown) == "000"; }));
    };
    const std::map<QString, std::function<void()>> actions{
        {"country", [&] { w.child<ComboBox>("cboCountry")->setListIndex(arg.toInt()); }},
        {"state", [&] { w.child<ComboBox>("cboState")->setListIndex(arg.toInt()); }},
        {"tree", [&] { w.child<CheckBox>("chkTreeView")->click(); }},
        {"type", [&] { keyword->setFocus(), QTest::keyClicks(keyword, arg); }},
        {"clear", [&] { keyword->clear(); }},
        {"enable", [&] { search->setEnabled(true); }},
        {"search", [&] { QTest::mouseClick(search, Qt::LeftButton); }},
        {"key", [&] { press(QKeySequence(arg)[0]); }},
        {"select", [&] { w.list()->setListIndex(arg.toInt()); }},
        {"focus", [&] { w.list()->setFocus(); }},
        {"option", [&] { w.option(arg.toInt())->click(); }},
        {"answer", [&] { w.boxes().answerNext(arg == "Ok" ? MsgResult::Ok : MsgResult::Cancel); }},
    };
    const auto number = [](int n) { return QString::number(n); };
    const std::map<QString, std::function<QString()>> probes{
        {"=list", [&] { return w.listTexts().join(' '); }},
        {"=at", [&] { return number(w.list()->listIndex()); }},
        {"=top", [&] { return number(w.list()->topIndex()); }},
        {"=shown", [&] { return number(w.window().intDisplayNumber); }},
        {"=client", [&] { return w.child<QLineEdit>("txtClient")->text(); }},
        {"=text", [&] { return w.child<QPlainTextEdit>("txtProcess")->toPlainText(); }},
        {"=rewards",
         [&] {
             return w.child<QPlainTextEdit>("txtReward1")->toPlainText() + '|'
                    + w.child<QPlainTextEdit>("txtReward2")->toPlainText();
         }},
        {"=option", [&] { return options(&QAbstractButton::isChecked); }},
        {"=enabled",
         [&] {
             return number(w.child<QGroupBox>("QuestState")->isEnabled())
                    + options(&QWidget::isEnabled);
         }},
        {"=button", [&] { return search->isEnabled() ? "on" : "off"; }},
        {"=focus", [&] { return QApplication::focusWidget()->objectName(); }},
        {"=count", [&] { return w.label("lblDisplayQuest"); }},
        {"=completed", [&] { return w.label("lblCompletedQuest"); }},
        {"=boxes", [&] { return w.messages().join(" / "); }},
        {"=box",
         [&] {
             const ShownMessage &box = w.boxes().shown().back();
             return (box.buttons == MsgButtons::OkCancel ? "OK/Cancel " : "OK ") + box.title;
         }},
        {"=saves", [&] { return number(w.saves("clr_stat.dat")); }},
        {"=progress", [&] { return QString::fromLatin1(w.file("clr_stat.dat")); }},
    };
    if (const auto action = actions.find(word); action != actions.end())
        return action->second(), QString();
    const auto probe = probes.find(word);
    return probe == probes.end() ? "no step " + word : probe->second();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void composition()
    {
        TestWindow w(kQuests);
        frmMain &main = w.window();
        // The title and the About dialog show the build's version, formatted so.
        QCOMPARE(main.windowTitle(), "ペルコ for Verdania  Version 1.10");
        QCOMPARE(
            QStringList({mainWindowTitle(2, 5), mainWindowTitle(1, 123), aboutVersionText(3, 7, 0),
                         aboutVersionText(1, 99, 123)}),
            QStringList({"ペルコ for Verdania  Version 2.05", "ペルコ for Verdania  Version 1.23",
                         "Version 3.07.00", "Version 1.99.23"}));
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
        // What a screen reader announces for each control that takes input. On Linux Qt names a
        // combo box after its current item and gives the caption through the labelled-by
        // relation, which AT-SPI readers announce as the box's name.
        const QStringList announced =
            QStringLiteral(
                "cboCountry クエスト発生場所\ncboState クリア状況\n"
                "txtSearchItems キーワードから逆引き\ncmdSearchItems 検索\n"
                "chkTreeView 連続クエストをツリー表示\nlstQuestList クエスト一覧\n"
                "optQuestState0 やっていない(Z)\noptQuestState2 保留(X)\n"
                "optQuestState1 クリア(C)\ntxtClient 受注場所\n"
                "txtProcess クエスト内容・クリア方法\ntxtReward1 報　酬\n"
                "chkMsgBox クリア状況を変更するときに確認しない\ntxtReward2 リプレイ報酬")
                .split(u'\n');
        for (const QString &row : announced) {
            auto *a =
                QAccessible::queryAccessibleInterface(w.child<QWidget>(row.section(' ', 0, 0)));
            const auto labels = a->relations(QAccessible::Label);
            QCOMPARE(row.section(' ', 0, 0) + ' '
                         + (a->role() == QAccessible::ComboBox && !labels.isEmpty()
                                ? labels.first().first->text(QAccessible::Name)
                                : a->text(QAccessible::Name)),
                     row);
        }
    }

    // Every text of both windows whole and apart, the counters at their largest, in the face
    // and at the resolution the test runs with: CTest runs this for each Japanese face the
    // package can bring, alone (PELKO_TEST_FACE names it), at 96, 120, 144 and 192 dpi.
    void textsWhole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("rate");
        addRow("main window", "frmMain", "33.33"); // the widest rate
        addRow("About dialog", "frmAbout", "");
    }

    void textsWhole()
    {
        QFETCH(QString, window);
        QFETCH(QString, rate);
        const QString face = qEnvironmentVariable("PELKO_TEST_FACE");
        if (!face.isEmpty() && !QFontDatabase::hasFamily(face))
            QSKIP("the face is not installed");
        TestWindow w(kQuests);
        if (!face.isEmpty()) { // a face whose kana are an em wide is taken half a point smaller
            QCOMPARE(QFontInfo(QApplication::font()).family(), face);
            QCOMPARE(QApplication::font().pointSizeF(), face == "IPAPGothic" ? 9.0 : 8.5);
        }
        if (const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI"))
            QCOMPARE(screenDpi(&w.window()), qreal(dpi));
        QStringList faults;
        // The About dialog is 5415 twips wide and at least 2295 high, at each resolution.
        const QSize about = QMap<int, QSize>{
            {96, {361, 153}},
            {120, {451, 191}},
            {144, {542, 230}},
            {192, {722, 306}}}.value(qRound(screenDpi(&w.window())));
        if (window == "frmAbout") {
            whileModalShown(
                [&] { w.child<QAction>("mnuHelpAbort")->trigger(); },
                [&](QDialog *d) {
                    faults << d->objectName() << layoutFaults(d);
                    if (d->width() != about.width() || d->height() < about.height())
                        faults << QStringLiteral("About %1x%2").arg(d->width()).arg(d->height());
                });
        } else {
            // Both reward captions are one row high.
            if (w.child<QLabel>("lblReward1")->height() != w.child<QLabel>("lblReward2")->height())
                faults << "the reward captions differ in height";
            w.child<QLabel>("lblDisplayQuest")->setText("表示数： 32766");
            w.child<QLabel>("lblNumberOfContents")->setText("登録クエスト数： 32766");
            w.child<QLabel>("lblCompletedQuest")->setText("コンプリート数： 32766");
            w.child<QLabel>("lblCompletePercentage")->setText("クリア率： " + rate + "％");
            faults << w.window().objectName() << layoutFaults(w.window().centralWidget());
        }
        QVERIFY2(faults == QStringList{window}, qPrintable(faults.join(u'\n')));
    }

    // The controls driven step by step ("; " between steps). Actions: country/state N (the
    // selector's item), tree (a click on the check box), type TEXT (into the keyword box), clear
    // (the keyword), enable (the search button), search (a click on it), key KEY (to the focused
    // control), select N (a list entry), focus (the list), option K (a click), answer Ok/Cancel
    // (to the next box). Probes: list, at/top (the selected/top entry), shown (the row), client,
    // text, rewards (both, '|' between), option/enabled (options 0 to 2, the frame first), button,
    // focus, count, completed, boxes, box (the last one's buttons and title), saves, progress (the
    // file).
    void drivenStepByStep_data()
    {
        // 0: kQuests; -1: kQuests with C numbered 50, beyond the progress table; else so many
        // named 依頼000 on.
        QTest::addColumn<int>("quests");
        QTest::addColumn<QByteArray>("progress");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("script");
        // The item index is not the region code past the gap at 8; the tree view's entry shows
        // its own quest.
        addRow("selectors and the tree view rebuild the list", 0, QByteArray("4,1\r\n0,4\r\n"),
               kConfirm,
               "=list A B C D E; state 2; =list D; =count 表示数： 1; state 0; country 8; =list A; "
               "country 1; tree; =list E D C 　└B; select 3; =shown 4");
        // D cleared; "やっていない" and the tree view chosen: a search result is still flat and
        // keeps to the selectors; an empty keyword is refused with a notice, leaving the list;
        // any selector change brings back the ordinary list.
        addRow(
            "search button, Enter and keyword", 0, QByteArray("4,1\r\n0,4\r\n"),
            QByteArray("0,1,1,0\r\n"),
            "=button off; type x\\n; =button on; search; =list A; clear; type D; search; =list ; "
            "clear; =button off; type B; key Return; =list B; clear; enable; search; "
            "=boxes information: アイテム名などを入力してから\r\n検索ボタンを押してください; "
            "=list B; state 0; =list E D C 　└B A");
        // The arrow key shows the next quest like a click; a click on the option already
        // selected and a rebuild raise no prompt and no save; an access key changes the progress
        // (E, first in the tree).
        addRow("selecting shows the quest without a prompt", 0, QByteArray("3,2\r\n0,6\r\n"),
               kConfirm,
               "=shown 0; =option 000; =enabled 0000; select 0; =shown 5; =client 港; =text x\ny; "
               "=option 001; =enabled 1111; focus; key Down; =shown 4; =client ; =text ; "
               "=option 100; option 0; tree; =shown 0; =option 000; =enabled 0000; =boxes ; "
               "=saves 0; select 0; answer Ok; key Alt+C; =saves 1; "
               "=progress 2,1\r\n3,2\r\n0,8\r\n");
        addRow("Cancel reverts without a second prompt", 0, QByteArray("2,2\r\n0,4\r\n"), kConfirm,
               "select 4; answer Cancel; option 1; =boxes 「E」の\r\nクリア状況を「コンプリート」に"
               "変更します。\r\nよろしいですか？; =box OK/Cancel ペルコ for Verdania; "
               "=option 001; =focus lstQuestList; =saves 0; =completed コンプリート数： 0");
        // After an accepted change the list is rebuilt and the entry at the position the tracker
        // gives is selected, scrolled to the top, focused and shown; an empty list leaves the
        // pane empty. E is on hold; "やっていない" lists A to D, and a change of the selected
        // entry drops it. The access key leaves the focus on the option it clicked, until the list
        // takes it.
        addRow("accepted: the next entry takes the place", 0, QByteArray("2,2\r\n0,4\r\n"),
               QByteArray("0,1,0,1\r\n"),
               "select 1; key Alt+C; =boxes ; =saves 1; =list A C D; =at 1; =shown 3; "
               "=focus lstQuestList; =enabled 1111; =option 100; =completed コンプリート数： 1");
        addRow("accepted: the only entry, nothing selected", 0, QByteArray("2,2\r\n0,4\r\n"),
               QByteArray("0,3,0,1\r\n"),
               "select 0; =rewards 報酬E|再E; focus; option 1; =boxes ; =saves 1; =list ; =at -1; "
               "=shown 0; =text ; =rewards |; "
               "=enabled 0000; =option 000; =completed コンプリート数： 1");
        addRow("accepted during a search: the ordinary list", 0, QByteArray("2,2\r\n0,4\r\n"),
               QByteArray("0,0,0,1\r\n"),
               "type D; search; =list D; select 0; focus; option 1; =boxes ; =saves 1; "
               "=list A B C D E; =at 0; =shown 5; =focus lstQuestList; =enabled 1111; "
               "=option 100; =completed コンプリート数： 1");
        // E on hold, D (quest 4) holding a value that is no state, C without a progress entry.
        addRow("an unknown state and no progress entry show no option", -1,
               QByteArray("2,2\r\n4,9\r\n0,40\r\n"), kConfirm,
               "select 4; =option 001; select 3; =shown 2; =option 000; =enabled 1111; "
               "select 2; =shown 3; =option 000; =enabled 1000; =boxes ");
        // Entry 120 stands at the list's foot when selected.
        addRow("accepted: the entry scrolled to the top", 200, QByteArray("0,0\r\n"),
               QByteArray("0,0,0,1\r\n"), "select 120; option 2; =at 120; =top 120; =shown 121");
    }

    void drivenStepByStep()
    {
        QFETCH(int, quests);
        QFETCH(QByteArray, progress);
        QFETCH(QByteArray, ini);
        QFETCH(QString, script);
        QStringList names;
        for (int i = 0; i < quests; ++i)
            names << QStringLiteral("依頼%1").arg(i, 3, 10, QLatin1Char('0'));
        std::vector<Quest> fixture = quests > 0 ? namedQuests(names) : kQuests;
        if (quests < 0)
            fixture[2].questNo = 50;
        TestWindow w(fixture, progress, ini);
        for (const QString &s : script.split("; ")) {
            const QString word = s.section(' ', 0, 0), arg = s.section(' ', 1);
            const QString read = step(w, word, arg);
            QVERIFY2(read == (word.startsWith('=') ? arg : QString()),
                     qPrintable(s + "\n   read: " + read));
        }
    }

    void secondCopyIsRefused()
    {
        const Folder dir(kQuests); // one folder, one lock file
        MainWindowHarness holder(dir, dir.filePath("lock")), second(dir, dir.filePath("lock"));
        QVERIFY(holder.start());
        QVERIFY(!second.start());
        QCOMPARE(second.messages(),
                 QStringList{"critical: このアプリケーションを\r複数起動することはできません。"});
        QCOMPARE(second.program().endCount, 1);
        QCOMPARE(holder.program().endCount, 0);
    }

    // The settings are saved once, however the program ends, and destroying the window does not
    // save again. Where they cannot be saved (a folder at Pelko.ini), a signal while the quit's
    // own write-error box waits for an answer ends the program with status 1, and that box is the
    // only one shown. ends: the program's end asked so many times, with this status, and the
    // window.
    void shutdown_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("signalAtBox");
        QTest::addColumn<QString>("ends");
        addRow("終了(&Q)", "menu", true, false, "1 0 open");
        addRow("Ctrl+Q while typing a keyword", "Ctrl+Q", true, false, "1 0 open");
        addRow("closing the window", "close", true, false, "0 0 closed");
        addRow("SIGTERM while the About dialog is open", "SIGTERM", true, false, "0 0 closed");
        addRow("終了(&Q), the write error answered", "menu", false, false, "1 0 open");
        addRow("終了(&Q), SIGTERM at the write error", "menu", false, true, "3 1 closed");
        addRow("closing the window, SIGTERM at the write error", "close", false, true,
               "1 1 closed");
    }

    void shutdown()
    {
        QFETCH(QString, how);
        QFETCH(bool, writable);
        QFETCH(bool, signalAtBox);
        Folder dir(kQuests);
        QVERIFY(writable || QDir(dir.path()).mkdir("Pelko.ini")); // never saved over
        {
            MainWindowHarness w(dir);
            QVERIFY(w.start());
            w.child<ComboBox>("cboCountry")->setListIndex(12);
            w.child<ComboBox>("cboState")->setListIndex(3);
            w.child<CheckBox>("chkTreeView")->setValue(1);
            closeOnTerminationSignal(&w.window());
            if (signalAtBox)
                w.boxes().whileNextShown([] {
                    ::raise(SIGTERM);
                    QCoreApplication::processEvents();
                });
            bool leftOpen = false;
            if (how == "menu") {
                w.child<QAction>("mnuExit")->trigger();
            } else if (how == "Ctrl+Q") {
                auto *keyword = w.child<TextBox>("txtSearchItems");
                keyword->setFocus();
                QTest::keyClicks(keyword, "abc");
                QTest::keyClick(keyword, Qt::Key_Q, Qt::ControlModifier);
            } else if (how == "close") {
                w.window().close();
            } else { // the dialog is dismissed, and the window closed
                whileModalShown([&] { w.child<QAction>("mnuHelpAbort")->trigger(); },
                                [&](QDialog *d) {
                                    ::raise(SIGTERM);
                                    QCoreApplication::processEvents();
                                    leftOpen = d->isVisible();
                                });
            }
            QVERIFY(!leftOpen);
            QCOMPARE(w.messages(),
                     writable ? QStringList() : QStringList{"critical: " + kWriteError});
            QTEST(QStringLiteral("%1 %2 %3")
                      .arg(w.program().endCount)
                      .arg(w.program().lastStatus)
                      .arg(w.window().isVisible() ? "open" : "closed"),
                  "ends");
            QCOMPARE(w.saves("Pelko.ini"), int(writable)); // no save where a folder stands
            QCOMPARE(dir.file("Pelko.ini"), writable ? "12,3,1,0\r\n" : "(none)");
            if (writable)
                dir.write("Pelko.ini", "");
        }
        QCOMPARE(dir.file("Pelko.ini"), writable ? "" : "(none)");
        QCOMPARE(dir.file("clr_stat.dat"), "0,0\r\n"); // not touched
    }

    // The About dialog, opened by Ctrl+A in the keyword box: its texts and icon; a click on the
    // address opens the author's page and leaves it open; Esc closes it. Centred over the main
    // window's outer frame, also after the main window has moved, and near a screen edge not
    // pulled back onto the screen. Ctrl+W and the menu open the author's page too.
    void about()
    {
        TestWindow w(kQuests);
        QWidget &main = w.window();
        auto *keyword = w.child<QLineEdit>("txtSearchItems");
        keyword->setFocus();
        QTest::keyClick(keyword, Qt::Key_W, Qt::ControlModifier);
        const QRect screen = main.screen()->geometry(), frame = main.frameGeometry();
        const QPoint third = QPoint(frame.width(), frame.height()) / 3;
        int round = 0;
        for (const QPoint to : {main.pos(), main.pos() + QPoint(37, -23),
                                screen.bottomRight() - third, screen.topLeft() - 2 * third}) {
            main.move(to);
            QTRY_COMPARE(main.pos(), to);
            main.activateWindow(); // again, after the dialog
            QVERIFY(QTest::qWaitForWindowActive(&main));
            QPointF off(999, 999);
            QStringList seen;
            whileModalShown(
                [&] { QTest::keyClick(keyword, Qt::Key_A, Qt::ControlModifier); },
                [&](QDialog *d) {
                    // Measured while it is shown: on closing, the main window's frame
                    // can shift.
                    off =
                        QRectF(d->frameGeometry()).center() - QRectF(main.frameGeometry()).center();
                    const QSize icon = d->findChild<QLabel *>("picIcon")->pixmap().size();
                    const QRect line = d->findChild<QWidget *>("Line1")->geometry();
                    // 5415 by 2295 twips where the disclaimer fits (IPAPGothic at 96 dpi).
                    seen << d->objectName() << d->windowTitle()
                         << d->findChild<QLabel *>("lblVersion")->text()
                         << QStringLiteral("icon %1x%2").arg(icon.width()).arg(icon.height())
                         << QStringLiteral("line %1,%2 %3x%4")
                                .arg(line.x())
                                .arg(line.y())
                                .arg(line.width())
                                .arg(line.height())
                         << QStringLiteral("%1x%2").arg(d->width()).arg(d->height());
                    QTest::mouseClick(d->findChild<QLabel *>("lblURL"), Qt::LeftButton);
                    seen << (QApplication::activeModalWidget() == d ? "open" : "closed");
                    if (++round == 4) // the last time by its OK button
                        QTest::mouseClick(d->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
                    else
                        QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
                    seen << (d->isVisible() ? "open" : "closed");
                });
            QCOMPARE_LE(qMax(qAbs(off.x()), qAbs(off.y())), 1.0); // the pixel rounding takes
            QCOMPARE(seen, QStringList({"frmAbout", "ペルコ for Verdaniaのバージョン情報",
                                        "Version 1.10.00", "icon 48x48", "line 8,72 344x4",
                                        "361x153", "open", "closed"}));
        }
        w.child<QAction>("mnuCallWeb")->trigger();
        QCOMPARE(w.program().opened, std::vector<QUrl>(6, QUrl("https://pelko.example.jp/")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
