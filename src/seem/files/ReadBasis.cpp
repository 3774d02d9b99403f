#include "seem/files/ReadBasis.h"

#include <QVector>

#include <iterator>

template<typename Visit> void ReadBasis::forOverlapping(qint64 offset, qint64 end, Visit visit) const
{
    auto it = m_spans.upperBound(offset);
    if (it != m_spans.constBegin())
        --it;
    for (; it != m_spans.constEnd() && it.key() < end; ++it) {
        if (it.key() + it.value().size() > offset)
            visit(it.key(), it.value());
    }
}

void ReadBasis::record(qint64 offset, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const qint64 end = offset + bytes.size();
    // Most reads lie inside what was read already: nothing to keep.
    auto it = m_spans.upperBound(offset);
    if (it != m_spans.begin()) {
        const auto before = std::prev(it);
        if (before.key() <= offset && before.key() + before.value().size() >= end)
            return;
    }
    // The spans this read overlaps or touches join it; their bytes win over the new read.
    qint64 start = offset;
    qint64 stop = end;
    QVector<qint64> joined;
    it = m_spans.upperBound(offset);
    if (it != m_spans.begin() && std::prev(it).key() + std::prev(it).value().size() >= offset)
        --it;
    for (; it != m_spans.end() && it.key() <= end; ++it) {
        joined.append(it.key());
        start = qMin(start, it.key());
        stop = qMax(stop, it.key() + it.value().size());
    }
    QByteArray merged(stop - start, Qt::Uninitialized);
    merged.replace(offset - start, bytes.size(), bytes);
    for (qint64 key : joined) {
        const QByteArray kept = m_spans.take(key);
        merged.replace(key - start, kept.size(), kept);
    }
    m_spans.insert(start, merged);
}

void ReadBasis::update(qint64 offset, const QByteArray &bytes)
{
    const qint64 end = offset + bytes.size();
    QVector<qint64> touched;
    forOverlapping(offset, end, [&](qint64 start, const QByteArray &) { touched.append(start); });
    for (qint64 start : touched) {
        QByteArray &kept = m_spans[start];
        const qint64 from = qMax(start, offset);
        const qint64 to = qMin(start + kept.size(), end);
        kept.replace(from - start, to - from, bytes.constData() + (from - offset), to - from);
    }
}

bool ReadBasis::agrees(qint64 offset, const QByteArray &bytes) const
{
    bool same = true;
    forOverlapping(offset, offset + bytes.size(), [&](qint64 start, const QByteArray &kept) {
        const qint64 from = qMax(start, offset);
        const qint64 to = qMin(start + kept.size(), offset + bytes.size());
        for (qint64 at = from; same && at < to; ++at)
            same = kept.at(at - start) == bytes.at(at - offset);
    });
    return same;
}
