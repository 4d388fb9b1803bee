#include "WindowFrame.h"

#include "Twips.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#if QT_CONFIG(xcb) && defined(PELKO_HAVE_XCB)
#include <xcb/xcb.h>
#define PELKO_X11 1
#endif

namespace pelko {
namespace {

QMargins knownToQt(const QWidget *window)
{
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

#ifdef PELKO_X11

// Window managers answer within a few milliseconds; one that advertises the request but never
// answers costs the program no more than this at start-up.
constexpr int kAnswerWaitMs = 250;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name,
                                         xcb_atom_t type, std::uint32_t words)
{
    return {
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, words), nullptr),
        &std::free};
}

// _NET_FRAME_EXTENTS: left, right, top, bottom; absent until the window manager has set it.
std::optional<QMargins> readExtents(xcb_connection_t *c, xcb_window_t window, xcb_atom_t extents)
{
    const auto reply = property(c, window, extents, XCB_ATOM_CARDINAL, 4);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto *v = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

bool supportedByWindowManager(xcb_connection_t *c, xcb_window_t root, xcb_atom_t request)
{
    const auto reply = property(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, request) != atoms + count;
}

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::optional<QMargins> askWindowManager(xcb_connection_t *c, QWidget *window)
{
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const bool answers = supportedByWindowManager(c, root, request);
    // The native window is made only when the answer can come: the frame depends on the
    // window's type and decorations, which Qt gives it when it makes it.
    if (!answers && !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (auto known = readExtents(c, id, extents))
        return known;
    if (!answers)
        return std::nullopt;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
    // Qt's own thread reads the connection's events, so the answer is looked for by asking
    // for the property rather than by waiting for its change notice.
    QElapsedTimer waited;
    waited.start();
    do {
        if (auto answer = readExtents(c, id, extents))
            return answer;
        QThread::msleep(2);
    } while (waited.elapsed() < kAnswerWaitMs);
    return std::nullopt;
}

#endif

} // namespace

QMargins frameExtents(QWidget *window)
{
#ifdef PELKO_X11
    if (xcb_connection_t *c = x11Connection()) {
        if (auto answer = askWindowManager(c, window))
            return *answer;
        // Nothing to ask: the native window is left unmade, so that a position given before
        // the window is shown stays the frame's own (see moveFrameTo).
        return knownToQt(window);
    }
#endif
    // Elsewhere Qt knows a window's frame as soon as its native window exists.
    window->winId();
    return window->windowHandle() ? window->windowHandle()->frameMargins() : knownToQt(window);
}

void moveFrameTo(QWidget *window, QPoint topLeft, const QMargins &extents)
{
    if (!window->testAttribute(Qt::WA_WState_Created)) {
        // Before its native window exists, Qt takes a position as the frame's own.
        window->move(topLeft);
        return;
    }
    // Afterwards a position is the inner one's, and the window manager frames it where it is.
    window->setGeometry(QRect(topLeft + QPoint(extents.left(), extents.top()), window->size()));
}

void centreFrameOn(QWidget *window, const QRect &area)
{
    const QMargins frame = frameExtents(window);
    const QSize outer = window->size().grownBy(frame);
    const qreal dpi = screenDpi(window);
    const auto twips = [dpi](int pixels) { return static_cast<float>(pixelsToTwips(pixels, dpi)); };
    const float left = twips(area.left()) + (twips(area.width()) - twips(outer.width())) / 2.0f;
    const float top = twips(area.top()) + (twips(area.height()) - twips(outer.height())) / 2.0f;
    moveFrameTo(window, QPoint(twipsToPixels(left, dpi), twipsToPixels(top, dpi)), frame);
}

} // namespace pelko
