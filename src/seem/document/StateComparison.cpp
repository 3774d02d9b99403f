#include "seem/document/StateComparison.h"

#include "core/BvlError.h"
#include "seem/values/ControlStateText.h"
#include "seem/values/OwnedBytes.h"

bool ImageHoldsSettings(const SettingList &settings, qint64 imageSize)
{
    for (const SettingStruct &s : settings)
        if (!SpanInsideImage(OwnedSpanOf(s), imageSize))
            return false;
    return true;
}

QVector<StateDifference> CompareStatesWithImage(const SettingList &settings,
                                                const QVector<std::optional<ControlState>> &current, ByteStore &other)
{
    QVector<StateDifference> differences;
    for (int i = 0; i < settings.size(); ++i) {
        const SettingStruct &s = settings.at(i);
        StateDifference d;
        d.index = i + 1;
        d.other = DecodeValueText(other, s);
        if (d.other.decoded) {
            try {
                d.otherState = DecodeControlState(other, s);
            } catch (const BvlError &) {
                // DecodeValueText has read it already; a failure now is the image's own.
            }
        }
        const std::optional<ControlState> &mine = current.value(i);
        const bool differs =
            mine && d.otherState ? *mine != *d.otherState : mine.has_value() != d.otherState.has_value();
        if (!differs)
            continue;
        d.thisText = mine ? ControlStateText(s, *mine) : QString();
        differences.append(d);
    }
    return differences;
}
