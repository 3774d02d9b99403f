#include "seem/SettingValueText.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "seem/OwnedBytes.h"
#include "seem/SettingCodec.h"

namespace {

ValueText Shown(const QString &text)
{
    return ValueText{true, text, QString()};
}

ValueText NotShown(const QString &reason)
{
    return ValueText{false, QString(), reason};
}

bool IsKnownType(quint8 code)
{
    return code <= quint8(SettingType::UnicodeString);
}

bool UsesValues(quint8 code)
{
    return code == quint8(SettingType::Checkbox) || code == quint8(SettingType::ValueList);
}

QString PastEndReason(const OwnedSpan &span, qint64 imageSize)
{
    return QStringLiteral("its bytes %1..%2 lie outside the image of %3 bytes")
        .arg(span.offset)
        .arg(span.end() - 1)
        .arg(imageSize);
}

ValueText DecodeListEntry(ByteStore &image, const SettingStruct &setting)
{
    const QVector<ValueListEntry> entries = ValueListEntries(setting);
    const int position = SettingCodec::DecodeListIndex(image, setting);
    const QString bits = ValueToBitText(image.readByte(setting.Offset) & setting.BitMask);
    if (position < 0)
        return NotShown(QStringLiteral("its bits %1 match no entry").arg(bits));
    // More values than names: the window's list has no entry at that position.
    if (position >= entries.size())
        return NotShown(QStringLiteral("its bits %1 match value %2, which has no name").arg(bits).arg(position + 1));
    return Shown(entries.at(position).name);
}

} // namespace

QString UnshowableReason(const SettingStruct &setting)
{
    if (!IsKnownType(setting.Type))
        return QStringLiteral("type code %1 is not a setting type").arg(setting.Type);
    if (!UsesValues(setting.Type))
        return QString();
    const QStringList texts = SplitValues(setting.Values);
    for (int k = 0; k < texts.size(); ++k) {
        try {
            DecimalToLong(texts.at(k));
        } catch (const BvlError &) {
            return QStringLiteral("value %1 \"%2\" is not a number").arg(k + 1).arg(texts.at(k));
        }
    }
    if (setting.Type == quint8(SettingType::Checkbox) && texts.size() < 2)
        return QStringLiteral("a check box needs two values, it has %1").arg(texts.size());
    const int names = SplitValues(setting.ValueNames).size();
    if (setting.Type == quint8(SettingType::ValueList) && texts.size() < names)
        return QStringLiteral("it has %1 names but only %2 values").arg(names).arg(texts.size());
    return QString();
}

QVector<ValueListEntry> ValueListEntries(const SettingStruct &setting)
{
    const QStringList names = SplitValues(setting.ValueNames);
    const QVector<qint32> values = SettingCodec::ValueNumbers(setting);
    if (values.size() < names.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("fewer values than names"));
    QVector<ValueListEntry> entries;
    entries.reserve(names.size());
    for (int k = 0; k < names.size(); ++k)
        entries.append(ValueListEntry{names.at(k), values.at(k)});
    return entries;
}

ValueText DecodeValueText(ByteStore &image, const SettingStruct &setting)
{
    const QString unshowable = UnshowableReason(setting);
    if (!unshowable.isEmpty())
        return NotShown(unshowable);
    const OwnedSpan span = OwnedSpanOf(setting);
    if (!SpanInsideImage(span, image.size()))
        return NotShown(PastEndReason(span, image.size()));
    try {
        switch (SettingType(setting.Type)) {
        case SettingType::Checkbox:
            return Shown(SettingCodec::DecodeChecked(image, setting) ? CheckedText : UncheckedText);
        case SettingType::ValueList:
            return DecodeListEntry(image, setting);
        default:
            return Shown(SettingCodec::DecodeText(image, setting));
        }
    } catch (const BvlError &e) {
        // The checks above leave only failures of the image itself, such as a read error.
        return NotShown(QStringLiteral("it cannot be read (error %1)").arg(e.number()));
    }
}

QString SettingTypeName(quint8 typeCode)
{
    switch (SettingType(typeCode)) {
    case SettingType::Checkbox:
        return QStringLiteral("Checkbox");
    case SettingType::ValueList:
        return QStringLiteral("ValueList");
    case SettingType::Int8:
        return QStringLiteral("Int8");
    case SettingType::AnsiString:
        return QStringLiteral("AnsiString");
    case SettingType::UnicodeString:
        return QStringLiteral("UnicodeString");
    }
    return QStringLiteral("type %1").arg(typeCode);
}
