#pragma once

#include <QString>
#include <QWidget>

namespace pelko {

// Where a control stands, in twips, inside its container (the window's client area or a frame).
struct ControlPlace {
    const char *name;
    int left;
    int top;
    int width;
    int height;
};

// The client areas of the main window and of the About dialog.
inline constexpr int kMainClientWidth = 8655;
inline constexpr int kMainClientHeight = 6660;
inline constexpr int kAboutClientWidth = 5415;
inline constexpr int kAboutClientHeight = 2295;

// Every control of the main window and of the About dialog, by object name.
const ControlPlace &controlPlace(const char *name);

// Names the widget and puts it where the layout table places it, at the screen's resolution.
void placeWidget(QWidget *widget, const char *name, qreal dpi);
template <typename W> W *place(W *widget, const char *name, qreal dpi)
{
    placeWidget(widget, name, dpi);
    return widget;
}

} // namespace pelko
