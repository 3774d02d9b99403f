#include "seem/values/SettingValueParse.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/SettingCodec.h"
#include "seem/values/SettingValueText.h"

#include <QStringList>
#include <optional>

namespace {

ParsedValue Refused(const QString &reason)
{
    ParsedValue value;
    value.reason = reason;
    return value;
}

ParsedValue ParseChecked(const QString &text)
{
    const QString word = text.trimmed().toLower();
    ParsedValue value;
    value.accepted = true;
    if (word == CheckedText || word == QLatin1String("true") || word == QLatin1String("1")) {
        value.checked = true;
        return value;
    }
    if (word == UncheckedText || word == QLatin1String("false") || word == QLatin1String("0"))
        return value;
    return Refused(QStringLiteral("\"%1\" is not on or off (true/false and 1/0 are taken too)").arg(text));
}

// The entry text names: the first of equal names, as the window's list selects it; else
// the one name that differs in letter case only. -1 for none, -2 for several.
qsizetype ListEntryNamed(const ValueViews &names, QStringView text)
{
    const qsizetype exact = names.indexOf(text);
    if (exact >= 0)
        return exact;
    qsizetype found = -1;
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (names.at(k).compare(text, Qt::CaseInsensitive) != 0)
            continue;
        if (found >= 0 && names.at(k) != names.at(found))
            return -2;
        if (found < 0)
            found = k;
    }
    return found;
}

// The first entry whose value is number, or -1.
qsizetype ListEntryOfValue(const ValueViews &values, qsizetype names, qint32 number)
{
    for (qsizetype k = 0; k < names; ++k)
        if (DecimalToLong(values.at(k)) == number)
            return k;
    return -1;
}

// A number as people type one: decimal, or hexadecimal after "0x".
std::optional<qint32> TypedNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    try {
        if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && trimmed.size() > 2)
            return HexToLong(trimmed.mid(2));
        return DecimalToLong(trimmed);
    } catch (const BvlError &) {
        return std::nullopt;
    }
}

// "; did you mean "High"?" for a name near text, or nothing.
QString NearestEntries(const ValueViews &names, const QString &text)
{
    SettingList entries;
    entries.reserve(names.size());
    for (QStringView name : names) {
        SettingStruct entry;
        entry.Name = name.toString();
        entries.append(entry);
    }
    QStringList nearest;
    for (int index : NearestNames(entries).nearest(text))
        nearest << entries.at(index - 1).Name;
    return DidYouMean(nearest);
}

ParsedValue ParseListEntry(const SettingStruct &setting, const QString &text)
{
    const ValueViews names = SplitValueViews(setting.ValueNames);
    const ValueViews values = SplitValueViews(setting.Values);
    qsizetype k = ListEntryNamed(names, text);
    const std::optional<qint32> typed = k == -1 ? TypedNumber(text) : std::nullopt;
    if (typed)
        k = ListEntryOfValue(values, names.size(), *typed);
    if (k < 0) {
        QStringList all;
        for (QStringView name : names)
            all << name.toString();
        const QString listed = all.join(QStringLiteral(", "));
        if (typed)
            return Refused(
                QStringLiteral("%1 is not one of the list's values (%2)").arg(ValueNumberText(*typed), listed));
        return Refused(QStringLiteral("\"%1\" is not in the list (%2)").arg(text, listed)
                       + NearestEntries(names, text));
    }
    const qint32 number = DecimalToLong(values.at(k));   // UnshowableReason has checked it
    if (number < 0 || number > 255)
        return Refused(QStringLiteral("the value %1 of \"%2\" does not fit a byte").arg(ValueNumberText(number), text));
    // Only the bits of the mask are written: such an entry would read back as none.
    if ((number & ~qint32(setting.BitMask)) != 0)
        return Refused(QStringLiteral("the value %1 of \"%2\" has bits outside the mask %3, so it would read "
                                      "back as no entry of the list")
                           .arg(ValueNumberText(number), text, ValueToBitText(setting.BitMask)));
    ParsedValue value;
    value.accepted = true;
    value.listValue = number;
    return value;
}

ParsedValue ParseNumber(const QString &text)
{
    qint32 number = 0;
    try {
        number = DecimalToLong(text);
    } catch (const BvlError &) {
        return Refused(QStringLiteral("\"%1\" is not a number").arg(text));
    }
    if (number < 0 || number > 255)
        return Refused(QStringLiteral("%1 is out of range 0..255").arg(number));
    ParsedValue value;
    value.accepted = true;
    value.text = QString::number(number);
    return value;
}

ParsedValue ParseString(const SettingStruct &setting, const QString &text)
{
    if (text.contains(QChar(0)))
        return Refused(QStringLiteral("a zero character would end the text early"));
    // Half of a surrogate pair is no character: UTF-16 cannot hold it, and a byte that is
    // not UTF-8 in an argument arrives as one.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool paired = c.isHighSurrogate() ? i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                                                : !c.isLowSurrogate() || (i > 0 && text.at(i - 1).isHighSurrogate());
        if (!paired)
            return Refused(QStringLiteral("U+%1 is half of a surrogate pair, not a character (a byte that is not "
                                          "UTF-8, or an escape such as \\ud800); the text cannot be stored")
                               .arg(QString::number(c.unicode(), 16).toUpper()));
        if (c.isHighSurrogate())
            ++i;
    }
    if (setting.Type == quint8(SettingType::AnsiString)) {
        for (QChar c : text) {
            quint8 byte = 0;
            if (!CodePage::encodeChar(c, byte))
                return Refused(QStringLiteral("\"%1\" (U+%2) has no byte in %3")
                                   .arg(QString(c),
                                        QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper(),
                                        CodePage::DisplayName(CodePage::Current())));
        }
    }
    const int limit = SettingCodec::MaxTextLength(setting);
    if (text.size() > limit)
        return Refused(QStringLiteral("%1 characters are too long for its field (at most %2)")
                           .arg(QString::number(text.size()), QString::number(limit)));
    ParsedValue value;
    value.accepted = true;
    value.text = text;
    return value;
}

}   // namespace

ParsedValue ParseValueText(const SettingStruct &setting, const QString &text)
{
    const QString unshowable = UnshowableReason(setting);
    if (!unshowable.isEmpty())
        return Refused(QStringLiteral("it cannot be set: ") + unshowable);
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        return ParseChecked(text);
    case SettingType::ValueList:
        return ParseListEntry(setting, text);
    case SettingType::Int8:
        return ParseNumber(text);
    default:
        return ParseString(setting, text);
    }
}

void EncodeParsedValue(ByteStore &image, const SettingStruct &setting, const ParsedValue &value)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(image, setting, value.checked);
        break;
    case SettingType::ValueList:
        SettingCodec::EncodeListValue(image, setting, value.listValue);
        break;
    default:
        SettingCodec::EncodeText(image, setting, value.text);
        break;
    }
}
