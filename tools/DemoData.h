#pragma once
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

// The demo setting file and the SEEM image it describes: SEEM 0x32, record 1 of an
// imaginary phone, with every kind of setting and the value each one holds in the image.
struct DemoSetting
{
    SettingStruct setting;
    QVariant value;   // bool for a check box, the item value for a list, text otherwise
};

QVector<DemoSetting> DemoSettings();
SettingFileHeader DemoHeader(int settingCount);

// The image: a filler pattern, string fields cleared, then every setting's value encoded.
QByteArray DemoImage(const QVector<DemoSetting> &settings);

// The SEEM image's size in bytes.
constexpr int DemoImageSize = 320;
