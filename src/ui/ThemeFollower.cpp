#include "ui/ThemeFollower.h"

#include "ui/ThemeColours.h"
#include "ui/editor/InputMarks.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

ThemeFollower &ThemeFollower::Instance()
{
    static ThemeFollower *follower = new ThemeFollower(qApp);
    return *follower;
}

ThemeFollower::ThemeFollower(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ThemeFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow() && !m_pending.contains(widget)) {
            // The children take the new palette after their window: draw once they have.
            if (m_pending.isEmpty())
                QTimer::singleShot(0, this, &ThemeFollower::reapplyPending);
            m_pending.append(widget);
        }
    }
    return QObject::eventFilter(watched, event);
}

void ThemeFollower::reapplyPending()
{
    const QVector<QPointer<QWidget>> pending = std::exchange(m_pending, {});
    for (const QPointer<QWidget> &window : pending)
        if (window)
            reapply(window);
}

void ThemeFollower::reapply(QWidget *window)
{
    ThemeColours::Reapply(window);
    InputMarks::Reapply(window);
    emit themeChanged(window);
    window->update();
}
