#include "ui/AccessibleNames.h"

#include "lang/LangTable.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLayout>
#include <QStyle>

#include <algorithm>

namespace {

// Marks a name this module set, so that the next language may replace it while a name
// the window set itself stays.
const char *const NamedHereProperty = "bvlAccessibleNamedHere";

// The label's text as a name: without its mnemonic, colon and surrounding spaces.
QString NameFromCaption(const QString &caption)
{
    QString name = WithoutMnemonic(caption).trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

bool OwnWindowChild(const QWidget *window, const QWidget *widget)
{
    return widget->window() == window;
}

void SetName(QWidget *control, const QString &name)
{
    if (!control->accessibleName().isEmpty() && !control->property(NamedHereProperty).toBool())
        return;   // named by its window
    control->setAccessibleName(name);
    control->setProperty(NamedHereProperty, true);
}

// The width the text of a label needs, frame and margins included. A label with a buddy
// shows its mnemonic as an underline, not as "&".
int NeededWidth(const QLabel *label)
{
    const QString shown = label->buddy() ? WithoutMnemonic(label->text()) : label->text();
    const QMargins margins = label->contentsMargins();
    return label->fontMetrics().horizontalAdvance(shown) + margins.left() + margins.right() + 2 * label->margin()
           + 2 * label->frameWidth();
}

}   // namespace

void NameControls(LangTable &table, QWidget *window)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!OwnWindowChild(window, widget))
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (label->buddy() && !label->text().isEmpty())
                SetName(label->buddy(), NameFromCaption(label->text()));
        }
    }
    for (QWidget *widget : widgets) {
        if (!OwnWindowChild(window, widget) || widget->objectName().isEmpty())
            continue;
        QString name;
        if (table.Lookup(window->objectName() + QLatin1Char('.') + widget->objectName() + QStringLiteral("_Accessible"),
                         name))
            SetName(widget, name);
    }
}

void (*SendAccessibleEvent)(QAccessibleEvent *event) = &QAccessible::updateAccessibility;

void SetAccessibleDescription(QWidget *control, const QString &description)
{
    if (control->accessibleDescription() == description)
        return;
    control->setAccessibleDescription(description);
    QAccessibleEvent event(control, QAccessible::DescriptionChanged);
    SendAccessibleEvent(&event);
}

void FitControlsToText(QWidget *window)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!OwnWindowChild(window, widget) || widget->parentWidget() == nullptr)
            continue;
        // Controls a layout places size to their text already.
        if (widget->parentWidget()->layout() && widget->parentWidget()->layout()->indexOf(widget) >= 0)
            continue;
        int needed = 0;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText
                || !label->pixmap().isNull())
                continue;
            // sizeHint measures the text's ink, which may reach a pixel past its advance.
            needed = std::max(NeededWidth(label), label->sizeHint().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            if (button->text().isEmpty())
                continue;
            // The text and picture with the style's margins; not sizeHint, whose minimum
            // width of a push button would widen a one-character button past its row.
            needed = button->fontMetrics().horizontalAdvance(WithoutMnemonic(button->text()))
                     + 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
            if (!button->icon().isNull())
                needed += button->iconSize().width() + 4;
        } else {
            continue;
        }
        const QRect at = widget->geometry();
        if (needed <= at.width())
            continue;
        const int grow = needed - at.width();
        auto *label = qobject_cast<QLabel *>(widget);
        if (label && (label->alignment() & Qt::AlignRight)) {
            const int left = std::max(0, at.left() - grow);
            widget->setGeometry(left, at.top(), needed, at.height());
            continue;
        }
        widget->resize(needed, at.height());
        // The control the label stands for gives way, keeping its right edge.
        QWidget *buddy = label ? label->buddy() : nullptr;
        if (buddy && buddy->parentWidget() == widget->parentWidget() && buddy->x() > at.left()
            && buddy->x() < at.left() + needed + 4) {
            const QRect b = buddy->geometry();
            const int left = at.left() + needed + 4;
            buddy->setGeometry(
                QRect(QPoint(left, b.top()), QPoint(std::max(b.right(), left + 2 * b.height()), b.bottom())));
        }
    }
}
