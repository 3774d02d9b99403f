#include "ui/language/ApplyLanguage.h"

#include "lang/LangTable.h"
#include "ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QTextEdit>
#include <QWidget>

namespace {

enum class Target {
    None,
    Caption,
    Text
};

Target targetOf(const QObject *control)
{
    const QVariant tag = control->property(TagProperty);
    if (!tag.isValid())
        return Target::None;
    const QString text = tag.toString();
    if (text == TagCaption)
        return Target::Caption;
    if (text == TagText)
        return Target::Text;
    return Target::None;
}

// The name a control is known by: a menu's own action stands for the menu.
QString controlName(const QObject *control)
{
    if (auto *action = qobject_cast<const QAction *>(control)) {
        if (action->objectName().isEmpty() && action->menu())
            return action->menu()->objectName();
    }
    return control->objectName();
}

// How a localised value reaches a control.
using Setter = void (*)(QObject *control, const QString &value);

// The setter of the tagged property of control; null for a kind without that property
// (a caption tag on a list box, say), which is left alone.
Setter setterFor(const QObject *control, Target target)
{
    if (target == Target::Caption) {
        if (qobject_cast<const QMenu *>(control))
            return [](QObject *c, const QString &v) { static_cast<QMenu *>(c)->setTitle(v); };
        if (qobject_cast<const QLabel *>(control))
            return [](QObject *c, const QString &v) {
                // A language text is never read as rich text.
                static_cast<QLabel *>(c)->setTextFormat(Qt::PlainText);
                static_cast<QLabel *>(c)->setText(v);
            };
        if (qobject_cast<const QAbstractButton *>(control))
            return [](QObject *c, const QString &v) { static_cast<QAbstractButton *>(c)->setText(v); };
        if (qobject_cast<const QGroupBox *>(control))
            return [](QObject *c, const QString &v) { static_cast<QGroupBox *>(c)->setTitle(v); };
        // The shortcut is a property of its own and survives the new text.
        if (qobject_cast<const QAction *>(control))
            return [](QObject *c, const QString &v) { static_cast<QAction *>(c)->setText(v); };
    } else if (target == Target::Text) {
        if (qobject_cast<const QLineEdit *>(control))
            return [](QObject *c, const QString &v) { static_cast<QLineEdit *>(c)->setText(v); };
        if (qobject_cast<const QTextEdit *>(control))
            return [](QObject *c, const QString &v) { static_cast<QTextEdit *>(c)->setPlainText(v); };
        if (qobject_cast<const QPlainTextEdit *>(control))
            return [](QObject *c, const QString &v) { static_cast<QPlainTextEdit *>(c)->setPlainText(v); };
    }
    return nullptr;
}

// Collects the tagged controls of window in creation order: each object before its
// children, with the actions a widget shows (menu items created elsewhere) right after it.
// Child windows other than menus are windows of their own and are localised on their own.
// Only tagged controls are kept: setting a text may delete and recreate a control's
// internal objects (a text box's document parts), which must not be visited afterwards.
void collectTagged(QObject *parent, QList<QPointer<QObject>> &controls, QSet<QObject *> &seen)
{
    const auto visit = [&](QObject *object) {
        seen.insert(object);
        if (object->property(TagProperty).isValid())
            controls << object;
    };
    for (QObject *child : parent->children()) {
        if (seen.contains(child))
            continue;
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget))
            continue;
        visit(child);
        if (widget) {
            for (QAction *action : widget->actions())
                if (!seen.contains(action))
                    visit(action);
        }
        collectTagged(child, controls, seen);
    }
}

}   // namespace

QString ControlLangKey(const QWidget *window, const QObject *control)
{
    return window->objectName() + QLatin1Char('.') + controlName(control);
}

void ApplyLanguage(LangTable &table, QWidget *window)
{
    QList<QPointer<QObject>> controls;
    QSet<QObject *> seen{window};
    collectTagged(window, controls, seen);

    bool missReported = false;
    for (QObject *control : controls) {
        if (!control)
            continue;   // removed by an earlier control's change
        const Setter setter = setterFor(control, targetOf(control));
        if (!setter)
            continue;
        const QString key = ControlLangKey(window, control);
        QString value;
        if (!table.LookupOrBuiltin(key, value)) {
            if (!missReported) {
                missReported = true;
                table.ShowMissing(key);
            }
            continue;
        }
        setter(control, value);
    }
    // The names assistive technology reads follow the language too.
    NameControls(table, window);
}
