#pragma once
#include <QObject>

class QGuiApplication;
class QTimer;
class bvlMain;

// The end of the desktop session (logout, shutdown) asks about unsaved changes as closing
// the main window does: the session manager's commitDataRequest runs the window's close
// question when the session manager lets the program ask, and Cancel, or a save that did
// not happen, cancels the logout.
class LogoutQuestion : public QObject
{
    Q_OBJECT
public:
    LogoutQuestion(QGuiApplication &app, bvlMain &window);

    // What the window answers a request to end the session; true to cancel the logout.
    // Without leave to ask (interactionAllowed false) it asks nothing and cancels nothing.
    bool CommitData(bool interactionAllowed);

protected:
    // After the user has given up the changes for the logout, the close that ends the
    // session does not ask the same question again.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void disarm();

    bvlMain &m_window;
    bool m_answered = false;
    QTimer *m_expiry = nullptr;
};
