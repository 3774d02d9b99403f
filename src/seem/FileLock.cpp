#include "seem/FileLock.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <sys/file.h>

FileLock::FileLock(int fd) : m_fd(fd)
{
    tryLock();
}

FileLock::FileLock(int fd, int waitMs) : m_fd(fd)
{
    QElapsedTimer waited;
    waited.start();
    while (!tryLock() && m_error == EWOULDBLOCK && waited.elapsed() < waitMs)
        QThread::msleep(10);
}

FileLock::~FileLock()
{
    if (m_held)
        ::flock(m_fd, LOCK_UN);
}

bool FileLock::tryLock()
{
    int result;
    do
        result = ::flock(m_fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    m_held = result == 0;
    m_error = m_held ? 0 : errno;
    return m_held;
}
