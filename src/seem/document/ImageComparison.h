#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"
#include "seem/values/SettingValueText.h"

#include <QVector>

// Two SEEM images read through one setting file: the settings whose values, in the words
// the window shows them, differ. Bytes a setting does not own (a string's tail behind its
// terminator, the bits of other settings) are no difference.
struct ValueDifference
{
    int index = 0;   // 1-based setting number
    ValueText a;
    ValueText b;
};

// In setting order. Two values that cannot be shown count as equal when their reasons
// are, so that a broken setting is not reported on every pair of images.
QVector<ValueDifference> CompareImages(const SettingList &settings, ByteStore &a, ByteStore &b);
