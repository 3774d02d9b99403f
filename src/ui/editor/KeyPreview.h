#pragma once
#include <QObject>

#include <functional>

class QWidget;

// Window-level key preview: a key pressed anywhere in the window reaches the window's
// handler before the control that has the focus. The handler returns true when it took
// the key. Pop-ups (menus, drop-down lists) and the menu bar keep their own keys, so
// Escape there still closes the pop-up rather than the window.
class KeyPreview : public QObject
{
public:
    using Handler = std::function<bool(int key)>;

    // Watches window and every widget inside it at the time of the call.
    KeyPreview(QWidget *window, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    Handler m_handler;
};
