// The Help menu and the About dialog, through the real main window.
#include "AppIcon.h"
#include "DatabaseBuilder.h"
#include "MainWindowHarness.h"
#include "WorkDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <functional>

using namespace pelko;
using namespace pelko::test;

namespace {

const QUrl kAuthorPage(QStringLiteral("https://pelko.example.jp/"));

void writeDatabase(const WorkDir &dir)
{
    dir.write(QStringLiteral("Pelko.dat"),
              databaseBytes(namedQuests({QStringLiteral("灯台の鍵"), QStringLiteral("森の番人")})));
    dir.write(QStringLiteral("clr_stat.dat"), "0,0\r\n");
}

// The real main window over a folder with a two-quest database; start() runs the start-up.
struct Session {
    Session() : h((writeDatabase(dir), dir)) {}
    WorkDir dir;
    MainWindowHarness h;
};

// The About dialog is modal: `open` returns only once it is closed. `inspect` runs while it is
// shown; every dialog still open afterwards is closed, so a failing check never blocks. Returns
// the dialog `inspect` saw, null by now when it was unloaded on closing or never shown.
QPointer<QDialog> whileAboutShown(const std::function<void()> &open,
                                  const std::function<void(QDialog *)> &inspect)
{
    QPointer<QDialog> seen;
    bool shown = false;
    QTimer timer; // a local timer: when `open` shows nothing, it dies here without firing
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *about = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (about && about->objectName() == QStringLiteral("frmAbout")) {
            shown = true;
            seen = about;
            inspect(about);
        }
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible())
                d->reject();
        }
    });
    timer.start(0);
    open();
    if (!shown)
        QTest::qFail("the About dialog was not shown", __FILE__, __LINE__);
    return seen;
}

QAction *action(MainWindowHarness &h, const char *name)
{
    return h.child<QAction>(QString::fromLatin1(name));
}

// Shows the About dialog through its menu command.
QPointer<QDialog> aboutFromMenu(MainWindowHarness &h, const std::function<void(QDialog *)> &inspect)
{
    return whileAboutShown([&] { action(h, "mnuHelpAbort")->trigger(); }, inspect);
}

// Centred over the main window on the outer frames, within the one pixel that rounding takes.
void verifyCentred(const QRect &main, const QRect &about)
{
    const double left = main.left() + (main.width() - about.width()) / 2.0;
    const double top = main.top() + (main.height() - about.height()) / 2.0;
    QVERIFY2(qAbs(about.left() - left) <= 1.0,
             qPrintable(QStringLiteral("left %1, expected %2").arg(about.left()).arg(left)));
    QVERIFY2(qAbs(about.top() - top) <= 1.0,
             qPrintable(QStringLiteral("top %1, expected %2").arg(about.top()).arg(top)));
}

// The name a screen reader announces for a control. On Linux Qt names a combo box after its
// current item and gives the caption through the labelled-by relation, which AT-SPI readers
// announce as the box's name.
QString announcedName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    if (!a)
        return {};
    if (a->role() != QAccessible::ComboBox)
        return a->text(QAccessible::Name);
    const auto labels = a->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// Where a label draws its text, in the dialog's coordinates: the text's extent placed by the
// label's alignment inside its contents. A rectangle larger than the label means clipped text.
QRect inkRect(const QLabel *label, const QWidget *dialog)
{
    const QFontMetrics fm(label->font());
    const QRect box = label->contentsRect();
    QRect ink;
    if (!label->pixmap().isNull()) {
        ink = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                  label->pixmap().deviceIndependentSize().toSize(), box);
    } else if (label->wordWrap()) {
        ink = fm.boundingRect(QRect(box.left(), box.top(), box.width(), 1 << 20),
                              int(label->alignment()) | Qt::TextWordWrap, label->text());
        ink.setWidth(qMin(ink.width(), box.width())); // wrapped lines never run past the box
    } else {
        int width = 0;
        for (const QString &line : label->text().split(QLatin1Char('\n')))
            width = qMax(width, fm.horizontalAdvance(line));
        const QSize extent(width, fm.height() * int(label->text().count(QLatin1Char('\n')) + 1));
        ink = QStyle::alignedRect(label->layoutDirection(), label->alignment(), extent, box);
    }
    return ink.translated(label->mapTo(dialog, QPoint()));
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void titleAndVersion()
    {
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        for (int showing = 0; showing < 2; ++showing) {
            QString title, version, url;
            const QPointer<QDialog> about = aboutFromMenu(h, [&](QDialog *d) {
                title = d->windowTitle();
                auto *lblVersion = d->findChild<QLabel *>(QStringLiteral("lblVersion"));
                version = lblVersion->text();
                url = d->findChild<QLabel *>(QStringLiteral("lblURL"))->text();
                lblVersion->clear(); // the next showing must load it anew
            });
            QCOMPARE(title, QStringLiteral("ペルコ for Verdaniaのバージョン情報"));
            QCOMPARE(version, QStringLiteral("Version 1.10.00"));
            QCOMPARE(url, kAuthorPage.toString());
            QVERIFY(about.isNull()); // unloaded on closing
        }
    }

    void icon()
    {
        const QIcon icon = applicationIcon();
        for (int size : {16, 32, 48}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        QSize shown;
        aboutFromMenu(h, [&](QDialog *d) {
            shown = d->findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().size();
        });
        QCOMPARE(shown, QSize(48, 48));
    }

    // Every text is shown whole, in the fallback faces of a Linux desktop, and no text runs
    // into another, into the icon or under the OK button.
    void nothingClippedOrCovered()
    {
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        QStringList faults;
        aboutFromMenu(h, [&](QDialog *d) {
            std::vector<std::pair<QString, QRect>> inks;
            for (QLabel *label : d->findChildren<QLabel *>()) {
                if (label->text().isEmpty() && label->pixmap().isNull())
                    continue;
                const QRect ink = inkRect(label, d);
                if (!label->geometry().contains(ink))
                    faults << QStringLiteral("%1 clipped: needs %2x%3, has %4x%5")
                                  .arg(label->objectName())
                                  .arg(ink.width())
                                  .arg(ink.height())
                                  .arg(label->width())
                                  .arg(label->height());
                inks.emplace_back(label->objectName(), ink);
            }
            auto *ok = d->findChild<QPushButton *>(QStringLiteral("cmdOK"));
            inks.emplace_back(ok->objectName(), ok->geometry());
            for (std::size_t i = 0; i < inks.size(); ++i) {
                for (std::size_t j = i + 1; j < inks.size(); ++j) {
                    if (inks[i].second.intersects(inks[j].second))
                        faults << inks[i].first + QStringLiteral(" overlaps ") + inks[j].first;
                }
            }
        });
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Opened twice, the dialog is centred over the main window each time, also after the main
    // window has moved in between, and near a screen edge it is not pulled back on screen.
    void centredEachTime_data()
    {
        QTest::addColumn<QPoint>("moveBy");    // of the main window, between the two showings
        QTest::addColumn<QPoint>("offScreen"); // the main window's left/top past the screen
        QTest::addColumn<bool>("partlyOff");
        QTest::newRow("not moved") << QPoint() << QPoint() << false;
        QTest::newRow("moved") << QPoint(37, -23) << QPoint() << false;
        QTest::newRow("past the right and bottom edges") << QPoint() << QPoint(1, 1) << true;
        QTest::newRow("past the left and top edges") << QPoint() << QPoint(-1, -1) << true;
    }
    void centredEachTime()
    {
        QFETCH(QPoint, moveBy);
        QFETCH(QPoint, offScreen);
        QFETCH(bool, partlyOff);
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        frmMain &main = h.window();
        const QRect screen = main.screen()->geometry();

        for (int showing = 0; showing < 2; ++showing) {
            if (showing == 1) {
                QPoint to = main.pos() + moveBy;
                // Two thirds of the window past the named edges.
                const QSize size = main.frameGeometry().size();
                if (offScreen.x() > 0)
                    to.setX(screen.right() - size.width() / 3);
                if (offScreen.x() < 0)
                    to.setX(screen.left() - size.width() * 2 / 3);
                if (offScreen.y() > 0)
                    to.setY(screen.bottom() - size.height() / 3);
                if (offScreen.y() < 0)
                    to.setY(screen.top() - size.height() * 2 / 3);
                main.move(to);
                QTRY_COMPARE(main.pos(), to);
            }
            QRect mainFrame, aboutFrame;
            const QPointer<QDialog> about = aboutFromMenu(h, [&](QDialog *d) {
                mainFrame = main.frameGeometry();
                aboutFrame = d->frameGeometry();
            });
            QVERIFY(about.isNull());
            QVERIFY(!aboutFrame.isEmpty());
            verifyCentred(mainFrame, aboutFrame);
            if (QTest::currentTestFailed())
                return;
            if (showing == 1)
                QCOMPARE(!screen.contains(aboutFrame), partlyOff);
        }
    }

    void closesBy_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("OK button") << 0;
    }
    void closesBy()
    {
        QFETCH(int, key);
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        bool closed = false;
        const QPointer<QDialog> about = aboutFromMenu(h, [&](QDialog *d) {
            QWidget *target = d->focusWidget() ? d->focusWidget() : d;
            if (key)
                QTest::keyClick(target, Qt::Key(key));
            else
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdOK")),
                                  Qt::LeftButton);
            closed = !d->isVisible();
        });
        QVERIFY(closed);
        QVERIFY(about.isNull());
        QVERIFY(h.program().opened.empty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void addressLabelOpensPageAndStaysOpen()
    {
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        std::vector<QUrl> opened;
        bool stillOpen = false;
        aboutFromMenu(h, [&](QDialog *d) {
            QTest::mouseClick(d->findChild<QLabel *>(QStringLiteral("lblURL")), Qt::LeftButton);
            opened = h.program().opened;
            stillOpen = d->isVisible() && QApplication::activeModalWidget() == d;
        });
        QCOMPARE(opened, std::vector<QUrl>{kAuthorPage});
        QVERIFY(stillOpen);
    }

    void menuOpensPage_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("menu command") << false;
        QTest::newRow("Ctrl+W in the keyword box") << true;
    }
    void menuOpensPage()
    {
        QFETCH(bool, byKey);
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        auto *keyword = h.child<QLineEdit>(QStringLiteral("txtSearchItems"));
        if (byKey) {
            keyword->setFocus();
            QTest::keyClicks(keyword, "lighthouse key");
            QTest::keyClick(keyword, Qt::Key_W, Qt::ControlModifier);
        } else {
            action(h, "mnuCallWeb")->trigger();
        }
        QCOMPARE(h.program().opened, std::vector<QUrl>{kAuthorPage});
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        if (byKey)
            QCOMPARE(keyword->text(), QStringLiteral("lighthouse key"));
    }

    void ctrlAInKeywordBoxOpensAbout()
    {
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        auto *keyword = h.child<QLineEdit>(QStringLiteral("txtSearchItems"));
        keyword->setFocus();
        QTest::keyClicks(keyword, "key");
        bool mainTakesNoInput = false;
        const QPointer<QDialog> about =
            whileAboutShown([&] { QTest::keyClick(keyword, Qt::Key_A, Qt::ControlModifier); },
                            [&](QDialog *d) {
                                mainTakesNoInput = d->isModal() && d->parentWidget() == &h.window();
                            });
        QVERIFY2(about.isNull() && mainTakesNoInput, "Ctrl+A did not show the About dialog");
        QCOMPARE(keyword->text(), QStringLiteral("key"));
    }

    // What a screen reader announces for each control that takes input.
    void accessibleNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        const std::pair<const char *, QString> rows[] = {
            {"cboCountry", QStringLiteral("クエスト発生場所")},
            {"cboState", QStringLiteral("クリア状況")},
            {"txtSearchItems", QStringLiteral("キーワードから逆引き")},
            {"cmdSearchItems", QStringLiteral("検索")},
            {"chkTreeView", QStringLiteral("連続クエストをツリー表示")},
            {"lstQuestList", QStringLiteral("クエスト一覧")},
            {"optQuestState0", QStringLiteral("やっていない(Z)")},
            {"optQuestState2", QStringLiteral("保留(X)")},
            {"optQuestState1", QStringLiteral("クリア(C)")},
            {"txtClient", QStringLiteral("受注場所")},
            {"txtProcess", QStringLiteral("クエスト内容・クリア方法")},
            {"chkMsgBox", QStringLiteral("クリア状況を変更するときに確認しない")},
            {"txtReward1", QStringLiteral("報　酬")},
            {"txtReward2", QStringLiteral("リプレイ報酬")},
        };
        for (const auto &[control, name] : rows)
            QTest::newRow(control) << QString::fromLatin1(control) << name;
    }
    void accessibleNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        QWidget *w = h.child<QWidget>(control);
        QCOMPARE(announcedName(w), name);
        if (qobject_cast<QComboBox *>(w))
            QCOMPARE(w->accessibleName(), name); // what the name is on other desktops
    }

    // Also a control added later: none that takes input may be nameless.
    void noNamelessControl()
    {
        Session s;
        MainWindowHarness &h = s.h;
        QVERIFY(h.start());
        int controls = 0;
        for (QWidget *w : h.window().findChildren<QWidget *>()) {
            const bool input = qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
                               qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                               qobject_cast<QAbstractItemView *>(w);
            if (!input || w->window() != &h.window() || !w->isVisible() ||
                !(w->focusPolicy() & Qt::TabFocus))
                continue;
            ++controls;
            QVERIFY2(!announcedName(w).isEmpty(), qPrintable(w->objectName()));
        }
        QVERIFY(controls >= 14);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
