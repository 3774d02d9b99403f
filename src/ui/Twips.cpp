#include "ui/Twips.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
// The layouts were drawn for the toolkit's default font of 9 points.
constexpr double DesignPointSize = 9.0;

double logicalDpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
}   // namespace

double FontScale()
{
    const QFont font = QGuiApplication::font();
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 72.0 / logicalDpi(false);
    // A smaller font keeps the drawn sizes: pictures and fixed parts would not shrink with it.
    return points > DesignPointSize ? points / DesignPointSize : 1.0;
}

double TwipsPerPixelX()
{
    return 1440.0 / logicalDpi(true) / FontScale();
}
double TwipsPerPixelY()
{
    return 1440.0 / logicalDpi(false) / FontScale();
}
int TwipsToPixelsX(int twips)
{
    return int(std::lround(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(int twips)
{
    return int(std::lround(twips / TwipsPerPixelY()));
}
int PixelsToTwipsX(int pixels)
{
    return int(std::lround(pixels * TwipsPerPixelX()));
}
int PixelsToTwipsY(int pixels)
{
    return int(std::lround(pixels * TwipsPerPixelY()));
}

QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}
