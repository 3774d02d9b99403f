#pragma once
#include "core/SettingTypes.h"
#include "seem/values/SettingValueText.h"

#include <QJsonValue>

// Setting values in the JSON that show prints and apply reads: a number for Int8, the
// words of DecodeValueText for everything else, null for a value that cannot be shown.
QJsonValue ValueToJson(const SettingStruct &setting, const ValueText &value);

// A value of that JSON as the words ParseValueText takes: a string as it is, a whole
// number as its decimal text, true/false as on/off. False for any other kind of value.
bool ValueWordsFromJson(const QJsonValue &value, QString &words);
