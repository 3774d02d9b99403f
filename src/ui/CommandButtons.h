#pragma once
#include <QString>

class QPushButton;
class QWidget;

// Push buttons as every window of the program has them: Enter typed into a box never
// presses one of them (no auto-default), while Enter or Return on a focused button
// presses that button, as Space does.

// Makes button behave so; for buttons made elsewhere (a button box's).
void MakeCommandButton(QPushButton *button);

// A new named button with that behaviour; localised when its caption comes from the
// language file.
QPushButton *NewCommandButton(QWidget *parent, const QString &name, const QString &caption, bool localised = true);
