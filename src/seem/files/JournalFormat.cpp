#include "seem/files/JournalFormat.h"

#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "seem/files/FileChanges.h"
#include "seem/files/SaveJournal.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace JournalFormat {

PieceWriter::PieceWriter(std::function<int(const QByteArray &)> sink) : m_sink(std::move(sink))
{
    m_piece.reserve(int(PieceBytes));
}

void PieceWriter::append(const char *bytes, qint64 count)
{
    while (count > 0 && m_error == 0) {
        const qint64 room = qMin(count, PieceBytes - m_piece.size());
        m_hash.addData(QByteArrayView(bytes, room));
        m_piece.append(bytes, room);
        bytes += room;
        count -= room;
        flushIfFull();
    }
}

void PieceWriter::flushIfFull()
{
    if (m_piece.size() < PieceBytes || m_error != 0)
        return;
    m_error = m_sink(m_piece);
    m_piece.resize(0);
}

int PieceWriter::finish()
{
    if (m_error != 0)
        return m_error;
    const QByteArray closing = m_hash.result();
    m_piece.append(closing);   // not hashed: it is the hash
    m_error = m_sink(m_piece);
    m_piece.resize(0);
    return m_error;
}

const char *PieceReader::next(qint64 want, qint64 &got)
{
    got = 0;
    if (want <= 0 || m_at >= m_end)
        return nullptr;
    const qint64 bufferEnd = m_bufferStart + m_buffer.size();
    if (m_at < m_bufferStart || m_at >= bufferEnd) {
        const qint64 count = qMin(PieceBytes, m_end - m_at);
        m_buffer.resize(qsizetype(count));
        qint64 done = 0;
        ReadAt(m_fd, m_buffer.data(), count, m_at, done);   // a failure ends the reading as the end does
        m_buffer.resize(qsizetype(done));
        m_bufferStart = m_at;
        if (done == 0)
            return nullptr;
    }
    const qint64 inBuffer = m_bufferStart + m_buffer.size() - m_at;
    got = qMin(want, inBuffer);
    const char *bytes = m_buffer.constData() + (m_at - m_bufferStart);
    m_at += got;
    return bytes;
}

bool PieceReader::take(char *out, qint64 count)
{
    while (count > 0) {
        qint64 got = 0;
        const char *bytes = next(count, got);
        if (!bytes)
            return false;
        std::memcpy(out, bytes, size_t(got));
        out += got;
        count -= got;
    }
    return true;
}

bool PieceReader::bytes(qint64 count, QByteArray &out)
{
    if (count < 0 || count > m_end - m_at)
        return false;
    out.resize(qsizetype(count));
    return take(out.data(), count);
}

void AppendImage(PieceWriter &out, const JournalImage &image)
{
    out.number<quint64>(image.device);
    out.number<quint64>(image.inode);
    out.number<quint64>(quint64(image.size));
    out.number<qint64>(image.birthNs);
    out.number<qint64>(image.generation);
    out.append(image.beforeHash);
    out.append(image.afterHash);
    out.number<quint32>(quint32(image.name.size()));
    out.append(image.name);
}

bool TakeImage(PieceReader &in, JournalImage &image)
{
    // A name longer than any path is no journal's.
    constexpr quint32 MaxNameBytes = 64 * 1024;
    quint64 size = 0;
    quint32 nameLength = 0;
    if (!in.number(image.device) || !in.number(image.inode) || !in.number(size) || !in.number(image.birthNs)
        || !in.number(image.generation) || !in.bytes(HashSize, image.beforeHash) || !in.bytes(HashSize, image.afterHash)
        || !in.number(nameLength) || nameLength > MaxNameBytes || !in.bytes(nameLength, image.name))
        return false;
    if (size > quint64(std::numeric_limits<qint64>::max()))
        return false;
    image.size = qint64(size);
    return true;
}

bool HashCloses(int fd, qint64 size)
{
    if (size < HashSize)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    PieceReader reader(fd, size - HashSize);
    qint64 got = 0;
    while (const char *bytes = reader.next(PieceBytes, got))
        hash.addData(QByteArrayView(bytes, got));
    if (reader.at() != size - HashSize)
        return false;
    QByteArray stored(HashSize, Qt::Uninitialized);
    qint64 done = 0;
    return ReadAt(fd, stored.data(), HashSize, size - HashSize, done) == 0 && done == HashSize
           && hash.result() == stored;
}

int WriteDurably(const QByteArray &path, const std::function<void(PieceWriter &)> &body)
{
    const QByteArray partPath = path + ".part";
    const QString part = FileNameFromNative(partPath);
    ::unlink(partPath.constData());   // left by a writer that stopped early
    int fd = -1;
    int error = FileChanges::CreateExclusive(part, fd);
    if (error == 0) {
        qint64 at = 0;
        PieceWriter out([&](const QByteArray &piece) {
            const int pieceError = FileChanges::WriteAt(fd, piece.constData(), piece.size(), at);
            at += piece.size();
            return pieceError;
        });
        body(out);
        error = out.finish();
    }
    if (error == 0)
        error = FileChanges::Sync(fd);
    if (fd >= 0)
        ::close(fd);
    if (error == 0)
        error = FileChanges::Rename(part, FileNameFromNative(path));
    if (error == 0)
        error = FileChanges::SyncFolderOf(part);
    if (error != 0) {
        ::unlink(partPath.constData());
        ::unlink(path.constData());
    }
    return error;
}

}   // namespace JournalFormat
