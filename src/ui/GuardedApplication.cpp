#include "ui/GuardedApplication.h"

#include <new>

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        // The message box runs events of its own; one report at a time is enough.
        if (m_report && !m_reporting) {
            m_reporting = true;
            m_report();
            m_reporting = false;
        }
        return false;
    }
}
