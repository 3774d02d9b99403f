#include "seem/values/ControlStateText.h"

#include "seem/values/SettingValueText.h"

QString ControlStateText(const SettingStruct &setting, const ControlState &state)
{
    return ControlStateText(setting, state, CheckWords{CheckedText, UncheckedText});
}

QString InCheckWords(const SettingStruct &setting, const QString &text, const CheckWords &words)
{
    if (SettingType(setting.Type) != SettingType::Checkbox)
        return text;
    if (text == CheckedText)
        return words.on;
    return text == UncheckedText ? words.off : text;
}

QString ControlStateText(const SettingStruct &setting, const ControlState &state, const CheckWords &words)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        return state.checked ? words.on : words.off;
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
