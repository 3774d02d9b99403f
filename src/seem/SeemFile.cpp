#include "seem/SeemFile.h"

#include "core/BvlError.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

FileIdentity IdentityOf(const struct stat &st)
{
    FileIdentity id;
    id.device = static_cast<quint64>(st.st_dev);
    id.inode = static_cast<quint64>(st.st_ino);
    id.size = static_cast<qint64>(st.st_size);
    id.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.changedNs = static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

} // namespace

FileIdentity IdentityOfPath(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
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

void SeemFile::open(const QString &path)
{
    openFile(path, true);
}

void SeemFile::openReadOnly(const QString &path)
{
    openFile(path, false);
}

void SeemFile::openFile(const QString &path, bool allowWrite)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw BvlError(ErrNo::FileNotFound, path);
    // A FIFO would block the window on the first read, a device hands out other bytes
    // on every read; only a regular file (or a link to one) is an image.
    if (!info.isFile())
        throw BvlError(ErrNo::NotRegularFile, path);

    // ExistingOnly: opening must never create a SEEM file. Unbuffered: every byte goes to
    // the file at once, so reads and writes at different positions cannot see a stale
    // buffer, and a write error shows at the write.
    const QIODevice::OpenMode shared = QIODevice::ExistingOnly | QIODevice::Unbuffered;
    auto file = std::make_unique<QFile>(path);
    bool readOnly = !allowWrite;
    if (readOnly || !file->open(QIODevice::ReadWrite | shared)) {
        // The user may read a file he may not write: show it, refuse only the save.
        readOnly = true;
        if (!file->open(QIODevice::ReadOnly | shared))
            throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + file->errorString());
    }
    m_file = std::move(file); // the previous file, if any, closes here
    m_readOnly = readOnly;
    rememberIdentity();
}

void SeemFile::close()
{
    m_file.reset();
    m_readOnly = false;
    m_identity = FileIdentity();
}

bool SeemFile::isOpen() const
{
    return m_file != nullptr;
}

QString SeemFile::path() const
{
    return m_file ? m_file->fileName() : QString();
}

void SeemFile::checkWritable() const
{
    if (!m_file)
        throw BvlError(ErrNo::PathFileAccess);
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_file->fileName());
    // The open handle must still be the file at the path, with the contents this program
    // last saw: a deleted, replaced or externally rewritten file is never written.
    const FileIdentity onDisk = IdentityOfPath(m_file->fileName());
    const FileIdentity open = IdentityOfHandle(m_file->handle());
    if (onDisk.size < 0 || onDisk != open || open != m_identity)
        throw BvlError(ErrNo::FileChanged, m_file->fileName());
}

qint64 SeemFile::size() const
{
    return m_file ? m_file->size() : 0;
}

quint8 SeemFile::readByte(qint64 offset)
{
    if (offset < 0 || offset >= size())
        throw BvlError(ErrNo::InputPastEnd);
    char byte = 0;
    if (!m_file->seek(offset) || !m_file->getChar(&byte))
        throw BvlError(ErrNo::PathFileAccess, m_file->errorString());
    return static_cast<quint8>(byte);
}

void SeemFile::writeByte(qint64 offset, quint8 value)
{
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_file->fileName());
    // The image has the size the phone gave it: writing past the end would grow it.
    if (offset < 0 || offset >= size())
        throw BvlError(ErrNo::InputPastEnd);
    const bool written = m_file->seek(offset) && m_file->putChar(static_cast<char>(value));
    rememberIdentity(); // our own write changes the modification time, even a failed one
    if (!written)
        throw BvlError(ErrNo::PathFileAccess, m_file->errorString());
}

void SeemFile::flush()
{
    if (!m_file || m_readOnly)
        return;
    const bool flushed = m_file->flush() && ::fsync(m_file->handle()) == 0;
    rememberIdentity();
    if (!flushed)
        throw BvlError(ErrNo::PathFileAccess, m_file->errorString());
}

void SeemFile::rememberIdentity()
{
    m_identity = IdentityOfHandle(m_file ? m_file->handle() : -1);
}
