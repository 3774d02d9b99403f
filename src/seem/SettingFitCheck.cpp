#include "seem/SettingFitCheck.h"

#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/OwnedBytes.h"
#include "seem/SettingCodec.h"
#include "seem/SettingLookup.h"
#include "seem/SettingValueText.h"

#include <QHash>

#include <algorithm>

namespace {

FitFinding Error(QVector<int> settings, const QString &message, FitRule rule, QVector<qint64> numbers = {},
                 QStringList texts = {})
{
    return FitFinding{FitSeverity::Error, std::move(settings), message, rule, std::move(numbers), std::move(texts)};
}

FitFinding Warning(QVector<int> settings, const QString &message, FitRule rule, QVector<qint64> numbers = {})
{
    return FitFinding{FitSeverity::Warning, std::move(settings), message, rule, std::move(numbers), {}};
}

// The rule and numbers of the reason UnshowableReason gives, which words it in English.
FitFinding UnshowableFinding(const SettingStruct &s, int index, const QString &reason)
{
    if (s.Type > quint8(SettingType::UnicodeString))
        return Error({index}, reason, FitRule::UnknownType, {s.Type});
    const QStringList texts = SplitValues(s.Values);
    const int names = int(SplitValues(s.ValueNames).size());
    if (s.Type == quint8(SettingType::Checkbox) && texts.isEmpty())
        return Error({index}, reason, FitRule::NoCheckedValue);
    if (s.Type != quint8(SettingType::Checkbox) && texts.size() < names)
        return Error({index}, reason, FitRule::FewerValuesThanNames, {names, texts.size()});
    const int read = s.Type == quint8(SettingType::Checkbox) ? 1 : names;
    for (int k = 0; k < read && k < texts.size(); ++k) {
        try {
            DecimalToLong(texts.at(k));
        } catch (const BvlError &) {
            return Error({index}, reason, FitRule::ValueNotNumber, {k + 1}, {texts.at(k)});
        }
    }
    return Error({index}, reason, FitRule::ValueNotNumber, {0}, {QString()});
}

bool OwnsBits(const SettingStruct &s)
{
    return s.Type == quint8(SettingType::Checkbox) || s.Type == quint8(SettingType::ValueList);
}

bool IsString(const SettingStruct &s)
{
    return s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString);
}

QString TypeWord(const SettingStruct &s)
{
    return s.Type == quint8(SettingType::Int8) ? QStringLiteral("number") : QStringLiteral("text");
}

void CheckHeader(const SettingFileHeader &header, QVector<FitFinding> &findings)
{
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::UnknownFile:
        findings.append(Error({}, QStringLiteral("the file starts with \"%1\", not \"sec\"").arg(header.Magic),
                              FitRule::WrongMagic, {}, {header.Magic}));
        break;
    case HeaderCheck::UnsupportedVersion:
        findings.append(Error({}, QStringLiteral("format version %1 is not 3").arg(header.FileVersion),
                              FitRule::WrongVersion, {header.FileVersion}));
        break;
    case HeaderCheck::Accepted:
        break;
    }
}

void CheckOneSetting(const SettingStruct &s, int index, QVector<FitFinding> &findings)
{
    const QString unshowable = UnshowableReason(s);
    if (!unshowable.isEmpty())
        findings.append(UnshowableFinding(s, index, unshowable));
    if (s.Offset < 0)
        findings.append(Error({index}, QStringLiteral("its offset %1 lies before the start of any image").arg(s.Offset),
                              FitRule::NegativeOffset, {s.Offset}));
    const int terminatorSize = s.Type == quint8(SettingType::AnsiString) ? 1 : 2;
    if (IsString(s) && s.MaxStringLength < terminatorSize)
        findings.append(Error({index}, QStringLiteral("its field of %1 bytes has no room for the terminator").arg(s.MaxStringLength),
                              FitRule::NoTerminatorRoom, {s.MaxStringLength}));
    else if (s.Type == quint8(SettingType::UnicodeString) && s.MaxStringLength % 2 != 0)
        findings.append(Warning({index}, QStringLiteral("its UTF-16 field of %1 bytes has an odd length: its last byte is never used")
                                             .arg(s.MaxStringLength),
                                FitRule::OddUtf16Length, {s.MaxStringLength}));
    if (!OwnsBits(s)) {
        // The window ignores a mask and names on a number or a text; they are a slip.
        if (s.Type <= quint8(SettingType::UnicodeString) && s.BitMask != 0)
            findings.append(Warning({index}, QStringLiteral("it has the bit mask %1, which a %2 does not use")
                                                 .arg(ValueToBitText(s.BitMask), TypeWord(s)),
                                    FitRule::MaskUnused, {s.BitMask, s.Type}));
        if (s.Type <= quint8(SettingType::UnicodeString) && !s.ValueNames.isEmpty())
            findings.append(Warning({index}, QStringLiteral("it has value names, which a %1 does not use").arg(TypeWord(s)),
                                    FitRule::NamesUnused, {s.Type}));
        return;
    }
    if (s.BitMask == 0) {
        findings.append(Error({index}, QStringLiteral("its bit mask is empty"), FitRule::MaskEmpty));
        return;
    }
    if (!unshowable.isEmpty())
        return;
    const QStringList texts = SplitValues(s.Values);
    QVector<qint32> values;
    for (const QString &text : texts) {
        try {
            values.append(DecimalToLong(text));
        } catch (const BvlError &) {
            break;   // past the values the window reads (checked value, one per name)
        }
    }
    if (s.Type == quint8(SettingType::Checkbox) && values.size() < 2)
        findings.append(Warning({index}, QStringLiteral("it has no number for unchecked: it cannot be saved unchecked"),
                                FitRule::NoUncheckedValue));
    // Unchecking writes the unchecked value's bits: equal to the checked ones, the box
    // cannot be turned off and writes "on" when the user turns it off.
    if (s.Type == quint8(SettingType::Checkbox) && values.size() >= 2
        && (values.at(0) & s.BitMask) == (values.at(1) & s.BitMask))
        findings.append(Error({index}, QStringLiteral("its checked and unchecked values are equal within its bits %1")
                                           .arg(ValueToBitText(s.BitMask)),
                              FitRule::CheckboxValuesEqual, {s.BitMask}));
    if (s.Type == quint8(SettingType::ValueList)) {
        const int names = int(SplitValues(s.ValueNames).size());
        if (texts.size() > names)
            findings.append(Warning({index}, QStringLiteral("it has %1 values but only %2 names").arg(texts.size()).arg(names),
                                    FitRule::MoreValuesThanNames, {texts.size(), names}));
        // Two entries of one value: the second can be chosen but always reads back as the first.
        QHash<qint32, int> first;
        for (int k = 0; k < qMin(names, int(values.size())); ++k) {
            const qint32 owned = values.at(k) & s.BitMask;
            if (first.contains(owned))
                findings.append(Warning({index}, QStringLiteral("values %1 and %2 are equal within its bits (%3)")
                                                     .arg(first.value(owned) + 1)
                                                     .arg(k + 1)
                                                     .arg(ValueToBitText(owned)),
                                        FitRule::ValuesEqual, {first.value(owned) + 1, k + 1, owned}));
            else
                first.insert(owned, k);
        }
    }
    for (int k = 0; k < values.size(); ++k) {
        if (values.at(k) < 0 || values.at(k) > 255)
            findings.append(Warning({index}, QStringLiteral("value %1 (%2) does not fit a byte").arg(k + 1).arg(values.at(k)),
                                    FitRule::ValueNotByte, {k + 1, values.at(k)}));
        else if (values.at(k) & ~s.BitMask)
            findings.append(Warning({index}, QStringLiteral("value %1 (%2) has bits outside its mask %3")
                                                 .arg(k + 1)
                                                 .arg(ValueToBitText(values.at(k)), ValueToBitText(s.BitMask)),
                                    FitRule::ValueOutsideMask, {k + 1, values.at(k), s.BitMask}));
    }
}

// Settings sorted by their first byte and swept, so that only spans that overlap are
// compared; one warning per pair.
void CheckSharedBits(const SettingList &settings, QVector<FitFinding> &findings)
{
    struct Owned
    {
        int index;
        OwnedSpan span;
    };
    QVector<Owned> owned;
    for (int i = 0; i < settings.size(); ++i) {
        const OwnedSpan span = OwnedSpanOf(settings.at(i));
        if (span.size > 0 && span.mask != 0)
            owned.append(Owned{i + 1, span});
    }
    std::stable_sort(owned.begin(), owned.end(),
                     [](const Owned &x, const Owned &y) { return x.span.offset < y.span.offset; });
    QVector<FitFinding> shared;
    for (int i = 0; i < owned.size(); ++i) {
        for (int j = i + 1; j < owned.size() && owned.at(j).span.offset < owned.at(i).span.end(); ++j) {
            const OwnedSpan &a = owned.at(i).span;
            const OwnedSpan &b = owned.at(j).span;
            const quint8 common = a.mask & b.mask;
            if (common == 0)
                continue;
            const qint64 first = b.offset;
            const qint64 last = qMin(a.end(), b.end()) - 1;
            QVector<int> pair{owned.at(i).index, owned.at(j).index};
            std::sort(pair.begin(), pair.end());
            if (first == last)
                shared.append(Warning(pair, QStringLiteral("share bits %1 of byte %2").arg(ValueToBitText(common)).arg(first),
                                      FitRule::SharedBits, {common, first}));
            else
                shared.append(Warning(pair, QStringLiteral("share bytes %1..%2").arg(first).arg(last), FitRule::SharedBytes,
                                      {first, last}));
        }
    }
    std::stable_sort(shared.begin(), shared.end(),
                     [](const FitFinding &x, const FitFinding &y) { return x.settings < y.settings; });
    findings += shared;
}

void CheckDuplicateNames(const SettingList &settings, QVector<FitFinding> &findings)
{
    QHash<QString, QVector<int>> byPath;
    QStringList order;
    for (int i = 0; i < settings.size(); ++i) {
        const QString path = SettingPathOf(settings.at(i));
        if (!byPath.contains(path))
            order << path;
        byPath[path].append(i + 1);
    }
    for (const QString &path : order)
        if (byPath.value(path).size() > 1)
            findings.append(Warning(byPath.value(path), QStringLiteral("have the same name in one group"), FitRule::SameName));
}

bool HasTerminator(ByteStore &image, const SettingStruct &s, const OwnedSpan &span)
{
    const int unit = s.Type == quint8(SettingType::AnsiString) ? 1 : 2;
    for (qint64 at = span.offset; at + unit <= span.end(); at += unit) {
        if (image.readByte(at) == 0 && (unit == 1 || image.readByte(at + 1) == 0))
            return true;
    }
    return false;
}

void CheckAgainstImage(const SettingStruct &s, int index, ByteStore &image, QVector<FitFinding> &findings)
{
    const OwnedSpan span = OwnedSpanOf(s);
    if (span.size == 0)
        return;   // owns no byte of the image
    if (!SpanInsideImage(span, image.size())) {
        findings.append(Error({index}, QStringLiteral("its bytes %1..%2 lie outside the image of %3 bytes")
                                           .arg(span.offset)
                                           .arg(span.end() - 1)
                                           .arg(image.size()),
                              FitRule::OutsideImage, {span.offset, span.end() - 1, image.size()}));
        return;
    }
    if (!UnshowableReason(s).isEmpty() || (OwnsBits(s) && s.BitMask == 0))
        return;   // reported with the setting file
    const QString bits = ValueToBitText(image.readByte(s.Offset) & s.BitMask);
    if (s.Type == quint8(SettingType::Checkbox)) {
        const QStringList values = SplitValues(s.Values);
        const qint32 owned = image.readByte(s.Offset) & s.BitMask;
        const auto matches = [&](int k) {
            try {
                return k < values.size() && DecimalToLong(values.at(k)) == owned;
            } catch (const BvlError &) {
                return false;
            }
        };
        if (!matches(0) && !matches(1))
            findings.append(Warning({index}, QStringLiteral("its bits %1 match neither value").arg(bits),
                                    FitRule::MatchesNeitherValue, {owned}));
    } else if (s.Type == quint8(SettingType::ValueList)) {
        const int position = SettingCodec::DecodeListIndex(image, s);
        if (position < 0 || position >= ValueListEntries(s).size())
            findings.append(Warning({index}, QStringLiteral("its bits %1 match no entry").arg(bits), FitRule::MatchesNoEntry,
                                    {image.readByte(s.Offset) & s.BitMask}));
    } else if (IsString(s) && !HasTerminator(image, s, span)) {
        findings.append(Warning({index}, QStringLiteral("its text has no terminator in its %1 bytes").arg(span.size),
                                FitRule::NoTerminator, {span.size}));
    }
}

} // namespace

QVector<FitFinding> CheckSettingFile(const SettingFileHeader &header, const SettingList &settings)
{
    QVector<FitFinding> findings;
    CheckHeader(header, findings);
    // The windows refuse the whole file for one such path.
    if (const int oversized = FirstOversizedGroupPath(settings))
        findings.append(Error({oversized}, QStringLiteral("its group path has more than %1 levels or %2 characters")
                                               .arg(MaxGroupLevels)
                                               .arg(MaxGroupPathLength),
                              FitRule::GroupPathTooLong, {MaxGroupLevels, MaxGroupPathLength}));
    for (int i = 0; i < settings.size(); ++i)
        CheckOneSetting(settings.at(i), i + 1, findings);
    CheckSharedBits(settings, findings);
    CheckDuplicateNames(settings, findings);
    return findings;
}

QVector<FitFinding> CheckSettingsAgainstImage(const SettingList &settings, ByteStore &image)
{
    QVector<FitFinding> findings;
    for (int i = 0; i < settings.size(); ++i)
        CheckAgainstImage(settings.at(i), i + 1, image, findings);
    return findings;
}

int ErrorCount(const QVector<FitFinding> &findings)
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const FitFinding &f) { return f.severity == FitSeverity::Error; }));
}

bool HasError(const QVector<FitFinding> &findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const FitFinding &f) { return f.severity == FitSeverity::Error; });
}
