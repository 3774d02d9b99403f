#include "ui/main/SettingControlKind.h"

#include "core/BvlError.h"
#include "core/Conversions.h"

ControlKind ControlKindOf(const SettingStruct &setting)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        return ControlKind::CheckBox;
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return ControlKind::Text;
    case SettingType::ValueList:
        break;
    }
    return ControlKind::List;
}

QVector<ListEntry> ListEntries(const SettingStruct &setting)
{
    const QStringList names = SplitValues(setting.ValueNames);
    const QStringList values = SplitValues(setting.Values);
    if (values.size() < names.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("fewer values than names"));
    // Name k takes value k; value texts beyond the last name have no entry and are not read.
    QVector<ListEntry> entries;
    entries.reserve(names.size());
    for (int k = 0; k < names.size(); ++k)
        entries.append(ListEntry{names.at(k), DecimalToLong(values.at(k))});
    return entries;
}

void CheckSettingsShowable(const SettingList &settings)
{
    for (const SettingStruct &setting : settings)
        if (ControlKindOf(setting) == ControlKind::List)
            ListEntries(setting);
}
