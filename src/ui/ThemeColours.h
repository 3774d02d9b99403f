#pragma once
#include <QColor>
#include <QPalette>

class QWidget;

// The colours that mark what needs attention — warnings, errors and changed values — in
// every window, taken from one place. Each is chosen for the palette it is drawn on: a
// light and a dark variant, picked by the lightness of the palette's window, each with a
// contrast of at least 4.5:1 against that background (high-contrast palettes included).
namespace ThemeColours {

enum Role { Warning, Error, Changed };

// The colour of role for text on background.
QColor ForBackground(Role role, const QColor &background);
// The colour of role for text drawn on palette's window (labels) or base (boxes, lists).
QColor ForPalette(Role role, const QPalette &palette, QPalette::ColorRole background = QPalette::Window);

// Contrast ratio between two colours as the accessibility guidelines define it (1..21).
double Contrast(const QColor &a, const QColor &b);

// Draws widget's text in role's colour: the roles a label paints with (WindowText) and a
// box paints with (Text) both change. The widget's own palette text comes back with Plain.
void MarkText(QWidget *widget, Role role);
void MarkPlain(QWidget *widget);

}
