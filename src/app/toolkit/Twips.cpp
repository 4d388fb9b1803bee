#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace pelko {

qreal screenDpi(const QWidget *widget)
{
    const QScreen *screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

int twipsToPixels(double twips, qreal dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double pixelsToTwips(int pixels, qreal dpi)
{
    return pixels * 1440.0 / dpi;
}

QRect twipsRect(int left, int top, int width, int height, qreal dpi)
{
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

} // namespace pelko
