#include "ui/editor/InputMarks.h"

#include "ui/ThemeColours.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace InputMarks {

namespace {
constexpr const char *InvalidProperty = "InputInvalid";
constexpr const char *IncompleteProperty = "InputIncomplete";

// The box's text and base from its state, over the colours it inherits.
void apply(QWidget *box)
{
    ThemeColours::ClearRoles(box, {QPalette::Text, QPalette::Base});
    const bool invalid = IsTextRed(box);
    const bool incomplete = IsBackYellow(box);
    if (!invalid && !incomplete)
        return;
    const QPalette palette = box->palette();
    const QColor base =
        incomplete ? ThemeColours::MarkedBackground(palette.color(QPalette::Base), palette.color(QPalette::Text))
                   : palette.color(QPalette::Base);
    QVector<QPair<QPalette::ColorRole, QColor>> colours{{QPalette::Base, base}};
    if (invalid)
        colours.append({QPalette::Text, ThemeColours::ForBackground(ThemeColours::Error, base)});
    ThemeColours::SetRoles(box, colours);
}

void setState(QWidget *box, const char *property, bool on)
{
    if (box->property(property).toBool() == on && box->property(property).isValid())
        return;
    box->setProperty(property, on);
    apply(box);
}
}   // namespace

void SetTextValid(QWidget *box, bool valid)
{
    setState(box, InvalidProperty, !valid);
}

void SetBackComplete(QWidget *box, bool complete)
{
    setState(box, IncompleteProperty, !complete);
}

bool IsTextRed(const QWidget *box)
{
    return box->property(InvalidProperty).toBool();
}

bool IsBackYellow(const QWidget *box)
{
    return box->property(IncompleteProperty).toBool();
}

void Reapply(QWidget *root)
{
    if (!root)
        return;
    const auto boxes = root->findChildren<QWidget *>();
    for (QWidget *box : boxes)
        if (IsTextRed(box) || IsBackYellow(box))
            apply(box);
    if (IsTextRed(root) || IsBackYellow(root))
        apply(root);
}

QColor InvalidTextFor(const QPalette &palette)
{
    return ThemeColours::ForPalette(ThemeColours::Error, palette, QPalette::Base);
}

}   // namespace InputMarks
