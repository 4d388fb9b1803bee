// The Help menu and the About dialog, through the real main window, and what a screen reader
// announces. (Where the dialog stands is tested under a window manager in tst_window_frame.)
#include "MainWindowHarness.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>

using namespace pelko::test;

namespace {

const QUrl kAuthorPage(QStringLiteral("https://pelko.example.jp/"));
const std::vector<Quest> kQuests = namedQuests({QStringLiteral("灯台の鍵")});

// Texts drawn past their label (in the fallback faces of a Linux desktop), and texts that run
// into each other, into the icon or under the OK button.
QStringList layoutFaults(QDialog *d)
{
    QStringList faults;
    QWidget *ok = d->findChild<QWidget *>("cmdOK");
    std::vector<std::pair<QString, QRect>> inks{{ok->objectName(), ok->geometry()}};
    for (QLabel *l : d->findChildren<QLabel *>()) {
        const int wrap = l->wordWrap() ? int(Qt::TextWordWrap) : 0;
        const QRect box = l->contentsRect(), room(0, 0, wrap ? box.width() : 1 << 20, 1 << 20);
        const QSize need = l->pixmap().isNull()
                               ? l->fontMetrics().boundingRect(room, wrap, l->text()).size()
                               : l->pixmap().deviceIndependentSize().toSize();
        const QRect ink = QStyle::alignedRect(l->layoutDirection(), l->alignment(), need, box)
                              .translated(l->pos());
        if (!l->geometry().contains(ink))
            faults << l->objectName() + " clipped";
        for (const auto &[name, other] : inks)
            if (ink.intersects(other))
                faults << l->objectName() + " overlaps " + name;
        inks.emplace_back(l->objectName(), ink);
    }
    return faults;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Opened by Ctrl+A in the keyword box: its texts, icon and layout; a click on the address
    // opens the author's page and leaves the dialog open; Esc closes it.
    void ctrlAShowsAbout()
    {
        TestWindow w(kQuests);
        auto *keyword = w.child<QLineEdit>("txtSearchItems");
        keyword->setFocus();
        QStringList seen; // layout faults, when any, come after the icon
        whileModalShown(
            [&] { QTest::keyClick(keyword, Qt::Key_A, Qt::ControlModifier); },
            [&](QDialog *d) {
                const QSize icon = d->findChild<QLabel *>("picIcon")->pixmap().size();
                seen << d->objectName() << d->windowTitle()
                     << d->findChild<QLabel *>("lblVersion")->text()
                     << QStringLiteral("icon %1x%2").arg(icon.width()).arg(icon.height())
                     << layoutFaults(d);
                QTest::mouseClick(d->findChild<QLabel *>("lblURL"), Qt::LeftButton);
                seen << (QApplication::activeModalWidget() == d ? "open after a click on lblURL"
                                                                : "closed by a click on lblURL");
                QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
                seen << (d->isVisible() ? "open after Esc" : "closed by Esc");
            });
        QCOMPARE(seen,
                 QStringList({"frmAbout", QStringLiteral("ペルコ for Verdaniaのバージョン情報"),
                              "Version 1.10.00", "icon 48x48", "open after a click on lblURL",
                              "closed by Esc"}));
        QCOMPARE(w.program().opened, std::vector<QUrl>{kAuthorPage});
    }

    // Centred over the main window's outer frame, also after the main window has moved, and
    // near a screen edge not pulled back onto the screen.
    void centredOverTheMainWindow()
    {
        TestWindow w(kQuests);
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

    void menuAndCtrlWOpenPage()
    {
        TestWindow w(kQuests);
        w.child<QAction>("mnuCallWeb")->trigger();
        QCOMPARE(w.program().opened, std::vector<QUrl>{kAuthorPage});
        auto *keyword = w.child<QLineEdit>("txtSearchItems");
        keyword->setFocus();
        QTest::keyClick(keyword, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(w.program().opened, std::vector<QUrl>(2, kAuthorPage));
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
        TestWindow w(kQuests);
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

QTEST_MAIN(TestAbout)
#include "tst_about.moc"