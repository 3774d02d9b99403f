#include "seem/ControlStateText.h"

#include "seem/SettingValueText.h"

QString ControlStateText(const SettingStruct &setting, const ControlState &state)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        return state.checked ? CheckedText : UncheckedText;
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return state.text;
    default:
        break;
    }
    // Lists (and unknown type codes, shown as lists) show the name at the position.
    return SplitValues(setting.ValueNames).value(state.listPosition);
}
