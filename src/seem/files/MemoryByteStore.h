#pragma once
#include "core/BvlError.h"
#include "seem/files/ByteStore.h"

#include <QByteArray>

// A SEEM image held in memory: used to build an image before it is written to disk
// (the demo data) and as the image the tests edit. Like a file it never grows.
class MemoryByteStore : public ByteStore
{
public:
    MemoryByteStore() = default;
    explicit MemoryByteStore(const QByteArray &bytes) : m_bytes(bytes) {}

    qint64 size() const override { return m_bytes.size(); }

    QByteArray read(qint64 offset, qint64 count) override
    {
        if (offset < 0)
            throw BvlError(ErrNo::InputPastEnd);
        if (offset >= size() || count <= 0)
            return QByteArray();
        return m_bytes.mid(offset, qMin(count, size() - offset));
    }

    void write(qint64 offset, const QByteArray &bytes) override
    {
        if (!SpanInside(offset, bytes.size(), size()))
            throw BvlError(ErrNo::InputPastEnd);
        m_bytes.replace(offset, bytes.size(), bytes);
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
