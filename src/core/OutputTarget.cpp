#include "core/OutputTarget.h"

#include "core/BvlError.h"
#include "core/FileNames.h"
#include "core/RegularFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(int error)
{
    throw BvlError(ErrNo::PathFileAccess, SystemReason(error));
}

int WriteAllOf(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}   // namespace

void CheckOutputTarget(const QString &target, const QStringList &inputs)
{
    struct stat out;
    if (::stat(NativeFileName(target).constData(), &out) != 0)
        return;   // a new file: it cannot be an input
    if (!S_ISREG(out.st_mode))
        RequireRegularTarget(target);   // throws 620 naming the kind of file
    for (const QString &input : inputs) {
        struct stat in;
        if (!input.isEmpty() && ::stat(NativeFileName(input).constData(), &in) == 0 && in.st_dev == out.st_dev
            && in.st_ino == out.st_ino)
            throw BvlError(ErrNo::TargetIsInput, QStringLiteral("is the input %1 itself").arg(input));
    }
}

void WriteOutputFile(const QString &target, const QByteArray &bytes, const QStringList &inputs)
{
    CheckOutputTarget(target, inputs);
    // Through a link, the file it leads to is replaced, not the link.
    QByteArray path = NativeFileName(target);
    char resolved[PATH_MAX];
    struct stat existing;
    const bool exists = ::stat(path.constData(), &existing) == 0;
    if (exists && ::realpath(path.constData(), resolved))
        path = resolved;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : path.left(slash));
    QByteArray temporary = folder + "/." + path.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        Fail(errno);
    int error = ::fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode()) == 0 ? 0 : errno;
    if (error == 0)
        error = WriteAllOf(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        Fail(error);
    }
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}
