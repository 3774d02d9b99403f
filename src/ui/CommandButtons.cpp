#include "ui/CommandButtons.h"

#include "ui/ControlNames.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Enter on the focused button clicks it; without auto-default a dialog would let the key
// fall through to its default button or drop it.
class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || (key != Qt::Key_Return && key != Qt::Key_Enter) || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

}   // namespace

void MakeCommandButton(QPushButton *button)
{
    button->setAutoDefault(false);
    button->installEventFilter(new EnterPresses(button));
}

QPushButton *NewCommandButton(QWidget *parent, const QString &name, const QString &caption, bool localised)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    MakeCommandButton(button);
    if (localised)
        TagForCaption(button);
    return button;
}
