#pragma once
#include "seem/ByteStore.h"

#include <algorithm>
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
        // An encode writes a byte or a field, in offset order: mostly appended.
        const bool beyondAll = m_changes.isEmpty() || m_changes.constLast().offset < offset;
        if (beyondAll)
            m_changes.reserve(m_changes.size() + bytes.size());
        for (qint64 i = 0; i < bytes.size(); ++i) {
            const qint64 at = offset + i;
            const auto after = static_cast<quint8>(bytes.at(i));
            const auto first = static_cast<quint8>(before.at(i));
            if (beyondAll) {
                m_changes.append(ByteChange{at, first, after});
                continue;
            }
            const auto place = std::lower_bound(m_changes.begin(), m_changes.end(), at,
                                                [](const ByteChange &c, qint64 offset) { return c.offset < offset; });
            // The first write of a byte knows what it held before all of them.
            if (place != m_changes.end() && place->offset == at)
                place->after = after;
            else
                m_changes.insert(place, ByteChange{at, first, after});
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
    QVector<ByteChange> m_changes;   // one per byte written, in offset order
};
