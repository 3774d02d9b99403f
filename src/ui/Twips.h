#pragma once
#include <QRect>

// Window layouts are given in twips (1/1440 inch); the screen's logical DPI turns them
// into pixels (1440 / dpi twips per pixel, 15 on a 96-dpi screen). They grow with the
// application's font as well: a twip is FontScale() times as large, so that every window
// keeps room for its texts.
double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// The application font's size over the 9 points the layouts were drawn for, at least 1.
double FontScale();

// left, top, width, height in twips -> a pixel rectangle.
QRect TwipsRect(int left, int top, int width, int height);
