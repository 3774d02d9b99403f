#include "seem/ReadBasis.h"

template<typename Visit>
void ReadBasis::forOverlapping(qint64 offset, qint64 end, Visit visit) const
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
    bool overlaps = false;
    forOverlapping(offset, offset + bytes.size(), [&](qint64, const QByteArray &) { overlaps = true; });
    if (!overlaps)
        m_spans.insert(offset, bytes);
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
