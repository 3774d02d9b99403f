#pragma once
#include "core/SettingTypes.h"
#include "seem/ByteStore.h"

#include <QString>
#include <QVector>

// How well a setting file fits the windows and, optionally, one SEEM image.
//
// Errors are what the windows cannot show or write as meant: a refused header, a type
// code above 4, values that are no numbers, fewer values than names, a check box without
// two values, a string field too small for its terminator, an empty bit mask, a negative
// offset, and (with an image) bytes outside the image.
// Warnings are what usually is a slip: two settings owning the same bit (sharing a byte
// is normal), values with bits outside the mask, two settings of one name in one group,
// and (with an image) a check box whose bits match neither value, a list whose bits match
// no entry, a string without a terminator.
enum class FitSeverity { Error, Warning };

struct FitFinding
{
    FitSeverity severity = FitSeverity::Error;
    QVector<int> settings;   // 1-based numbers of the settings concerned; empty for the header
    QString message;         // what is wrong, without the settings' names
};

// The findings of the setting file alone: header first, then in setting order, then
// the findings that concern several settings.
QVector<FitFinding> CheckSettingFile(const SettingFileHeader &header, const SettingList &settings);

// The findings of the settings read against image, in setting order.
QVector<FitFinding> CheckSettingsAgainstImage(const SettingList &settings, ByteStore &image);

bool HasError(const QVector<FitFinding> &findings);
int ErrorCount(const QVector<FitFinding> &findings);
