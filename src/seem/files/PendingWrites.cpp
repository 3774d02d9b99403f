#include "seem/files/SeemFile.h"

#include "core/BvlError.h"

#include <cstring>
#include <new>

// A flat overlay of the target: its bytes read in one call, the pending writes over them,
// and one mark per byte that a write holds. An image is small; a map of single bytes
// would cost far more than the image itself.

void PendingWrites::load()
{
    if (m_loaded)
        return;
    const qint64 size = m_target.size();
    try {
        m_original = m_target.read(0, size);
        m_bytes = m_original;
        // The image may have been cut short behind the program's back: reads end where it ends.
        m_bytes.resize(size);
        m_changed = QByteArray(size, '\0');
    } catch (const std::bad_alloc &) {
        throw BvlError(ErrNo::OutOfMemory);
    }
    m_loaded = true;
}

QByteArray PendingWrites::read(qint64 offset, qint64 count)
{
    if (offset < 0)
        throw BvlError(ErrNo::InputPastEnd);
    load();
    const qint64 length = qMin(count, qint64(m_original.size()) - offset);
    if (length <= 0)
        return QByteArray();
    return m_bytes.mid(offset, length);
}

void PendingWrites::write(qint64 offset, const QByteArray &bytes)
{
    // Refused now, not at commit: a save must fail before any byte reaches the target.
    if (!SpanInside(offset, bytes.size(), size()))
        throw BvlError(ErrNo::InputPastEnd);
    load();
    std::memcpy(m_bytes.data() + offset, bytes.constData(), size_t(bytes.size()));
    char *marks = m_changed.data() + offset;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        m_pendingCount += marks[i] == 0;
        marks[i] = 1;
    }
}

bool PendingWrites::holdsWriteIn(qint64 offset, qint64 count) const
{
    const qint64 from = qBound<qint64>(0, offset, m_changed.size());
    const qint64 to = qBound<qint64>(from, offset + qMax<qint64>(0, count), m_changed.size());
    return m_pendingCount > 0 && std::memchr(m_changed.constData() + from, 1, size_t(to - from)) != nullptr;
}

QVector<PendingWrites::Run> PendingWrites::pendingRuns() const
{
    QVector<Run> runs;
    if (m_pendingCount == 0)
        return runs;
    const char *marks = m_changed.constData();
    const qsizetype size = m_changed.size();
    qsizetype at = 0;
    while (at < size) {
        const void *first = std::memchr(marks + at, 1, size_t(size - at));
        if (!first)
            break;
        const qsizetype start = static_cast<const char *>(first) - marks;
        qsizetype end = start;
        while (end < size && marks[end])
            ++end;
        runs.append(Run{start, m_bytes.mid(start, end - start)});
        at = end;
    }
    return runs;
}

void PendingWrites::commit()
{
    // The original bytes of each run were read before it is written, so that a write error
    // half way through can undo the runs before it (and whatever part of the failing run
    // reached the target).
    QVector<Run> touched;
    try {
        for (const Run &run : pendingRuns()) {
            Run original{run.offset, m_original.mid(run.offset, run.bytes.size())};
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
    m_loaded = false;
    m_original.clear();
    m_bytes.clear();
    m_changed.clear();
    m_pendingCount = 0;
}
