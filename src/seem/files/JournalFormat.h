#pragma once
#include <QByteArray>
#include <QCryptographicHash>
#include <QtEndian>

#include <functional>

struct JournalImage;

// The bytes of a save's journal and of its entry in the journal index, read and written a
// piece at a time: a journal may hold hundreds of megabytes, and neither side keeps it
// whole in memory or makes a list entry per run.
namespace JournalFormat {

constexpr int HashSize = 32;
constexpr qint64 PieceBytes = 1024 * 1024;

// Appends little-endian numbers and bytes, hashing them, and hands whole pieces to a sink.
class PieceWriter
{
public:
    // sink writes a piece and returns 0 or the errno of the failure.
    explicit PieceWriter(std::function<int(const QByteArray &)> sink);

    template<typename T> void number(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        append(bytes, sizeof(T));
    }
    void append(const char *bytes, qint64 count);
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }
    // Appends the hash of everything before it and writes what is left. 0 or an errno.
    int finish();

private:
    void flushIfFull();

    std::function<int(const QByteArray &)> m_sink;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QByteArray m_piece;
    int m_error = 0;
};

// Reads the bytes [0, end) of an open file in order, through one buffer of PieceBytes.
class PieceReader
{
public:
    PieceReader(int fd, qint64 end) : m_fd(fd), m_end(end) {}

    // Up to want bytes (at least one) at the current place, valid until the next call;
    // nullptr at the end or on a read error.
    const char *next(qint64 want, qint64 &got);
    bool take(char *out, qint64 count);
    template<typename T> bool number(T &value)
    {
        char bytes[sizeof(T)];
        if (!take(bytes, sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(bytes);
        return true;
    }
    // count bytes into out; the caller bounds count.
    bool bytes(qint64 count, QByteArray &out);
    qint64 at() const { return m_at; }

private:
    int m_fd;
    qint64 m_end;
    qint64 m_at = 0;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;
};

// The header both a journal and its index entry carry: which file, its size and identity
// over time, the hashes before and after the save, the name it was saved under.
void AppendImage(PieceWriter &out, const JournalImage &image);
bool TakeImage(PieceReader &in, JournalImage &image);

// True when the last HashSize bytes of the file's first size bytes are the SHA-256 of the
// bytes before them: a whole journal or index entry, as written.
bool HashCloses(int fd, qint64 size);

// Writes a file at path whole or not at all: under a temporary name, on the disk, renamed
// into place, the folder synced. body appends the contents; the closing hash follows.
// 0 or the errno of the failure; a failure leaves neither name behind.
int WriteDurably(const QByteArray &path, const std::function<void(PieceWriter &)> &body);

}   // namespace JournalFormat
