#include "ui/editor/InputMarks.h"

#include <QPalette>
#include <QWidget>

namespace InputMarks {

namespace {
void setRole(QWidget *box, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = box->palette();
    palette.setColor(role, colour); // every colour group, so focus does not change it
    box->setPalette(palette);
}
}

void SetTextValid(QWidget *box, bool valid)
{
    setRole(box, QPalette::Text, valid ? ValidText : InvalidText);
}

void SetBackComplete(QWidget *box, bool complete)
{
    setRole(box, QPalette::Base, complete ? CompleteBack : IncompleteBack);
}

bool IsTextRed(const QWidget *box)
{
    return box->palette().color(QPalette::Text) == InvalidText;
}

bool IsBackYellow(const QWidget *box)
{
    return box->palette().color(QPalette::Base) == IncompleteBack;
}

}
