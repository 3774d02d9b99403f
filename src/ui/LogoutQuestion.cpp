#include "ui/LogoutQuestion.h"

#include "ui/main/bvlMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>

namespace {
// A logout that another program cancelled never comes back: after this long the answer
// given for it no longer stands for the next close.
constexpr int AnswerLifetimeMs = 60 * 1000;
}   // namespace

LogoutQuestion::LogoutQuestion(QGuiApplication &app, bvlMain &window)
    : QObject(&window), m_window(window), m_expiry(new QTimer(this))
{
    m_expiry->setSingleShot(true);
    m_expiry->setInterval(AnswerLifetimeMs);
    connect(m_expiry, &QTimer::timeout, this, &LogoutQuestion::disarm);
    window.installEventFilter(this);
    // The question is modal and must be answered before the session manager goes on.
    connect(
        &app, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager &manager) {
            const bool allowed = manager.allowsInteraction();
            const bool cancel = CommitData(allowed);
            if (allowed)
                manager.release();
            if (cancel)
                manager.cancel();
        },
        Qt::DirectConnection);
}

bool LogoutQuestion::CommitData(bool interactionAllowed)
{
    if (!interactionAllowed)
        return false;
    bool cancel = false;
    m_window.Form_QueryUnload(cancel);
    if (cancel)
        return true;
    // Saved, or nothing to ask about: the window's own close asks nothing either.
    if (m_window.IsSaved())
        return false;
    m_answered = true;
    m_expiry->start();
    // An edit made after the answer is a change the user has not been asked about. The
    // document hears every key typed; the undo stack only hears typing once the box is left.
    connect(m_window.Document, &SeemDocument::statesChanged, this, &LogoutQuestion::disarm, Qt::UniqueConnection);
    connect(m_window.Document, &SeemDocument::documentReset, this, &LogoutQuestion::disarm, Qt::UniqueConnection);
    return false;
}

void LogoutQuestion::disarm()
{
    m_answered = false;
    m_expiry->stop();
    disconnect(m_window.Document, nullptr, this, nullptr);
}

bool LogoutQuestion::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || event->type() != QEvent::Close || !m_answered)
        return QObject::eventFilter(watched, event);
    disarm();
    // The window closes as after its own question: every file it holds open is closed.
    m_window.Document->file().close();
    event->accept();
    return true;
}
