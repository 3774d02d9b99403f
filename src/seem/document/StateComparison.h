#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"
#include "seem/values/SettingState.h"
#include "seem/values/SettingValueText.h"

#include <QVector>
#include <optional>

// The values the window's controls hold now (edits included) against another SEEM image
// read through the same setting file.

// True when every setting's bytes lie inside an image of imageSize bytes: only then can
// the image be compared setting by setting.
bool ImageHoldsSettings(const SettingList &settings, qint64 imageSize);

struct StateDifference
{
    int index = 0;                            // 1-based setting number
    QString thisText;                         // the control's value, in words
    ValueText other;                          // the other image's value, or why it has none
    std::optional<ControlState> otherState;   // what the control would show of the other image
};

// current holds, per setting (index 0 = setting 1), the state its control shows, or
// nothing where the control shows nothing of its file (its restore failed; thisText is
// then empty). A setting differs when both have a state and the states differ, or only
// one of them has one. In setting order.
QVector<StateDifference> CompareStatesWithImage(const SettingList &settings,
                                                const QVector<std::optional<ControlState>> &current, ByteStore &other);
