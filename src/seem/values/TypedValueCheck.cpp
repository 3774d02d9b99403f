#include "seem/values/TypedValueCheck.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "seem/values/SettingCodec.h"

TypedValueProblem CheckTypedValue(const SettingStruct &setting, const QString &text)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Int8:
        try {
            const qint32 value = DecimalToLong(text);
            return value >= 0 && value <= 255 ? TypedValueProblem::None : TypedValueProblem::NotAByte;
        } catch (const BvlError &) {
            return TypedValueProblem::NotAByte;
        }
    case SettingType::AnsiString:
        if (text.size() > SettingCodec::MaxTextLength(setting))
            return TypedValueProblem::TooLongForField;
        if (text.contains(QChar(0)))
            return TypedValueProblem::ZeroCharacter;
        return CodePage::canEncode(text) ? TypedValueProblem::None : TypedValueProblem::NotInCodePage;
    case SettingType::UnicodeString:
        // One 16-bit unit per character; a character beyond U+FFFF takes two.
        if (text.size() > SettingCodec::MaxTextLength(setting))
            return TypedValueProblem::TooLongForField;
        if (text.contains(QChar(0)))
            return TypedValueProblem::ZeroCharacter;
        return text.isValidUtf16() ? TypedValueProblem::None : TypedValueProblem::HalfSurrogate;
    default:
        return TypedValueProblem::None;
    }
}
