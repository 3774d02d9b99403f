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
    QByteArray read(qint64 offset, qint64 count) override { return m_target.read(offset, count); }
    void write(qint64 offset, const QByteArray &bytes) override
    {
        const QByteArray before = m_target.read(offset, bytes.size());
        m_target.write(offset, bytes); // refuses, writing nothing, a span outside the image
        for (qint64 i = 0; i < bytes.size(); ++i) {
            const qint64 at = offset + i;
            const auto after = static_cast<quint8>(bytes.at(i));
            // The first write of a byte knows what it held before all of them.
            const quint8 first = m_changes.contains(at) ? m_changes[at].before : static_cast<quint8>(before.at(i));
            m_changes.insert(at, ByteChange{at, first, after});
        }
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
