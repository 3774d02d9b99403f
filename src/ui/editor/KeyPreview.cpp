#include "ui/editor/KeyPreview.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, Handler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler))
{
    window->installEventFilter(this);
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window || qobject_cast<QMenuBar *>(widget))
        return false;
    return m_handler(static_cast<QKeyEvent *>(event)->key());
}
