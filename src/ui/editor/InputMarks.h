#pragma once
#include <QColor>

class QPalette;
class QWidget;

// The setting dialog and the main window's boxes show the validity of what is typed by
// colour and never block: the error colour for a value with bits outside the selection or
// a string length too small, a marked background for a text that is not a complete bit
// text. The colours come from the theme the box is drawn in and follow when it changes.
namespace InputMarks {

void SetTextValid(QWidget *box, bool valid);
void SetBackComplete(QWidget *box, bool complete);

// Whether the box shows its text as invalid (in the error colour), its background as
// incomplete.
bool IsTextRed(const QWidget *box);
bool IsBackYellow(const QWidget *box);

// Draws the marks of box and of every box under it again in the colours of the current
// theme; called when the palette changes.
void Reapply(QWidget *root);

// The colour of an invalid value in a list drawn on palette's base.
QColor InvalidTextFor(const QPalette &palette);

}   // namespace InputMarks
