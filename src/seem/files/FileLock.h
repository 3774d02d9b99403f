#pragma once

// An advisory lock (flock) on an open file, held while the object lives. It belongs to
// the open file description: a second open of the same file (through any of its names),
// in this process or another, cannot take an exclusive lock at the same time. A save
// holds it exclusively; opening an image holds it shared while it reads, so that it
// never reads a save half done. Programs that do not ask for the lock are not stopped by it.
class FileLock
{
public:
    enum class Mode {
        Exclusive,
        Shared
    };
    // Tries once, without waiting.
    explicit FileLock(int fd);
    // Tries for up to waitMs milliseconds (a save of another program takes a moment).
    FileLock(int fd, int waitMs, Mode mode = Mode::Exclusive);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool held() const { return m_held; }
    // Why it could not be taken: 0 when it is held, EWOULDBLOCK while another holds it,
    // anything else when the file system offers no lock (ENOLCK, EOPNOTSUPP).
    int error() const { return m_error; }
    bool busy() const;
    void release();

private:
    bool tryLock(Mode mode);
    int m_fd;
    bool m_held = false;
    int m_error = 0;
};

// How long opening or saving waits for a save of another program to end.
inline constexpr int SaveLockWaitMs = 2000;
