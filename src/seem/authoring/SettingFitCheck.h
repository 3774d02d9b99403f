#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QString>
#include <QStringList>
#include <QVector>

// How well a setting file fits the windows and, optionally, one SEEM image.
//
// Errors are what the windows cannot show or write as meant: a refused header, a type
// code above 4, values that are no numbers, fewer values than names, a check box without
// two values, a string field too small for its terminator, an empty bit mask, a negative
// offset, an empty name or group, a list without entries, a text the code page cannot
// hold or longer than the format's 65535 bytes, and (with an image) bytes outside the
// image. The rules of one record are in RecordRules.h.
// Warnings are what usually is a slip: two settings owning the same bit (sharing a byte
// is normal), values with bits outside the mask, two settings of one name in one group,
// and (with an image) a check box whose bits match neither value, a list whose bits match
// no entry, a string without a terminator.
enum class FitSeverity {
    Error,
    Warning
};

// What a finding is about, with the numbers its words need (in this order); FindingTexts.h
// words each rule, in the user's language for the windows, in English for the command line.
enum class FitRule {
    WrongMagic,             // texts: the magic found
    WrongVersion,           // numbers: the format version
    GroupPathTooLong,       // numbers: the limits of levels and characters
    UnknownType,            // numbers: the type code
    NoCheckedValue,         // a check box without any value
    FewerValuesThanNames,   // numbers: names, values
    ValueNotNumber,         // numbers: the value's position; texts: the value
    NegativeOffset,         // numbers: the offset
    NoTerminatorRoom,       // numbers: the field's length
    OddUtf16Length,         // numbers: the field's length
    MaskUnused,             // numbers: the mask, the type code
    NamesUnused,            // numbers: the type code
    MaskEmpty,
    NoUncheckedValue,
    CheckboxValuesEqual,   // numbers: the mask
    MoreValuesThanNames,   // numbers: values, names
    ValuesEqual,           // numbers: the two positions, the bits they share
    ValueNotByte,          // numbers: position, value
    ValueOutsideMask,      // numbers: position, value, mask
    SharedBits,            // numbers: the common bits, the byte's offset
    SharedBytes,           // numbers: first and last offset
    SameName,
    OutsideImage,          // numbers: first and last offset, the image's size
    MatchesNeitherValue,   // numbers: the bits read
    MatchesNoEntry,        // numbers: the bits read
    NoTerminator,          // numbers: the field's size
    OtherRecord,           // numbers: the file's SEEM and record, the image's SEEM and record
    NameEmpty,
    GroupEmpty,
    NoStates,              // a value list without names
    CheckboxExtraValues,   // numbers: the values
    TextNotInCodePage,     // numbers: the character, the code page; texts: the character
    TextTooLong,           // numbers: the bytes, the most the format holds
};

// The field of a record or header a finding is about, where it is about one.
enum class RecordField {
    None,
    Name,
    Group,
    Description,
    Type,
    Offset,
    StringLength,
    BitMask,
    Values,
    ValueNames,
    Author,
    Phones,
};

// A finding about many settings (thousands on one byte) names the first of them only.
constexpr int MaxNamedSettings = 8;

struct FitFinding
{
    FitSeverity severity = FitSeverity::Error;
    QVector<int>
        settings;   // 1-based numbers of the settings concerned, at most MaxNamedSettings; empty for the header
    FitRule rule = FitRule::WrongMagic;
    QVector<qint64> numbers;   // as the rule lists them
    QStringList texts;
    int unnamed = 0;   // settings concerned beyond those in settings
    RecordField field = RecordField::None;
};

// A finding of one severity, without a field.
FitFinding FitError(QVector<int> settings, FitRule rule, QVector<qint64> numbers = {}, QStringList texts = {});
FitFinding FitWarning(QVector<int> settings, FitRule rule, QVector<qint64> numbers = {});

// The findings of the setting file alone: header first, then in setting order, then
// the findings that concern several settings: one for each byte or run of bytes that
// settings share, one for each name that settings of one group share.
// Texts are checked against codePage, the one they are written in (CodePage::Current()).
QVector<FitFinding> CheckSettingFile(const SettingFileHeader &header, const SettingList &settings, int codePage);

// The findings of the settings read against image, in setting order.
QVector<FitFinding> CheckSettingsAgainstImage(const SettingList &settings, ByteStore &image);

bool HasError(const QVector<FitFinding> &findings);
int ErrorCount(const QVector<FitFinding> &findings);
