#pragma once

namespace pelko {

// Where a control stands, in twips, inside its container (the window's client area or a frame).
struct ControlPlace {
    const char *name;
    int left;
    int top;
    int width;
    int height;
};

// The main window's client area.
inline constexpr int kMainClientWidth = 8655;
inline constexpr int kMainClientHeight = 6660;

// Every control of the main window, by object name.
const ControlPlace &mainPlace(const char *name);

} // namespace pelko
