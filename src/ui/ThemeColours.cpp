#include "ui/ThemeColours.h"

#include <QApplication>
#include <QWidget>

#include <cmath>

namespace ThemeColours {

namespace {

double Channel(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

// The hue of each role, dark enough for light windows and light enough for dark ones.
QColor Variant(Role role, bool darkBackground)
{
    switch (role) {
    case Warning:
        return darkBackground ? QColor(0xff, 0xc1, 0x4d) : QColor(0x8a, 0x4b, 0x00);
    case Error:
        return darkBackground ? QColor(0xff, 0x8a, 0x80) : QColor(0xb0, 0x00, 0x20);
    case Changed:
        return darkBackground ? QColor(0x7f, 0xb8, 0xff) : QColor(0x00, 0x4d, 0xb3);
    }
    return QColor();
}

}

double Contrast(const QColor &a, const QColor &b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor ForBackground(Role role, const QColor &background)
{
    const bool dark = Luminance(background) < 0.18;
    QColor colour = Variant(role, dark);
    // An unusual background (a mid grey, a coloured high-contrast theme): move the colour
    // away from it until the text reads.
    for (int step = 0; step < 20 && Contrast(colour, background) < 4.5; ++step)
        colour = dark ? colour.lighter(115) : colour.darker(115);
    if (Contrast(colour, background) < 4.5)
        colour = dark ? QColor(Qt::white) : QColor(Qt::black);
    return colour;
}

QColor ForPalette(Role role, const QPalette &palette, QPalette::ColorRole background)
{
    return ForBackground(role, palette.color(background));
}

void MarkText(QWidget *widget, Role role)
{
    QPalette palette = widget->palette();
    // Every colour group, so that focus and activation do not change it.
    palette.setColor(QPalette::WindowText, ForPalette(role, palette, QPalette::Window));
    palette.setColor(QPalette::Text, ForPalette(role, palette, QPalette::Base));
    widget->setPalette(palette);
}

void MarkPlain(QWidget *widget)
{
    QPalette palette = widget->palette();
    const QPalette inherited = widget->parentWidget() ? widget->parentWidget()->palette() : QApplication::palette(widget);
    palette.setColor(QPalette::WindowText, inherited.color(QPalette::WindowText));
    palette.setColor(QPalette::Text, inherited.color(QPalette::Text));
    widget->setPalette(palette);
}

}
