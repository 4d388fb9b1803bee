#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace pelko {

// The widths of the frame and title bar that the window manager puts around a top-level window
// (left, top, right, bottom), in pixels.
//
// Qt learns them only once the window manager has decorated a shown window, so a window placed
// before it is shown would be centred by its inner size, half a title bar off. Under X11 the
// window manager is asked for them beforehand (_NET_REQUEST_FRAME_EXTENTS), with a short bounded
// wait for its answer; elsewhere, or without an answer, this is what Qt knows (nothing, for a
// window never shown).
QMargins frameExtents(QWidget *window);

// Centres the window's outer frame on an area of the screen (the screen itself, or another
// window's frame): edge = area's edge + (area's size - frame's size) / 2, computed in twips with
// single precision and used as it comes out, fractions and negative values included, never
// clamped to the screen.
void centreFrameOn(QWidget *window, const QRect &area);

// Puts the outer frame's top-left corner at `topLeft`, for a frame of the given extents, so the
// window is shown there at once instead of being moved after the window manager framed it.
void moveFrameTo(QWidget *window, QPoint topLeft, const QMargins &extents);

} // namespace pelko
