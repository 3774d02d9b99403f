#include "core/RegularFile.h"

#include "core/BvlError.h"
#include "core/FileNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

[[noreturn]] void ThrowNotRegular(mode_t mode)
{
    throw BvlError(ErrNo::NotRegularFile, QStringLiteral("is %1, not a regular file").arg(KindOf(mode)));
}

[[noreturn]] void ThrowSystemError(int error)
{
    if (error == ENOENT)
        throw BvlError(ErrNo::FileNotFound, QStringLiteral("does not exist"));
    throw BvlError(ErrNo::PathFileAccess, SystemReason(error));
}

}   // namespace

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

RegularFile::RegularFile(const QString &path) : m_path(path)
{
    const QByteArray native = NativeFileName(path);
    // Looked at before opening, so that a socket is named as one rather than failing the open.
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        ThrowSystemError(errno);
    if (!S_ISREG(st.st_mode))
        ThrowNotRegular(st.st_mode);
    // Non-blocking: should the name now lead to a FIFO, opening it cannot wait for a writer.
    do {
        m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        ThrowSystemError(errno);
    // What was opened is what counts: the name may have been switched since it was looked at.
    if (::fstat(m_fd, &st) != 0) {
        const int error = errno;
        ::close(m_fd);
        ThrowSystemError(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(m_fd);
        ThrowNotRegular(st.st_mode);
    }
    m_size = st.st_size;
}

RegularFile::~RegularFile()
{
    ::close(m_fd);
}

QByteArray RegularFile::read(qint64 count)
{
    QByteArray bytes(qMax<qint64>(0, qMin(count, m_size)), Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(m_fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw BvlError(ErrNo::PathFileAccess, SystemReason(errno));
        if (got == 0)
            break;   // shrank since it was opened: what is there is what counts
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

int ReadAt(int fd, char *out, qint64 count, qint64 offset, qint64 &done)
{
    done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, out + done, size_t(count - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        done += n;
    }
    return 0;
}

QByteArray RegularFile::readAll(qint64 maxBytes)
{
    if (m_size > maxBytes)
        throw BvlError(ErrNo::FileTooLarge,
                       QStringLiteral("is %1 bytes long, more than the %2 bytes such a file can sensibly be")
                           .arg(m_size)
                           .arg(maxBytes));
    return read(m_size);
}

QByteArray ReadRegularFile(const QString &path, qint64 maxBytes)
{
    RegularFile file(path);
    return file.readAll(maxBytes);
}

void RequireRegularTarget(const QString &path)
{
    struct stat st;
    if (::stat(NativeFileName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        ThrowNotRegular(st.st_mode);
}

bool IsSameFile(const QString &first, const QString &second)
{
    struct stat a;
    struct stat b;
    return ::stat(NativeFileName(first).constData(), &a) == 0 && ::stat(NativeFileName(second).constData(), &b) == 0
           && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
