#pragma once
#include "seem/ByteStore.h"

#include <QFile>
#include <QMap>
#include <QString>

#include <memory>

// The open SEEM file: held open for reading and writing at byte positions while it is
// in use, never loaded whole.
class SeemFile : public ByteStore
{
public:
    SeemFile() = default;
    ~SeemFile() override;
    SeemFile(const SeemFile &) = delete;
    SeemFile &operator=(const SeemFile &) = delete;

    // Throws BvlError 53 when the file does not exist, 75 when it cannot be opened
    // for reading and writing. A previously open file stays open on failure.
    void open(const QString &path);
    void close();
    bool isOpen() const;
    QString path() const;

    qint64 size() const override;
    quint8 readByte(qint64 offset) override;
    void writeByte(qint64 offset, quint8 value) override;

    // Pushes written bytes to the disk; throws 75 on failure.
    void flush();

private:
    // Replaced as a whole by open(), so that a failed open leaves the previous file as it was.
    std::unique_ptr<QFile> m_file;
};

// Collects writes in memory on top of another store, so that a whole save can be
// encoded (and fail) before a single byte reaches the disk. Reads see the pending writes.
class PendingWrites : public ByteStore
{
public:
    explicit PendingWrites(ByteStore &target) : m_target(target) {}

    qint64 size() const override { return m_target.size(); }
    quint8 readByte(qint64 offset) override;
    void writeByte(qint64 offset, quint8 value) override;

    // Writes every pending byte into the target, in ascending offset order.
    void commit();
    int pendingCount() const { return m_bytes.size(); }

private:
    ByteStore &m_target;
    QMap<qint64, quint8> m_bytes;
};
