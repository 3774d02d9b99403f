#pragma once
#include <QRect>

// Window layouts are given in twips (1/1440 inch); the screen's logical DPI turns them
// into pixels (1440 / dpi twips per pixel, 15 on a 96-dpi screen).
double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// left, top, width, height in twips -> a pixel rectangle.
QRect TwipsRect(int left, int top, int width, int height);
