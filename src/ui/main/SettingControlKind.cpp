#include "ui/main/SettingControlKind.h"

#include "core/BvlError.h"
#include "seem/SettingCodec.h"

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
    const QVector<qint32> values = SettingCodec::ValueNumbers(setting);
    if (values.size() < names.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("fewer values than names"));
    QVector<ListEntry> entries;
    entries.reserve(names.size());
    for (int k = 0; k < names.size(); ++k)
        entries.append(ListEntry{names.at(k), values.at(k)});
    return entries;
}

void CheckSettingsShowable(const SettingList &settings)
{
    for (const SettingStruct &setting : settings)
        if (ControlKindOf(setting) == ControlKind::List)
            ListEntries(setting);
}
