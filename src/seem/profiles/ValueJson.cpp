#include "seem/profiles/ValueJson.h"

#include <cmath>

QJsonValue ValueToJson(const SettingStruct &setting, const ValueText &value)
{
    if (!value.decoded)
        return QJsonValue::Null;
    if (setting.Type == quint8(SettingType::Int8))
        return value.text.toInt();
    return value.text;
}

bool ValueWordsFromJson(const QJsonValue &value, QString &words)
{
    if (value.isString()) {
        words = value.toString();
        return true;
    }
    if (value.isBool()) {
        words = value.toBool() ? CheckedText : UncheckedText;
        return true;
    }
    if (value.isDouble() && std::floor(value.toDouble()) == value.toDouble() && std::abs(value.toDouble()) < 1e15) {
        words = QString::number(qint64(value.toDouble()));
        return true;
    }
    return false;
}
