#include "seem/SeemFile.h"

#include "core/BvlError.h"

QByteArray PendingWrites::read(qint64 offset, qint64 count)
{
    if (offset < 0)
        throw BvlError(ErrNo::InputPastEnd);
    const qint64 length = qMin(count, size() - offset);
    if (length <= 0)
        return QByteArray();

    // The target is asked only for bytes that neither a pending write nor an earlier read
    // holds, so that encoding a byte twice, and the commit after it, cost no extra reads.
    bool known = true;
    for (qint64 at = offset; known && at < offset + length; ++at)
        known = m_bytes.contains(at) || m_original.contains(at);
    QByteArray bytes = known ? QByteArray(length, Qt::Uninitialized) : m_target.read(offset, length);
    for (qint64 i = 0; i < bytes.size(); ++i) {
        const qint64 at = offset + i;
        if (!known && !m_original.contains(at))
            m_original.insert(at, quint8(bytes[i]));
        const auto pending = m_bytes.constFind(at);
        bytes[i] = char(pending != m_bytes.constEnd() ? pending.value() : m_original.value(at));
    }
    return bytes;
}

void PendingWrites::write(qint64 offset, const QByteArray &bytes)
{
    // Refused now, not at commit: a save must fail before any byte reaches the target.
    if (!SpanInside(offset, bytes.size(), size()))
        throw BvlError(ErrNo::InputPastEnd);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        m_bytes.insert(offset + i, quint8(bytes[i]));
}

QVector<PendingWrites::Run> PendingWrites::pendingRuns() const
{
    // QMap iterates in ascending key order: neighbouring offsets join one run.
    QVector<Run> runs;
    for (auto it = m_bytes.constBegin(); it != m_bytes.constEnd(); ++it) {
        if (runs.isEmpty() || runs.last().offset + runs.last().bytes.size() != it.key())
            runs.append(Run{it.key(), QByteArray()});
        runs.last().bytes.append(char(it.value()));
    }
    return runs;
}

QByteArray PendingWrites::originalBytes(const Run &run)
{
    QByteArray bytes;
    bytes.reserve(run.bytes.size());
    for (qint64 at = run.offset; at < run.offset + run.bytes.size(); ++at) {
        const auto original = m_original.constFind(at);
        if (original == m_original.constEnd())
            return m_target.read(run.offset, run.bytes.size());
        bytes.append(char(original.value()));
    }
    return bytes;
}

void PendingWrites::commit()
{
    // The original bytes of each run are read before it is written, so that a write error
    // half way through can undo the runs before it (and whatever part of the failing run
    // reached the target).
    QVector<Run> touched;
    try {
        for (const Run &run : pendingRuns()) {
            Run original{run.offset, originalBytes(run)};
            if (original.bytes == run.bytes)
                continue;
            touched.append(original);
            m_target.write(run.offset, run.bytes);
        }
    } catch (...) {
        for (const Run &original : touched) {
            try {
                m_target.write(original.offset, original.bytes);
            } catch (const BvlError &) {
                // Putting back is all that is left to try; the first failure is what is reported.
            }
        }
        try {
            m_target.flush();
        } catch (const BvlError &) {
            // As above: the caller learns of the write that failed.
        }
        throw;
    }
    clear();
}

void PendingWrites::clear()
{
    m_bytes.clear();
    m_original.clear();
}
