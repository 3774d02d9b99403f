#include "seem/files/FileChanges.h"

#include "core/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace FileChanges {
namespace {

#ifdef BVL_FAULT_SEAM
Faults InitialFaults()
{
    Faults faults;
    if (const char *killAt = std::getenv("BVL_KILL_AT_FILE_CHANGE"))
        faults.killAt = std::atoi(killAt);
    return faults;
}

Faults &Planned()
{
    static Faults faults = InitialFaults();
    return faults;
}

int &Count()
{
    static int count = 0;
    return count;
}

// Counts one file-changing call; the error it is to fail with, or 0 to make it.
int BeforeChange()
{
    const int n = ++Count();
    const Faults &faults = Planned();
    if (n == faults.killAt)
        ::raise(SIGKILL);
    if (n == faults.actAt && faults.act)
        faults.act();
    if (faults.failAt > 0 && n >= faults.failAt && n < faults.failAt + faults.failCount)
        return faults.error;
    return 0;
}

#else
// Without the seam every change is made as asked.
int BeforeChange()
{
    return 0;
}
#endif

int ErrnoOr(int result)
{
    return result == 0 ? 0 : errno;
}

}   // namespace

int WriteAt(int fd, const char *bytes, qint64 count, qint64 offset, qint64 *written)
{
    qint64 done = 0;
    if (written)
        *written = 0;
    if (const int injected = BeforeChange())
        return injected;
    while (done < count) {
        const ssize_t n = ::pwrite(fd, bytes + done, size_t(count - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
        if (written)
            *written = done;
    }
    return 0;
}

int WriteAll(int fd, const QByteArray &bytes)
{
    return WriteAt(fd, bytes.constData(), bytes.size(), 0);
}

int Sync(int fd)
{
    if (const int injected = BeforeChange())
        return injected;
    return ErrnoOr(::fsync(fd));
}

int SyncFolderOf(const QString &path)
{
    if (const int injected = BeforeChange())
        return injected;
    const QByteArray folder = NativeFileName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ErrnoOr(::fsync(fd));
    ::close(fd);
    return error;
}

int CreateExclusive(const QString &path, int &fd)
{
    fd = -1;
    if (const int injected = BeforeChange())
        return injected;
    fd = ::open(NativeFileName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd < 0 ? errno : 0;
}

int Rename(const QString &from, const QString &to)
{
    if (const int injected = BeforeChange())
        return injected;
    return ErrnoOr(::rename(NativeFileName(from).constData(), NativeFileName(to).constData()));
}

int Remove(const QString &path)
{
    if (const int injected = BeforeChange())
        return injected;
    return ErrnoOr(::unlink(NativeFileName(path).constData()));
}

#ifdef BVL_FAULT_SEAM
void SetFaults(const Faults &faults)
{
    Planned() = faults;
}

qint64 JournalLimit(qint64 normal)
{
    return Planned().journalLimit > 0 ? Planned().journalLimit : normal;
}

bool TimesFrozen()
{
    return Planned().frozenTimes;
}

int CallCount()
{
    return Count();
}
#else
qint64 JournalLimit(qint64 normal)
{
    return normal;
}

bool TimesFrozen()
{
    return false;
}
#endif

}   // namespace FileChanges

FileSizeSignalIgnored::FileSizeSignalIgnored()
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &m_previous);
}

FileSizeSignalIgnored::~FileSizeSignalIgnored()
{
    ::sigaction(SIGXFSZ, &m_previous, nullptr);
}
