#pragma once
#include "core/SettingTypes.h"

#include <QString>

// Whether a text typed into a setting's text box can be saved as it is, checked while it
// is typed so that a save never meets a value it cannot write.
enum class TypedValueProblem {
    None,
    NotAByte,          // Int8: no whole number from 0 to 255
    TooLongForField,   // string: more characters than its field holds with the terminator
    NotInCodePage,     // AnsiString: a character the code page has no byte for
    HalfSurrogate,     // UnicodeString: half of a surrogate pair, which UTF-16 cannot hold alone
    ZeroCharacter,     // string: a NUL, which would end the text where it stands
};

TypedValueProblem CheckTypedValue(const SettingStruct &setting, const QString &text);
