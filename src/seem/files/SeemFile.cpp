#include "seem/files/SeemFile.h"

#include "core/BvlError.h"
#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "seem/files/FileChanges.h"
#include "seem/files/FileLock.h"
#include "seem/files/ImageBytes.h"

#include <new>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileIdentity IdentityOf(const struct stat &st)
{
    FileIdentity id;
    id.device = static_cast<quint64>(st.st_dev);
    id.inode = static_cast<quint64>(st.st_ino);
    id.size = static_cast<qint64>(st.st_size);
    if (FileChanges::TimesFrozen())
        return id;
    id.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.changedNs = static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

}   // namespace

FileIdentity IdentityOfPath(const QString &path)
{
    struct stat st;
    if (::stat(NativeFileName(path).constData(), &st) != 0)
        return FileIdentity();
    return IdentityOf(st);
}

FileIdentity IdentityOfHandle(int fileDescriptor)
{
    struct stat st;
    if (fileDescriptor < 0 || ::fstat(fileDescriptor, &st) != 0)
        return FileIdentity();
    return IdentityOf(st);
}

SeemFile::~SeemFile() = default;

JournalNotice SeemFile::open(const QString &path)
{
    openFile(path, true);
    return m_openNotice;
}

JournalNotice SeemFile::openReadOnly(const QString &path)
{
    openFile(path, false);
    return m_openNotice;
}

void SeemFile::openFile(const QString &path, bool allowWrite)
{
    // By the name's own bytes: a name that is not UTF-8 is still a name of this system.
    const QByteArray nativePath = NativeFileName(path);
    struct stat st;
    if (::stat(nativePath.constData(), &st) != 0)
        throw BvlError(ErrNo::FileNotFound, path);
    // A FIFO would block the window on the first read, a device hands out other bytes
    // on every read; only a regular file (or a link to one) is an image.
    if (!S_ISREG(st.st_mode))
        throw BvlError(ErrNo::NotRegularFile, path);

    // O_NONBLOCK: should the name have become a FIFO since the check, the open must not
    // wait for a writer. The user may read a file he may not write: it is shown, only the
    // save is refused.
    bool readOnly = !allowWrite;
    int fd = readOnly ? -1 : ::open(nativePath.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        readOnly = true;
        fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + SystemReason(errno));
    }
    struct Closer
    {
        int fd;
        ~Closer()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw BvlError(ErrNo::NotRegularFile, path);
    if (st.st_size > MaxWholeImageBytes)
        throw BvlError(ErrNo::FileTooLarge, path);
    const QByteArray folder = HoldingFolderOf(nativePath);

    // A save of another program in progress is waited for: what is read is the file before
    // or after it, never between. A file system without locks still shows its file.
    FileLock lock(fd, SaveLockWaitMs, FileLock::Mode::Shared);
    if (lock.busy())
        throw BvlError(ErrNo::FileBusy, path);
    // Before the first read: the bytes shown must be those from before an interrupted save.
    JournalNotice notice;
    notice.imagePath = path;
    if (JournalWaiting(folder, quint64(st.st_dev), quint64(st.st_ino))) {
        lock.release();
        notice = RecoverJournal(path, nativePath, folder);
        FileLock again(fd, SaveLockWaitMs, FileLock::Mode::Shared);
        if (again.busy())
            throw BvlError(ErrNo::FileBusy, path);
        if (::fstat(fd, &st) != 0)
            throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + SystemReason(errno));
        m_image = readWhole(fd, st.st_size);
    } else {
        m_image = readWhole(fd, st.st_size);
    }
    // A journal that could not be used keeps what may be needed to put the file back: a
    // save would replace it, so the file is only shown.
    readOnly = readOnly || notice.opensReadOnly();

    // Unbuffered: writes go straight to the handle at their positions, so QFile must keep
    // no buffer of its own; it owns the handle from here on.
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode mode = (readOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite) | QIODevice::Unbuffered;
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle))
        throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + file->errorString());
    closer.fd = -1;
    m_file = std::move(file);   // the previous file, if any, closes here
    m_path = path;
    m_folder = folder;
    m_readOnly = readOnly;
    m_openNotice = notice;
    m_basis.clear();
    m_basis.record(0, m_image);
    rememberIdentity();
    m_size = m_image.size();
}

JournalNotice SeemFile::RecoverJournal(const QString &path, const QByteArray &nativePath, const QByteArray &folder)
{
    // Putting back needs the file open for writing and under the exclusive lock; the
    // handle of a read-only open cannot do it.
    JournalNotice notice;
    notice.imagePath = path;
    const int fd = ::open(nativePath.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        notice.kind = JournalNotice::Kind::Kept;
        notice.why = JournalNotice::Why::CannotWrite;
        notice.systemReason = SystemReason(errno);
        notice.journalPath = JournalPathOf(path);
        return notice;
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    const FileLock lock(fd, SaveLockWaitMs);
    if (lock.busy())
        throw BvlError(ErrNo::FileBusy, path);
    if (!lock.held()) {
        notice.kind = JournalNotice::Kind::Kept;
        notice.why = JournalNotice::Why::CannotLock;
        notice.systemReason = SystemReason(lock.error());
        notice.journalPath = JournalPathOf(path);
        return notice;
    }
    return RecoverInterruptedSave(path, fd, folder);
}

QByteArray SeemFile::readWhole(int fd, qint64 size) const
{
    QByteArray bytes;
    try {
        bytes = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
        throw BvlError(ErrNo::OutOfMemory);
    }
    qint64 done = 0;
    if (const int error = ReadAt(fd, bytes.data(), size, 0, done))
        throw BvlError(ErrNo::PathFileAccess, describeError(error));
    bytes.truncate(done);   // cut short by another program: the image ends where the file now ends
    return bytes;
}

void SeemFile::close()
{
    m_file.reset();
    m_path.clear();
    m_readOnly = false;
    m_size = 0;
    m_image.clear();
    m_folder.clear();
    m_identity = FileIdentity();
    m_writtenSinceFlush = false;
    m_basis.clear();
    m_openNotice = JournalNotice();
}

bool SeemFile::isOpen() const
{
    return m_file != nullptr;
}

QString SeemFile::path() const
{
    return m_path;
}

void SeemFile::checkWritable() const
{
    if (!m_file)
        throw BvlError(ErrNo::PathFileAccess);
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_path);
    // The open handle must still be the file at the path, with the contents this program
    // last saw: a deleted, replaced or externally rewritten file is never written.
    const FileIdentity onDisk = IdentityOfPath(m_path);
    const FileIdentity open = IdentityOfHandle(m_file->handle());
    if (onDisk.size < 0 || onDisk != open)
        throw BvlError(ErrNo::FileChanged, m_path);
    // Own writes that were not flushed yet moved the times; what they cannot change must
    // still match.
    const bool unchanged = m_writtenSinceFlush ? open.device == m_identity.device && open.inode == m_identity.inode
                                                     && open.size == m_identity.size
                                               : open == m_identity;
    if (!unchanged)
        throw BvlError(ErrNo::FileChanged, m_path);
}

qint64 SeemFile::size() const
{
    return m_size;
}

QByteArray SeemFile::read(qint64 offset, qint64 count)
{
    if (offset < 0)
        throw BvlError(ErrNo::InputPastEnd);
    if (!m_file || offset >= m_size || count <= 0)
        return QByteArray();
    return m_image.mid(offset, qMin(count, m_size - offset));
}

void SeemFile::write(qint64 offset, const QByteArray &bytes)
{
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_path);
    // The image has the size the phone gave it: writing past the end would grow it.
    if (!m_file || !SpanInside(offset, bytes.size(), m_size))
        throw BvlError(ErrNo::InputPastEnd);
    m_writtenSinceFlush = true;
    const FileSizeSignalIgnored noSizeSignal;
    if (const int error = FileChanges::WriteAt(m_file->handle(), bytes.constData(), bytes.size(), offset)) {
        rememberIdentity();   // a failed write may still have changed part of the file
        throw BvlError(ErrNo::PathFileAccess, describeError(error));
    }
    m_image.replace(offset, bytes.size(), bytes);
    m_basis.update(offset, bytes);
}

void SeemFile::flush()
{
    if (!m_file || m_readOnly)
        return;
    const int error = FileChanges::Sync(m_file->handle());
    rememberIdentity();
    if (error != 0)
        throw BvlError(ErrNo::PathFileAccess, describeError(error));
}

void SeemFile::rememberIdentity()
{
    m_identity = IdentityOfHandle(m_file ? m_file->handle() : -1);
    m_writtenSinceFlush = false;
}

QString SeemFile::describeError(int error) const
{
    return m_path + QStringLiteral(": ") + SystemReason(error);
}
