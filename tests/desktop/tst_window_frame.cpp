// The main window and the About dialog under a real window manager (run-under-wm starts Xvfb and
// openbox): each is centred by its outer frame, title bar included, as the X server places it.
#include "MainWindowHarness.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace pelko::test;

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <typename T> std::unique_ptr<T, decltype(&std::free)> reply(T *r)
{
    return {r, &std::free};
}

// The window manager's frame around the window as the X server has it: the window's ancestor
// just below the root. Empty until the window manager has framed the mapped window.
QRect frameOnScreen(const QWidget *window)
{
    xcb_connection_t *c = connection();
    xcb_window_t frame = window->winId();
    for (;;) {
        const auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, frame), nullptr));
        if (!tree)
            return {};
        if (tree->parent == tree->root)
            break;
        frame = tree->parent;
    }
    const auto state =
        reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, frame), nullptr));
    const auto g = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, frame), nullptr));
    if (frame == window->winId() || !state || state->map_state != XCB_MAP_STATE_VIEWABLE || !g)
        return {};
    return QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
}

QRect framed(const QWidget *window)
{
    // Held a moment longer, so a window moved after the window manager framed it is seen moved.
    if (QTest::qWaitFor([&] { return !frameOnScreen(window).isEmpty(); }, 5000))
        QTest::qWait(150);
    return frameOnScreen(window);
}

// How far `frame` lies from the centre of `over`, in whole pixels of either axis.
int offCentre(const QRect &frame, const QRect &over)
{
    const QPointF off = QRectF(frame).center() - QRectF(over).center();
    return qRound(qMax(qAbs(off.x()), qAbs(off.y())));
}

const std::vector<Quest> kQuests = namedQuests({QStringLiteral("灯台の鍵")});

} // namespace

class TestWindowFrame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!connection())
            QSKIP(
                "needs an X server with a window manager: run through tests/desktop/run-under-wm");
    }

    // The main window centred on the screen, title bar included; the About dialog, shown twice,
    // centred over it each time, as started and after it moved. (Near a screen edge the window
    // manager may pull the dialog onto the screen: tst_main_window shows where the program
    // places it.)
    void centredByTheirFrames()
    {
        TestWindow w(kQuests);
        QWidget &main = w.window();
        const QRect start = framed(&main);
        QCOMPARE_GT(start.height(), main.height()); // a title bar to be centred with
        QCOMPARE_LE(offCentre(start, main.screen()->geometry()), 1);
        for (const QPoint to : {start.topLeft(), start.topLeft() + QPoint(-131, 77)}) {
            main.move(to);
            QTRY_COMPARE(frameOnScreen(&main).topLeft(), to);
            QRect about, under;
            int inner = 0;
            whileModalShown([&] { w.child<QAction>("mnuHelpAbort")->trigger(); },
                            [&](QDialog *d) {
                                about = framed(d);
                                under = frameOnScreen(&main);
                                inner = d->height();
                            });
            QCOMPARE_GT(about.height(), inner); // shown, with a title bar
            QCOMPARE_LE(offCentre(about, under), 1);
        }
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_window_frame.moc"
