#pragma once
#include <QColor>
#include <QPair>
#include <QPalette>
#include <QVector>

#include <initializer_list>

class QWidget;

// The colours that mark what needs attention — warnings, errors and changed values — in
// every window, taken from one place. Each is chosen for the palette it is drawn on: a
// light and a dark variant, picked by the lightness of the palette's window, each with a
// contrast of at least 4.5:1 against that background (high-contrast palettes included).
namespace ThemeColours {

enum Role {
    Warning,
    Error,
    Changed
};

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
// Draws every text under root (root included) marked with MarkText again, in the colours
// of the palette it now has.
void Reapply(QWidget *root);

// A background that makes a box or a found control stand out (pale yellow on light
// windows, dark amber on dark ones) on which text keeps a contrast of 4.5:1.
QColor MarkedBackground(const QColor &background, const QColor &text);

// True for a palette whose window is dark: the dark variants are used on it.
bool IsDark(const QPalette &palette);

// Sets colours of the widget's palette; roles set before through here stay unless listed
// again, and every other role is inherited, so that it follows a change of the theme.
void SetRoles(QWidget *widget, const QVector<QPair<QPalette::ColorRole, QColor>> &colours);
// Gives roles back to the widget's parent (or the application), so that the widget
// follows a later change of the theme in them.
void ClearRoles(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles);

}   // namespace ThemeColours
