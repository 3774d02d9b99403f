#pragma once
#include "core/SettingTypes.h"

#include <QString>
#include <QStringList>
#include <initializer_list>

// Settings for the SEEM tests, built with just the fields the codec reads.
namespace SeemFixtures {

// The header of a setting file for SEEM seemNr, record seemRec, by Ann.
inline SettingFileHeader SecHeader(qint16 seemNr = 0x32, qint16 seemRec = 1)
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("sec");
    h.FileVersion = 3;
    h.SEEMNr = seemNr;
    h.SEEMRec = seemRec;
    h.Author = QStringLiteral("Ann");
    return h;
}

inline SettingStruct Setting(SettingType type, qint32 offset)
{
    SettingStruct s;
    s.Name = QStringLiteral("test");
    s.Group = QStringLiteral("Test");
    s.Type = quint8(type);
    s.Offset = offset;
    return s;
}

inline QString Joined(std::initializer_list<qint32> values)
{
    QStringList texts;
    for (qint32 v : values)
        texts << QString::number(v);
    return JoinValues(texts);
}

inline SettingStruct Checkbox(qint32 offset, quint8 mask, qint32 checked, qint32 unchecked)
{
    SettingStruct s = Setting(SettingType::Checkbox, offset);
    s.BitMask = mask;
    s.Values = Joined({checked, unchecked});
    return s;
}

inline SettingStruct ValueList(qint32 offset, quint8 mask, std::initializer_list<qint32> values)
{
    SettingStruct s = Setting(SettingType::ValueList, offset);
    s.BitMask = mask;
    s.Values = Joined(values);
    QStringList names;
    for (std::size_t i = 0; i < values.size(); ++i)
        names << QStringLiteral("Value %1").arg(i);
    s.ValueNames = JoinValues(names);
    return s;
}

inline SettingStruct Int8(qint32 offset)
{
    return Setting(SettingType::Int8, offset);
}

inline SettingStruct AnsiString(qint32 offset, qint32 maxStringLength)
{
    SettingStruct s = Setting(SettingType::AnsiString, offset);
    s.MaxStringLength = maxStringLength;
    return s;
}

inline SettingStruct UnicodeString(qint32 offset, qint32 maxStringLength)
{
    SettingStruct s = Setting(SettingType::UnicodeString, offset);
    s.MaxStringLength = maxStringLength;
    return s;
}

}   // namespace SeemFixtures

// s under the name, group and description a test gives it.
inline SettingStruct Named(SettingStruct s, const QString &name, const QString &group,
                           const QString &description = QString())
{
    s.Name = name;
    s.Group = group;
    s.Description = description;
    return s;
}
