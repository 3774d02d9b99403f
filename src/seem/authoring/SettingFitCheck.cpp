#include "seem/authoring/SettingFitCheck.h"

#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/authoring/RecordRules.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingCodec.h"
#include "seem/values/SettingValueText.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace {

bool OwnsBits(const SettingStruct &s)
{
    return s.Type == quint8(SettingType::Checkbox) || s.Type == quint8(SettingType::ValueList);
}

void CheckHeader(const SettingFileHeader &header, QVector<FitFinding> &findings)
{
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::UnknownFile:
        findings.append(FitError({}, FitRule::WrongMagic, {}, {header.Magic}));
        break;
    case HeaderCheck::UnsupportedVersion:
        findings.append(FitError({}, FitRule::WrongVersion, {header.FileVersion}));
        break;
    case HeaderCheck::Accepted:
        break;
    }
}

// A finding about settings that share something, naming the first of them by number.
FitFinding SharedWarning(QVector<int> settings, FitRule rule, QVector<qint64> numbers)
{
    const int named = qMin(int(settings.size()), MaxNamedSettings);
    std::partial_sort(settings.begin(), settings.begin() + named, settings.end());
    const int unnamed = int(settings.size()) - named;
    settings.resize(named);
    FitFinding finding = FitWarning(std::move(settings), rule, std::move(numbers));
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
        findings.append(SharedWarning(std::move(sharing), FitRule::SharedBits, {common, first}));
        return;
    }
    // Several bytes: a text field is among them, and it owns whole bytes.
    QVector<int> sharing;
    sharing.reserve(count);
    for (int k = 0; k < count; ++k)
        sharing.append(run[k].index);
    findings.append(SharedWarning(std::move(sharing), FitRule::SharedBytes, {first, last}));
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
            findings.append(SharedWarning(std::move(numbers), FitRule::SameName, {}));
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
        findings.append(FitError({index}, FitRule::OutsideImage, {span.offset, span.end() - 1, image.size()}));
        findings.last().field = RecordField::Offset;
        return;
    }
    if (!UnshowableReason(s).isEmpty() || (OwnsBits(s) && s.BitMask == 0))
        return;   // reported with the setting file
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
            findings.append(FitWarning({index}, FitRule::MatchesNeitherValue, {owned}));
    } else if (s.Type == quint8(SettingType::ValueList)) {
        const int position = SettingCodec::DecodeListIndex(image, s);
        if (position < 0 || position >= ValueListEntries(s).size())
            findings.append(FitWarning({index}, FitRule::MatchesNoEntry, {image.readByte(s.Offset) & s.BitMask}));
    } else if (s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString)) {
        if (!HasTerminator(image, s, span))
            findings.append(FitWarning({index}, FitRule::NoTerminator, {span.size}));
    }
}

}   // namespace

FitFinding FitError(QVector<int> settings, FitRule rule, QVector<qint64> numbers, QStringList texts)
{
    return FitFinding{FitSeverity::Error, std::move(settings), rule, std::move(numbers), std::move(texts)};
}

FitFinding FitWarning(QVector<int> settings, FitRule rule, QVector<qint64> numbers)
{
    return FitFinding{FitSeverity::Warning, std::move(settings), rule, std::move(numbers), {}};
}

QVector<FitFinding> CheckSettingFile(const SettingFileHeader &header, const SettingList &settings, int codePage)
{
    QVector<FitFinding> findings;
    CheckHeader(header, findings);
    CheckHeaderTexts(header, codePage, findings);
    // The windows refuse the whole file for one such path.
    if (const int oversized = FirstOversizedGroupPath(settings)) {
        findings.append(FitError({oversized}, FitRule::GroupPathTooLong, {MaxGroupLevels, MaxGroupPathLength}));
        findings.last().field = RecordField::Group;
    }
    for (int i = 0; i < settings.size(); ++i)
        CheckRecordInto(settings.at(i), i + 1, codePage, findings);
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
