#pragma once
#include "seem/ByteStore.h"

#include <QMap>
#include <QVector>

// Passes every access through to another store and remembers which bytes the writes
// changed, so that a change can be shown (old and new bytes) before it is committed.
struct ByteChange
{
    qint64 offset = 0;
    quint8 before = 0;
    quint8 after = 0;
};

class RecordingByteStore : public ByteStore
{
public:
    explicit RecordingByteStore(ByteStore &target) : m_target(target) {}

    qint64 size() const override { return m_target.size(); }
    quint8 readByte(qint64 offset) override { return m_target.readByte(offset); }
    void writeByte(qint64 offset, quint8 value) override
    {
        const quint8 before = m_target.readByte(offset);
        m_target.writeByte(offset, value);
        // The first write of a byte knows what it held before all of them.
        m_changes.insert(offset, ByteChange{offset, m_changes.contains(offset) ? m_changes[offset].before : before, value});
    }

    // The bytes whose value differs from before, in ascending offset order.
    QVector<ByteChange> changes() const
    {
        QVector<ByteChange> changed;
        for (const ByteChange &c : m_changes)
            if (c.before != c.after)
                changed.append(c);
        return changed;
    }

private:
    ByteStore &m_target;
    QMap<qint64, ByteChange> m_changes;
};
