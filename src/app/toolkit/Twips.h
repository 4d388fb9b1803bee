#pragma once

#include <QRect>

class QWidget;

namespace pelko {

// Window coordinates are kept in twips (1/1440 inch; 15 twips a pixel at 96 dpi) and turned
// into pixels with the screen's logical resolution.
qreal screenDpi(const QWidget *widget = nullptr);
int twipsToPixels(double twips, qreal dpi);
double pixelsToTwips(int pixels, qreal dpi);
QRect twipsRect(int left, int top, int width, int height, qreal dpi);

} // namespace pelko
