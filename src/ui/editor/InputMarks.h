#pragma once
#include <QColor>

class QWidget;

// The setting dialog shows the validity of what is typed by colour and never blocks:
// red text for a value with bits outside the selection or a string length too small,
// a yellow background for a text that is not a complete bit text.
namespace InputMarks {

inline const QColor ValidText(0, 0, 0);
inline const QColor InvalidText(255, 0, 0);
inline const QColor CompleteBack(255, 255, 255);
inline const QColor IncompleteBack(255, 255, 0);

void SetTextValid(QWidget *box, bool valid);
void SetBackComplete(QWidget *box, bool complete);

bool IsTextRed(const QWidget *box);
bool IsBackYellow(const QWidget *box);

}
