#include "seem/document/AlsoChanged.h"

#include "seem/values/OwnedBytes.h"

#include <algorithm>

namespace {
struct ByteRange
{
    qint64 begin;
    qint64 end;
};

// The bytes of the written settings as sorted ranges that neither touch nor overlap.
QVector<ByteRange> WrittenRanges(const SettingList &settings, const QVector<int> &written)
{
    QVector<ByteRange> ranges;
    for (int index : written) {
        const OwnedSpan span = OwnedSpanOf(settings.at(index - 1));
        if (span.size > 0)
            ranges.append({span.offset, span.end()});
    }
    std::sort(ranges.begin(), ranges.end(), [](const ByteRange &a, const ByteRange &b) { return a.begin < b.begin; });
    QVector<ByteRange> merged;
    for (const ByteRange &r : ranges) {
        if (!merged.isEmpty() && r.begin <= merged.last().end)
            merged.last().end = std::max(merged.last().end, r.end);
        else
            merged.append(r);
    }
    return merged;
}

bool SharesAByte(const QVector<ByteRange> &ranges, const OwnedSpan &span)
{
    if (span.size == 0)
        return false;
    // The last range that begins before the span ends is the only one that can reach into it.
    auto after = std::upper_bound(ranges.begin(), ranges.end(), span.end() - 1,
                                  [](qint64 last, const ByteRange &r) { return last < r.begin; });
    return after != ranges.begin() && std::prev(after)->end > span.offset;
}
}   // namespace

QVector<QPair<int, ControlState>> SettingsAlsoChanged(ByteStore &after, const SettingList &settings,
                                                      const QVector<int> &written, const SettingStates &restored)
{
    QVector<QPair<int, ControlState>> changed;
    const QVector<ByteRange> ranges = WrittenRanges(settings, written);
    if (ranges.isEmpty())
        return changed;
    QVector<bool> isWritten(settings.size() + 1, false);
    for (int index : written)
        isWritten[index] = true;
    for (int index = 1; index <= settings.size(); ++index) {
        if (!restored.isRestored(index) || isWritten.at(index)
            || !SharesAByte(ranges, OwnedSpanOf(settings.at(index - 1))))
            continue;
        try {
            const ControlState state = DecodeControlState(after, settings.at(index - 1));
            if (state != restored.restored(index))
                changed.append({index, state});
        } catch (const BvlError &) {
        }
    }
    return changed;
}
