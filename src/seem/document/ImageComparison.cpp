#include "seem/document/ImageComparison.h"

QVector<ValueDifference> CompareImages(const SettingList &settings, ByteStore &a, ByteStore &b)
{
    QVector<ValueDifference> differences;
    for (int i = 0; i < settings.size(); ++i) {
        ValueDifference d{i + 1, DecodeValueText(a, settings.at(i)), DecodeValueText(b, settings.at(i))};
        if (d.a != d.b)
            differences.append(d);
    }
    return differences;
}
