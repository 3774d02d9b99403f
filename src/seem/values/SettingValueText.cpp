#include "seem/values/SettingValueText.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingCodec.h"

namespace {

ValueText Shown(const QString &text)
{
    return ValueText{true, text, QString()};
}

ValueText NotShown(const QString &reason)
{
    return ValueText{false, QString(), reason};
}

ValueText NotRead(const QString &reason)
{
    return ValueText{false, QString(), reason, true};
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

// The entry of a list whose value and name texts are split already (and checked: every
// value text up to the last name is a number).
ValueText DecodeListEntry(ByteStore &image, const SettingStruct &setting, const ValueViews &names,
                          const ValueViews &values)
{
    const quint8 owned = image.readByte(setting.Offset) & setting.BitMask;
    // Entry k is name k with value k; the first that matches is shown, as the list is walked.
    for (qsizetype k = 0; k < names.size(); ++k)
        if (DecimalToLong(values.at(k)) == owned)
            return Shown(names.at(k).toString());
    return NotShown(QStringLiteral("its bits %1 match no entry").arg(ValueToBitText(owned)));
}

// What keeps a check box or list from being shown, its value texts and the number of its
// names given; empty when nothing does.
QString ValuesProblem(const SettingStruct &setting, const ValueViews &texts, qsizetype names)
{
    // The values the window reads: a check box's checked value (the one saying "off" is
    // needed only to save it unchecked), and a list's value for each of its names
    // (value texts beyond the last name belong to no entry).
    const bool checkbox = setting.Type == quint8(SettingType::Checkbox);
    if (checkbox && texts.isEmpty())
        return QStringLiteral("a check box needs its checked value, it has none");
    if (!checkbox && texts.size() < names)
        return QStringLiteral("it has %1 names but only %2 values").arg(names).arg(texts.size());
    const qsizetype read = checkbox ? 1 : names;
    for (qsizetype k = 0; k < read; ++k) {
        try {
            DecimalToLong(texts.at(k));
        } catch (const BvlError &) {
            return QStringLiteral("value %1 \"%2\" is not a number").arg(QString::number(k + 1), texts.at(k));
        }
    }
    return QString();
}

}   // namespace

QString UnshowableReason(const SettingStruct &setting)
{
    if (!IsKnownType(setting.Type))
        return QStringLiteral("type code %1 is not a setting type").arg(setting.Type);
    if (!UsesValues(setting.Type))
        return QString();
    return ValuesProblem(setting, SplitValueViews(setting.Values), SplitValueViews(setting.ValueNames).size());
}

QVector<ValueListEntry> ValueListEntries(const SettingStruct &setting)
{
    const QStringList names = SplitValues(setting.ValueNames);
    const QStringList values = SplitValues(setting.Values);
    if (values.size() < names.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("fewer values than names"));
    // Value texts beyond the last name belong to no entry and are not read.
    QVector<ValueListEntry> entries;
    entries.reserve(names.size());
    for (int k = 0; k < names.size(); ++k)
        entries.append(ValueListEntry{names.at(k), DecimalToLong(values.at(k))});
    return entries;
}

ValueText DecodeValueText(ByteStore &image, const SettingStruct &setting)
{
    if (!IsKnownType(setting.Type))
        return NotShown(UnshowableReason(setting));
    // A list's texts are split once for the check and the entry, into views: a profile
    // decodes every setting more than once.
    ValueViews values;
    ValueViews names;
    if (UsesValues(setting.Type)) {
        values = SplitValueViews(setting.Values);
        names = SplitValueViews(setting.ValueNames);
        const QString problem = ValuesProblem(setting, values, names.size());
        if (!problem.isEmpty())
            return NotShown(problem);
    }
    const OwnedSpan span = OwnedSpanOf(setting);
    if (!SpanInsideImage(span, image.size()))
        return NotRead(PastEndReason(span, image.size()));
    try {
        switch (SettingType(setting.Type)) {
        case SettingType::Checkbox:
            return Shown(SettingCodec::DecodeChecked(image, setting) ? CheckedText : UncheckedText);
        case SettingType::ValueList:
            return DecodeListEntry(image, setting, names, values);
        default:
            return Shown(SettingCodec::DecodeText(image, setting));
        }
    } catch (const BvlError &e) {
        // The checks above leave only failures of the image itself, such as a read error.
        return NotRead(QStringLiteral("it cannot be read (error %1)").arg(e.number()));
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
