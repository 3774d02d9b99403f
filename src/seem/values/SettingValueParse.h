#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QString>

// A value typed in words (the texts DecodeValueText gives) turned back into what the codec
// writes. Check boxes take "on"/"off", "true"/"false", "1"/"0" in any case; lists take an
// entry's name (in any case when only one name fits) or its value (decimal, or hex after
// "0x"), and answer a name not in the list with the nearest ones; Int8 a number 0..255; strings any text that fits the field and its code
// page. What the windows would cut or refuse on save is refused here, with the reason.
struct ParsedValue
{
    bool accepted = false;
    QString reason;         // why the text is refused, when it is
    bool checked = false;   // Checkbox
    qint32 listValue = 0;   // ValueList: the value of the named entry
    QString text;           // Int8 and strings: the text as the codec takes it
};

ParsedValue ParseValueText(const SettingStruct &setting, const QString &text);

// Writes an accepted value into the setting's owned bits and bytes, nothing else.
// Throws the codec's BvlError (62 when the bytes lie past the end of the image).
void EncodeParsedValue(ByteStore &image, const SettingStruct &setting, const ParsedValue &value);
