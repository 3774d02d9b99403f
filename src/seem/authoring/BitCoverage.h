#pragma once
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QVector>
#include <QtGlobal>

// Which bits of an image a setting file describes. A setting owns the bits of its
// OwnedSpan: check boxes and lists their mask at their offset, numbers the whole byte,
// strings every byte of their field. Spans are cut at the image's ends.
class BitCoverage
{
public:
    enum class ByteState {
        Undescribed,   // no setting owns a bit of it
        Partly,        // some bits owned, each by one setting
        Whole,         // every bit owned, each by one setting
        Conflict,      // a bit owned by more than one setting
    };

    BitCoverage() = default;
    // One pass over the settings, each touching only the bytes of its span.
    BitCoverage(const SettingList &settings, qint64 imageSize);

    qint64 size() const { return m_owned.size(); }
    quint8 ownedBits(qint64 offset) const { return quint8(m_owned.at(offset)); }
    quint8 sharedBits(qint64 offset) const { return quint8(m_shared.at(offset)); }
    ByteState stateAt(qint64 offset) const;

    // Bytes with at least one owned bit, and bits owned more than once, over the image.
    qint64 describedBytes() const { return m_describedBytes; }
    qint64 conflictBits() const { return m_conflictBits; }

private:
    QByteArray m_owned;    // per byte: the bits some setting owns
    QByteArray m_shared;   // per byte: the bits more than one setting owns
    qint64 m_describedBytes = 0;
    qint64 m_conflictBits = 0;
};

// One setting's hold on one byte: which of its bits the setting owns.
struct ByteOwner
{
    int index = 0;   // 1-based setting number
    quint8 bits = 0;
};

// The settings that own bits of the byte at offset, in setting order.
QVector<ByteOwner> OwnersOfByte(const SettingList &settings, qint64 offset);

// A stretch of bytes [offset, offset + size).
struct ByteRange
{
    qint64 offset = 0;
    qint64 size = 0;
};

// The runs of bytes no setting owns a bit of.
QVector<ByteRange> UndescribedRanges(const BitCoverage &coverage);

// "1,024 bytes, 412 described (40%), 3 bits in conflict" from pattern (%1 bytes, %2
// described, %3 percent, %4 bits), the numbers grouped as locale groups them.
QString CoverageLine(const BitCoverage &coverage, const QString &pattern,
                     const QLocale &locale = QLocale(QLocale::English));
inline const QString CoverageLinePattern = QStringLiteral("%1 bytes, %2 described (%3%), %4 bits in conflict");

// A byte of two images whose differing bits include bits no setting owns.
struct UndescribedDifference
{
    qint64 offset = 0;
    quint8 bits = 0;   // the differing bits no setting owns
};

// In offset order, over the bytes both images have.
QVector<UndescribedDifference> UndescribedDifferences(const BitCoverage &coverage, const QByteArray &a,
                                                      const QByteArray &b);

// The settings other than skipIndex (1-based; 0 for none) owning a bit that setting
// owns too, in setting order.
QVector<int> SettingsSharingBits(const SettingList &settings, const SettingStruct &setting, int skipIndex);
