#include "seem/files/FileLock.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <sys/file.h>

FileLock::FileLock(int fd) : m_fd(fd)
{
    tryLock(Mode::Exclusive);
}

FileLock::FileLock(int fd, int waitMs, Mode mode) : m_fd(fd)
{
    QElapsedTimer waited;
    waited.start();
    while (!tryLock(mode) && busy() && waited.elapsed() < waitMs)
        QThread::msleep(5);
}

FileLock::~FileLock()
{
    release();
}

bool FileLock::busy() const
{
    return m_error == EWOULDBLOCK || m_error == EAGAIN;
}

void FileLock::release()
{
    if (m_held)
        ::flock(m_fd, LOCK_UN);
    m_held = false;
}

bool FileLock::tryLock(Mode mode)
{
    int result;
    do
        result = ::flock(m_fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB);
    while (result != 0 && errno == EINTR);
    m_held = result == 0;
    m_error = m_held ? 0 : errno;
    return m_held;
}
