#include "seem/SeemFile.h"

#include "core/BvlError.h"

#include <QFileInfo>

SeemFile::~SeemFile() = default;

void SeemFile::open(const QString &path)
{
    // ExistingOnly: opening for reading and writing must never create a SEEM file.
    // Unbuffered: every byte goes to the file at once, so reads and writes at different
    // positions cannot see a stale buffer, and a write error shows at the write.
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        const int number = QFileInfo::exists(path) ? ErrNo::PathFileAccess : ErrNo::FileNotFound;
        throw BvlError(number, path + QStringLiteral(": ") + file->errorString());
    }
    m_file = std::move(file); // the previous file, if any, closes here
}

void SeemFile::close()
{
    m_file.reset();
}

bool SeemFile::isOpen() const
{
    return m_file != nullptr;
}

QString SeemFile::path() const
{
    return m_file ? m_file->fileName() : QString();
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
    // The image has the size the phone gave it: writing past the end would grow it.
    if (offset < 0 || offset >= size())
        throw BvlError(ErrNo::InputPastEnd);
    if (!m_file->seek(offset) || !m_file->putChar(static_cast<char>(value)))
        throw BvlError(ErrNo::PathFileAccess, m_file->errorString());
}

void SeemFile::flush()
{
    if (m_file && !m_file->flush())
        throw BvlError(ErrNo::PathFileAccess, m_file->errorString());
}
