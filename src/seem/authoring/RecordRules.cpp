#include "seem/authoring/RecordRules.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/values/SettingValueText.h"

#include <QHash>

#include <algorithm>

namespace {

FitFinding WithField(FitFinding finding, RecordField field)
{
    finding.field = field;
    return finding;
}

// The rule and numbers of the reason UnshowableReason gives.
FitFinding UnshowableFinding(const SettingStruct &s, int index)
{
    if (s.Type > quint8(SettingType::UnicodeString))
        return WithField(FitError({index}, FitRule::UnknownType, {s.Type}), RecordField::Type);
    const QStringList texts = SplitValues(s.Values);
    const int names = int(SplitValues(s.ValueNames).size());
    if (s.Type == quint8(SettingType::Checkbox) && texts.isEmpty())
        return WithField(FitError({index}, FitRule::NoCheckedValue), RecordField::Values);
    if (s.Type != quint8(SettingType::Checkbox) && texts.size() < names)
        return WithField(FitError({index}, FitRule::FewerValuesThanNames, {names, texts.size()}), RecordField::Values);
    const int read = s.Type == quint8(SettingType::Checkbox) ? 1 : names;
    for (int k = 0; k < read && k < texts.size(); ++k) {
        try {
            DecimalToLong(texts.at(k));
        } catch (const BvlError &) {
            return WithField(FitError({index}, FitRule::ValueNotNumber, {k + 1}, {texts.at(k)}), RecordField::Values);
        }
    }
    return WithField(FitError({index}, FitRule::ValueNotNumber, {0}, {QString()}), RecordField::Values);
}

bool OwnsBits(const SettingStruct &s)
{
    return s.Type == quint8(SettingType::Checkbox) || s.Type == quint8(SettingType::ValueList);
}

bool IsBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

// A text the format cannot hold: a character without a byte in the code page (the first
// such, a surrogate pair as one character), more bytes than its length field counts. Every
// code page has one byte per character, so the text is walked once and nothing is encoded.
void CheckText(const QString &text, RecordField field, const QVector<int> &settings, int codePage,
               QVector<FitFinding> &findings)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        quint8 byte = 0;
        if (CodePage::encodeChar(codePage, text.at(i), byte))
            continue;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qint64 point = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        findings.append(WithField(
            FitError(settings, FitRule::TextNotInCodePage, {point, codePage}, {text.mid(i, pair ? 2 : 1)}), field));
        break;
    }
    if (text.size() > SettingFileFormat::MaxTextBytes)
        findings.append(
            WithField(FitError(settings, FitRule::TextTooLong, {text.size(), SettingFileFormat::MaxTextBytes}), field));
}

void CheckTexts(const SettingStruct &s, int index, int codePage, QVector<FitFinding> &findings)
{
    // Blank as the setting dialog sees it: nothing but white space.
    if (IsBlank(s.Name))
        findings.append(WithField(FitError({index}, FitRule::NameEmpty), RecordField::Name));
    if (IsBlank(s.Group))
        findings.append(WithField(FitError({index}, FitRule::GroupEmpty), RecordField::Group));
    const std::pair<const QString *, RecordField> texts[] = {
        {&s.Name, RecordField::Name},     {&s.Description, RecordField::Description},
        {&s.Group, RecordField::Group},   {&s.ValueNames, RecordField::ValueNames},
        {&s.Values, RecordField::Values},
    };
    for (const auto &[text, field] : texts)
        CheckText(*text, field, {index}, codePage, findings);
}

void CheckStringField(const SettingStruct &s, int index, QVector<FitFinding> &findings)
{
    // Only what cannot hold a text at all is an error: the format takes any size above.
    const bool wide = s.Type == quint8(SettingType::UnicodeString);
    if (s.MaxStringLength < (wide ? 2 : 1))
        findings.append(
            WithField(FitError({index}, FitRule::NoTerminatorRoom, {s.MaxStringLength}), RecordField::StringLength));
    else if (wide && s.MaxStringLength % 2 != 0)
        findings.append(
            WithField(FitWarning({index}, FitRule::OddUtf16Length, {s.MaxStringLength}), RecordField::StringLength));
}

// The values of a check box or list; the type is known and its values are readable.
void CheckValues(const SettingStruct &s, int index, QVector<FitFinding> &findings)
{
    const QStringList texts = SplitValues(s.Values);
    QVector<qint32> values;
    for (const QString &text : texts) {
        try {
            values.append(DecimalToLong(text));
        } catch (const BvlError &) {
            break;   // past the values the window reads (checked value, one per name)
        }
    }
    const auto add = [&findings](FitFinding finding) {
        findings.append(WithField(std::move(finding), RecordField::Values));
    };
    // With no bits every value is equal within them; the empty mask says it all.
    const bool compare = s.BitMask != 0;
    if (s.Type == quint8(SettingType::Checkbox)) {
        if (values.size() < 2)
            add(FitWarning({index}, FitRule::NoUncheckedValue));
        else if (texts.size() > 2)
            add(FitWarning({index}, FitRule::CheckboxExtraValues, {texts.size()}));
        // Unchecking writes the unchecked value's bits: equal to the checked ones, the box
        // cannot be turned off and writes "on" when the user turns it off.
        if (compare && values.size() >= 2 && (values.at(0) & s.BitMask) == (values.at(1) & s.BitMask))
            add(FitError({index}, FitRule::CheckboxValuesEqual, {s.BitMask}));
    }
    if (s.Type == quint8(SettingType::ValueList)) {
        const int names = int(SplitValues(s.ValueNames).size());
        if (names == 0)
            findings.append(WithField(FitError({index}, FitRule::NoStates), RecordField::ValueNames));
        if (texts.size() > names)
            add(FitWarning({index}, FitRule::MoreValuesThanNames, {texts.size(), names}));
        // Two entries of one value: the second can be chosen but always reads back as the first.
        QHash<qint32, int> first;
        for (int k = 0; compare && k < qMin(names, int(values.size())); ++k) {
            const qint32 owned = values.at(k) & s.BitMask;
            if (first.contains(owned))
                add(FitWarning({index}, FitRule::ValuesEqual, {first.value(owned) + 1, k + 1, owned}));
            else
                first.insert(owned, k);
        }
    }
    for (int k = 0; k < values.size(); ++k) {
        if (values.at(k) < 0 || values.at(k) > 255)
            add(FitWarning({index}, FitRule::ValueNotByte, {k + 1, values.at(k)}));
        else if (values.at(k) & ~s.BitMask)
            add(FitWarning({index}, FitRule::ValueOutsideMask, {k + 1, values.at(k), s.BitMask}));
    }
}

// Every value a number from 0 to 255 with no bit outside the mask: the dialog masks the
// values when it stores them, which would change any other value behind the user's back.
bool AllBytesInMask(const QStringList &values, quint8 mask)
{
    for (const QString &value : values) {
        try {
            const qint32 number = DecimalToLong(value);
            if (number < 0 || number > 255 || (number & ~mask) != 0)
                return false;
        } catch (const BvlError &) {
            return false;
        }
    }
    return true;
}

}   // namespace

void CheckRecordInto(const SettingStruct &s, int index, int codePage, QVector<FitFinding> &findings)
{
    CheckTexts(s, index, codePage, findings);
    const bool unshowable = !UnshowableReason(s).isEmpty();
    if (unshowable)
        findings.append(UnshowableFinding(s, index));
    if (s.Offset < 0)
        findings.append(WithField(FitError({index}, FitRule::NegativeOffset, {s.Offset}), RecordField::Offset));
    if (s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString))
        CheckStringField(s, index, findings);
    if (!OwnsBits(s)) {
        // The window ignores a mask and names on a number or a text; they are a slip.
        if (s.Type <= quint8(SettingType::UnicodeString) && s.BitMask != 0)
            findings.append(
                WithField(FitWarning({index}, FitRule::MaskUnused, {s.BitMask, s.Type}), RecordField::BitMask));
        if (s.Type <= quint8(SettingType::UnicodeString) && !s.ValueNames.isEmpty())
            findings.append(WithField(FitWarning({index}, FitRule::NamesUnused, {s.Type}), RecordField::ValueNames));
        return;
    }
    if (s.BitMask == 0)
        findings.append(WithField(FitError({index}, FitRule::MaskEmpty), RecordField::BitMask));
    if (!unshowable)
        CheckValues(s, index, findings);
}

QVector<FitFinding> CheckRecord(const SettingStruct &s, int index, int codePage)
{
    QVector<FitFinding> findings;
    CheckRecordInto(s, index, codePage, findings);
    return findings;
}

void CheckHeaderTexts(const SettingFileHeader &header, int codePage, QVector<FitFinding> &findings)
{
    CheckText(header.Author, RecordField::Author, {}, codePage, findings);
    CheckText(header.Phones, RecordField::Phones, {}, codePage, findings);
}

bool HasRecordError(const SettingStruct &s, int codePage)
{
    return HasError(CheckRecord(s, 1, codePage));
}

bool IsUnwritable(const FitFinding &finding)
{
    return finding.rule == FitRule::TextNotInCodePage || finding.rule == FitRule::TextTooLong;
}

bool CanHoldRecord(const SettingStruct &s, int codePage)
{
    const QVector<FitFinding> findings = CheckRecord(s, 1, codePage);
    return std::none_of(findings.begin(), findings.end(), IsUnwritable);
}

QString RecordFieldName(RecordField field)
{
    switch (field) {
    case RecordField::None:
        break;
    case RecordField::Name:
        return QStringLiteral("Name");
    case RecordField::Group:
        return QStringLiteral("Group");
    case RecordField::Description:
        return QStringLiteral("Description");
    case RecordField::Type:
        return QStringLiteral("Type");
    case RecordField::Offset:
        return QStringLiteral("Offset");
    case RecordField::StringLength:
        return QStringLiteral("MaxStringLength");
    case RecordField::BitMask:
        return QStringLiteral("BitMask");
    case RecordField::Values:
        return QStringLiteral("Values");
    case RecordField::ValueNames:
        return QStringLiteral("ValueNames");
    case RecordField::Author:
        return QStringLiteral("Author");
    case RecordField::Phones:
        return QStringLiteral("Phones");
    }
    return QString();
}

bool KeepsFromDialog(FitRule rule)
{
    switch (rule) {
    case FitRule::UnknownType:
    case FitRule::NoCheckedValue:
    case FitRule::FewerValuesThanNames:
    case FitRule::ValueNotNumber:
    case FitRule::NoUncheckedValue:
    case FitRule::CheckboxExtraValues:
    case FitRule::MoreValuesThanNames:
    case FitRule::ValueNotByte:
    case FitRule::ValueOutsideMask:
        return true;
    default:
        return false;
    }
}

bool CanShowInDialog(const SettingStruct &s)
{
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox: {
        const QStringList values = SplitValues(s.Values);
        return values.size() == 2 && AllBytesInMask(values, s.BitMask);
    }
    case SettingType::ValueList: {
        const QStringList values = SplitValues(s.Values);
        return values.size() == SplitValues(s.ValueNames).size() && AllBytesInMask(values, s.BitMask);
    }
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return true;
    }
    return false;
}
