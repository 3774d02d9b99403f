#pragma once
#include <QByteArray>
#include <QMap>

// The bytes of a file as this program first read them since it opened or last saved the
// file: what the user's edits are based on. A save compares them with what the file
// holds under its lock, since file times move in steps too coarse to catch a second
// writer. Every byte of every read is kept: reads that overlap or touch join one span,
// and where a byte was read before, its first reading stays.
class ReadBasis
{
public:
    void record(qint64 offset, const QByteArray &bytes);
    // After a save: the file now holds these bytes where spans were kept.
    void update(qint64 offset, const QByteArray &bytes);
    // False when a kept byte inside [offset, offset + bytes.size()) differs from bytes.
    bool agrees(qint64 offset, const QByteArray &bytes) const;
    void clear() { m_spans.clear(); }

private:
    // The kept spans that overlap [offset, end), in offset order.
    template<typename Visit> void forOverlapping(qint64 offset, qint64 end, Visit visit) const;
    QMap<qint64, QByteArray> m_spans;   // disjoint, not touching
};
