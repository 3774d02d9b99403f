#pragma once
#include "seem/files/ByteStore.h"

#include <QVector>

// Passes every access through to another store and remembers which bytes the writes
// changed, so that a change can be shown (old and new bytes) before it is committed.
struct ByteChange
{
    qint64 offset = 0;
    quint8 before = 0;
    quint8 after = 0;
};

// What a recorder saw of a setting's bytes: the first changed bytes one by one, and how
// many changed in all up to which offset. A text field of megabytes is told in a line.
struct ChangedBytes
{
    static constexpr int Listed = 32;
    QVector<ByteChange> first;   // at most Listed, in ascending offset order
    qint64 count = 0;            // every changed byte
    qint64 lastOffset = 0;       // of the last changed byte
    bool isEmpty() const { return count == 0; }
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
        m_target.write(offset, bytes);   // refuses, writing nothing, a span outside the image
        // An encode writes a byte or a field, in offset order: mostly appended to the last
        // run, two bytes kept per byte written.
        if (m_runs.isEmpty() || m_runs.constLast().end() < offset) {
            m_runs.append(Run{offset, before, bytes});
            return;
        }
        if (m_runs.constLast().end() == offset) {
            m_runs.last().before += before;
            m_runs.last().after += bytes;
            return;
        }
        merge(Run{offset, before, bytes});
    }

    // The bytes whose value differs from before.
    ChangedBytes changes() const
    {
        ChangedBytes changed;
        for (const Run &run : m_runs)
            for (qsizetype i = 0; i < run.before.size(); ++i) {
                if (run.before.at(i) == run.after.at(i))
                    continue;
                const ByteChange c{run.offset + i, quint8(run.before.at(i)), quint8(run.after.at(i))};
                if (changed.first.size() < ChangedBytes::Listed)
                    changed.first.append(c);
                ++changed.count;
                changed.lastOffset = c.offset;
            }
        return changed;
    }

private:
    struct Run
    {
        qint64 offset;
        QByteArray before;   // what the bytes held before the first write of them
        QByteArray after;    // what the last write left
        qint64 end() const { return offset + before.size(); }
    };

    // A write over or before runs already recorded: the runs it touches become one, whose
    // bytes keep what they held before the first write of them.
    void merge(const Run &write)
    {
        qsizetype first = 0;
        while (first < m_runs.size() && m_runs.at(first).end() < write.offset)
            ++first;
        qsizetype last = first;
        while (last < m_runs.size() && m_runs.at(last).offset <= write.end())
            ++last;
        const qint64 start = qMin(write.offset, first < last ? m_runs.at(first).offset : write.offset);
        const qint64 end = qMax(write.end(), first < last ? m_runs.at(last - 1).end() : write.end());
        Run merged{start, QByteArray(end - start, '\0'), QByteArray(end - start, '\0')};
        merged.before.replace(write.offset - start, write.before.size(), write.before);
        for (qsizetype i = first; i < last; ++i) {
            const Run &r = m_runs.at(i);
            merged.before.replace(r.offset - start, r.before.size(), r.before);
            merged.after.replace(r.offset - start, r.after.size(), r.after);
        }
        merged.after.replace(write.offset - start, write.after.size(), write.after);
        m_runs.erase(m_runs.begin() + first, m_runs.begin() + last);
        m_runs.insert(first, merged);
    }

    ByteStore &m_target;
    QVector<Run> m_runs;   // in offset order, neither overlapping nor touching
};
