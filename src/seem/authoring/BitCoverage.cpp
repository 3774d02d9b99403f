#include "seem/authoring/BitCoverage.h"

#include "seem/values/OwnedBytes.h"

#include <algorithm>

namespace {

int bitCount(quint8 bits)
{
    int count = 0;
    for (; bits; bits &= quint8(bits - 1))
        ++count;
    return count;
}

}   // namespace

BitCoverage::BitCoverage(const SettingList &settings, qint64 imageSize)
    : m_owned(int(qMax<qint64>(0, imageSize)), '\0'), m_shared(int(qMax<qint64>(0, imageSize)), '\0')
{
    char *owned = m_owned.data();
    char *shared = m_shared.data();
    for (const SettingStruct &setting : settings) {
        const OwnedSpan span = OwnedSpanOf(setting);
        const qint64 from = qMax<qint64>(0, span.offset);
        const qint64 to = qMin<qint64>(imageSize, span.end());
        for (qint64 i = from; i < to; ++i) {
            shared[i] = char(quint8(shared[i]) | (quint8(owned[i]) & span.mask));
            owned[i] = char(quint8(owned[i]) | span.mask);
        }
    }
    for (qint64 i = 0; i < imageSize; ++i) {
        if (owned[i])
            ++m_describedBytes;
        if (shared[i])
            m_conflictBits += bitCount(quint8(shared[i]));
    }
}

BitCoverage::ByteState BitCoverage::stateAt(qint64 offset) const
{
    if (sharedBits(offset))
        return ByteState::Conflict;
    switch (ownedBits(offset)) {
    case 0:
        return ByteState::Undescribed;
    case 0xFF:
        return ByteState::Whole;
    default:
        return ByteState::Partly;
    }
}

QVector<ByteOwner> OwnersOfByte(const SettingList &settings, qint64 offset)
{
    QVector<ByteOwner> owners;
    for (int k = 0; k < settings.size(); ++k) {
        const OwnedSpan span = OwnedSpanOf(settings[k]);
        if (offset >= span.offset && offset < span.end() && span.mask != 0)
            owners.append({k + 1, span.mask});
    }
    return owners;
}

QVector<ByteRange> UndescribedRanges(const BitCoverage &coverage)
{
    QVector<ByteRange> ranges;
    for (qint64 i = 0; i < coverage.size(); ++i) {
        if (coverage.ownedBits(i))
            continue;
        if (!ranges.isEmpty() && ranges.last().offset + ranges.last().size == i)
            ++ranges.last().size;
        else
            ranges.append({i, 1});
    }
    return ranges;
}

QString CoverageLine(const BitCoverage &coverage, const QString &pattern, const QLocale &locale)
{
    const qint64 bytes = coverage.size();
    const qint64 percent = bytes > 0 ? coverage.describedBytes() * 100 / bytes : 0;
    return pattern.arg(locale.toString(bytes), locale.toString(coverage.describedBytes()), locale.toString(percent),
                       locale.toString(coverage.conflictBits()));
}

QVector<UndescribedDifference> UndescribedDifferences(const BitCoverage &coverage, const QByteArray &a,
                                                      const QByteArray &b)
{
    QVector<UndescribedDifference> differences;
    const qint64 size = std::min({coverage.size(), qint64(a.size()), qint64(b.size())});
    for (qint64 i = 0; i < size; ++i) {
        const quint8 bits = quint8((a.at(i) ^ b.at(i)) & ~coverage.ownedBits(i));
        if (bits)
            differences.append({i, bits});
    }
    return differences;
}

QVector<int> SettingsSharingBits(const SettingList &settings, const SettingStruct &setting, int skipIndex)
{
    QVector<int> sharing;
    const OwnedSpan span = OwnedSpanOf(setting);
    for (int k = 0; k < settings.size(); ++k) {
        if (k + 1 == skipIndex)
            continue;
        const OwnedSpan other = OwnedSpanOf(settings[k]);
        if (other.offset < span.end() && span.offset < other.end() && (other.mask & span.mask) != 0)
            sharing.append(k + 1);
    }
    return sharing;
}
