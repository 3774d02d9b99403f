#include "ui/ThemeColours.h"

#include <QApplication>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <algorithm>
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

}   // namespace

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
    // A little more than needed: the edges of text are drawn in mixed colours.
    for (int step = 0; step < 20 && Contrast(colour, background) < 5.0; ++step)
        colour = dark ? colour.lighter(115) : colour.darker(115);
    if (Contrast(colour, background) < 4.5)
        colour = dark ? QColor(Qt::white) : QColor(Qt::black);
    return colour;
}

QColor ForPalette(Role role, const QPalette &palette, QPalette::ColorRole background)
{
    return ForBackground(role, palette.color(background));
}

namespace {
// The role a widget's text is marked with, one more than its value; 0 or none for plain.
constexpr const char *MarkedRoleProperty = "ThemeMarkedRole";
}   // namespace

void MarkText(QWidget *widget, Role role)
{
    widget->setProperty(MarkedRoleProperty, int(role) + 1);
    // The colours are chosen against the backgrounds the widget draws on now.
    ClearRoles(widget, {QPalette::WindowText, QPalette::Text});
    const QPalette palette = widget->palette();
    SetRoles(widget, {{QPalette::WindowText, ForPalette(role, palette, QPalette::Window)},
                      {QPalette::Text, ForPalette(role, palette, QPalette::Base)}});
}

void MarkPlain(QWidget *widget)
{
    widget->setProperty(MarkedRoleProperty, QVariant());
    ClearRoles(widget, {QPalette::WindowText, QPalette::Text});
}

QColor MarkedBackground(const QColor &background, const QColor &text)
{
    const bool dark = Luminance(background) < 0.18;
    QColor colour = dark ? QColor(0x5c, 0x45, 0x00) : QColor(0xff, 0xf0, 0x96);
    // Towards the window's own background until the text on it reads.
    for (int step = 0; step < 20 && Contrast(colour, text) < 4.5; ++step)
        colour = dark ? colour.darker(115) : colour.lighter(108);
    return Contrast(colour, text) >= 4.5 ? colour : background;
}

void Reapply(QWidget *root)
{
    if (!root)
        return;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        const int marked = widget->property(MarkedRoleProperty).toInt();
        if (marked > 0)
            MarkText(widget, Role(marked - 1));
    }
}

bool IsDark(const QPalette &palette)
{
    return Luminance(palette.color(QPalette::Window)) < 0.18;
}

namespace {
// The colours set through here, by role: the only roles the widget does not inherit.
constexpr const char *SetRolesProperty = "ThemeSetRoles";

void ApplyRoles(QWidget *widget, const QVariantMap &roles)
{
    widget->setProperty(SetRolesProperty, roles);
    // A palette copied from a widget or the application can claim every role as set, which
    // would freeze the widget in today's theme: only what is listed here is set.
    QPalette palette;
    palette.setResolveMask(0);
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        palette.setColor(QPalette::ColorRole(it.key().toInt()), it.value().value<QColor>());   // every colour group
    widget->setPalette(palette);
}
}   // namespace

void SetRoles(QWidget *widget, const QVector<QPair<QPalette::ColorRole, QColor>> &colours)
{
    QVariantMap roles = widget->property(SetRolesProperty).toMap();
    for (const auto &[role, colour] : colours)
        roles.insert(QString::number(int(role)), colour);
    ApplyRoles(widget, roles);
}

void ClearRoles(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles)
{
    QVariantMap set = widget->property(SetRolesProperty).toMap();
    for (QPalette::ColorRole role : roles)
        set.remove(QString::number(int(role)));
    ApplyRoles(widget, set);
}

}   // namespace ThemeColours
