#include "seem/authoring/SettingFitCheck.h"

#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingCodec.h"
#include "seem/values/SettingValueText.h"

#include <QHash>

#include <algorithm>
#include <limits>

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
        findings.append(Error(
            {index}, QStringLiteral("its field of %1 bytes has no room for the terminator").arg(s.MaxStringLength),
            FitRule::NoTerminatorRoom, {s.MaxStringLength}));
    else if (s.Type == quint8(SettingType::UnicodeString) && s.MaxStringLength % 2 != 0)
        findings.append(
            Warning({index},
                    QStringLiteral("its UTF-16 field of %1 bytes has an odd length: its last byte is never used")
                        .arg(s.MaxStringLength),
                    FitRule::OddUtf16Length, {s.MaxStringLength}));
    if (!OwnsBits(s)) {
        // The window ignores a mask and names on a number or a text; they are a slip.
        if (s.Type <= quint8(SettingType::UnicodeString) && s.BitMask != 0)
            findings.append(Warning({index},
                                    QStringLiteral("it has the bit mask %1, which a %2 does not use")
                                        .arg(ValueToBitText(s.BitMask), TypeWord(s)),
                                    FitRule::MaskUnused, {s.BitMask, s.Type}));
        if (s.Type <= quint8(SettingType::UnicodeString) && !s.ValueNames.isEmpty())
            findings.append(Warning({index},
                                    QStringLiteral("it has value names, which a %1 does not use").arg(TypeWord(s)),
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
        findings.append(Error({index},
                              QStringLiteral("its checked and unchecked values are equal within its bits %1")
                                  .arg(ValueToBitText(s.BitMask)),
                              FitRule::CheckboxValuesEqual, {s.BitMask}));
    if (s.Type == quint8(SettingType::ValueList)) {
        const int names = int(SplitValues(s.ValueNames).size());
        if (texts.size() > names)
            findings.append(Warning({index},
                                    QStringLiteral("it has %1 values but only %2 names").arg(texts.size()).arg(names),
                                    FitRule::MoreValuesThanNames, {texts.size(), names}));
        // Two entries of one value: the second can be chosen but always reads back as the first.
        QHash<qint32, int> first;
        for (int k = 0; k < qMin(names, int(values.size())); ++k) {
            const qint32 owned = values.at(k) & s.BitMask;
            if (first.contains(owned))
                findings.append(Warning({index},
                                        QStringLiteral("values %1 and %2 are equal within its bits (%3)")
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
            findings.append(Warning({index},
                                    QStringLiteral("value %1 (%2) does not fit a byte").arg(k + 1).arg(values.at(k)),
                                    FitRule::ValueNotByte, {k + 1, values.at(k)}));
        else if (values.at(k) & ~s.BitMask)
            findings.append(Warning({index},
                                    QStringLiteral("value %1 (%2) has bits outside its mask %3")
                                        .arg(k + 1)
                                        .arg(ValueToBitText(values.at(k)), ValueToBitText(s.BitMask)),
                                    FitRule::ValueOutsideMask, {k + 1, values.at(k), s.BitMask}));
    }
}

// A finding about settings that share something, naming the first of them by number.
FitFinding SharedWarning(QVector<int> settings, const QString &message, FitRule rule, QVector<qint64> numbers)
{
    const int named = qMin(int(settings.size()), MaxNamedSettings);
    std::partial_sort(settings.begin(), settings.begin() + named, settings.end());
    const int unnamed = int(settings.size()) - named;
    settings.resize(named);
    FitFinding finding = Warning(std::move(settings), message, rule, std::move(numbers));
    finding.unnamed = unnamed;
    return finding;
}

struct Owned
{
    int index;
    OwnedSpan span;
};

// One run of spans that overlap one another, and the bytes more than one of them covers.
// When that is one byte, every span of the run holds it and the finding is about its bits.
void ReportRun(const Owned *run, int count, qint64 first, qint64 last, QVector<FitFinding> &findings)
{
    if (first == last) {
        int owners[8] = {};
        for (int k = 0; k < count; ++k)
            for (int bit = 0; bit < 8; ++bit)
                owners[bit] += (run[k].span.mask >> bit) & 1;
        quint8 common = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (owners[bit] > 1)
                common |= quint8(1 << bit);
        if (common == 0)
            return;   // a byte shared bit by bit, as is normal
        QVector<int> sharing;
        for (int k = 0; k < count; ++k)
            if (run[k].span.mask & common)
                sharing.append(run[k].index);
        findings.append(SharedWarning(std::move(sharing),
                                      QStringLiteral("share bits %1 of byte %2").arg(ValueToBitText(common)).arg(first),
                                      FitRule::SharedBits, {common, first}));
        return;
    }
    // Several bytes: a text field is among them, and it owns whole bytes.
    QVector<int> sharing;
    sharing.reserve(count);
    for (int k = 0; k < count; ++k)
        sharing.append(run[k].index);
    findings.append(SharedWarning(std::move(sharing), QStringLiteral("share bytes %1..%2").arg(first).arg(last),
                                  FitRule::SharedBytes, {first, last}));
}

// Settings sorted by their first byte and swept once into runs of overlapping spans: one
// warning per byte or run of bytes, however many settings share it.
void CheckSharedBits(const SettingList &settings, QVector<FitFinding> &findings)
{
    QVector<Owned> owned;
    for (int i = 0; i < settings.size(); ++i) {
        const OwnedSpan span = OwnedSpanOf(settings.at(i));
        if (span.size > 0 && span.mask != 0)
            owned.append(Owned{i + 1, span});
    }
    // A longer span first where two start together, so that a text field's run takes in
    // the one-byte settings inside it.
    std::sort(owned.begin(), owned.end(), [](const Owned &x, const Owned &y) {
        if (x.span.offset != y.span.offset)
            return x.span.offset < y.span.offset;
        return x.span.size != y.span.size ? x.span.size > y.span.size : x.index < y.index;
    });
    QVector<FitFinding> shared;
    for (int start = 0; start < owned.size();) {
        qint64 reach = owned.at(start).span.end();
        qint64 first = 0;   // sorted: where the first span that overlaps starts
        qint64 last = std::numeric_limits<qint64>::min();
        int end = start + 1;
        for (; end < owned.size() && owned.at(end).span.offset < reach; ++end) {
            const OwnedSpan &span = owned.at(end).span;
            if (end == start + 1)
                first = span.offset;
            last = qMax(last, qMin(span.end(), reach) - 1);
            reach = qMax(reach, span.end());
        }
        if (end - start > 1)
            ReportRun(owned.constData() + start, end - start, first, last, shared);
        start = end;
    }
    std::stable_sort(shared.begin(), shared.end(),
                     [](const FitFinding &x, const FitFinding &y) { return x.settings < y.settings; });
    findings += shared;
}

void CheckDuplicateNames(const SettingList &settings, QVector<FitFinding> &findings)
{
    QHash<QString, QVector<int>> byPath;
    byPath.reserve(settings.size());
    QStringList order;
    for (int i = 0; i < settings.size(); ++i) {
        const QString path = SettingPathOf(settings.at(i));
        QVector<int> &numbers = byPath[path];
        if (numbers.isEmpty())
            order << path;
        numbers.append(i + 1);
    }
    for (const QString &path : order) {
        QVector<int> numbers = byPath.take(path);
        if (numbers.size() > 1)
            findings.append(SharedWarning(std::move(numbers), QStringLiteral("have the same name in one group"),
                                          FitRule::SameName, {}));
    }
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
        findings.append(Error({index},
                              QStringLiteral("its bytes %1..%2 lie outside the image of %3 bytes")
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
            findings.append(Warning({index}, QStringLiteral("its bits %1 match no entry").arg(bits),
                                    FitRule::MatchesNoEntry, {image.readByte(s.Offset) & s.BitMask}));
    } else if (IsString(s) && !HasTerminator(image, s, span)) {
        findings.append(Warning({index}, QStringLiteral("its text has no terminator in its %1 bytes").arg(span.size),
                                FitRule::NoTerminator, {span.size}));
    }
}

}   // namespace

QVector<FitFinding> CheckSettingFile(const SettingFileHeader &header, const SettingList &settings)
{
    QVector<FitFinding> findings;
    CheckHeader(header, findings);
    // The windows refuse the whole file for one such path.
    if (const int oversized = FirstOversizedGroupPath(settings))
        findings.append(Error({oversized},
                              QStringLiteral("its group path has more than %1 levels or %2 characters")
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
