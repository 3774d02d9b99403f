#pragma once
#include "core/BvlError.h"
#include "seem/ByteStore.h"

#include <QByteArray>

// A SEEM image held in memory: used to build an image before it is written to disk
// (the demo data) and as the image the tests edit. Like a file it never grows.
class MemoryByteStore : public ByteStore
{
public:
    MemoryByteStore() = default;
    explicit MemoryByteStore(const QByteArray &bytes) : m_bytes(bytes) {}

    qint64 size() const override { return m_bytes.size(); }

    quint8 readByte(qint64 offset) override
    {
        checkOffset(offset);
        return static_cast<quint8>(m_bytes.at(offset));
    }

    void writeByte(qint64 offset, quint8 value) override
    {
        checkOffset(offset);
        m_bytes[offset] = static_cast<char>(value);
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    void checkOffset(qint64 offset) const
    {
        if (offset < 0 || offset >= m_bytes.size())
            throw BvlError(ErrNo::InputPastEnd);
    }

    QByteArray m_bytes;
};
