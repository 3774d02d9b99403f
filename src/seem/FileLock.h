#pragma once

// An exclusive advisory lock (flock) on an open file, held while the object lives. It
// belongs to the open file description: a second open of the same file, in this
// process or another, cannot take it at the same time. Programs that do not ask for
// the lock are not stopped by it; the save of this program and its recovery of an
// interrupted save always ask.
class FileLock
{
public:
    // Tries once, without waiting.
    explicit FileLock(int fd);
    // Tries for up to waitMs milliseconds (a save of another program takes a moment).
    FileLock(int fd, int waitMs);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool held() const { return m_held; }
    // Why it could not be taken: 0 when it is held, EWOULDBLOCK while another holds it.
    int error() const { return m_error; }

private:
    bool tryLock();
    int m_fd;
    bool m_held = false;
    int m_error = 0;
};
