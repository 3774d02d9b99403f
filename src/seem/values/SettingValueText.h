#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QString>
#include <QVector>

// A setting's value as the main window shows it, in words: a check box "on" or "off",
// the name of the selected list entry, the number, the text. Decoded through the codec,
// so the words always match the bytes the windows would show and write.

inline const QString CheckedText = QStringLiteral("on");
inline const QString UncheckedText = QStringLiteral("off");

struct ValueText
{
    bool decoded = false;
    QString text;              // the value, when decoded
    QString reason;            // why it cannot be shown, when not
    bool unreadable = false;   // not shown because its bytes could not be read from the image

    bool operator==(const ValueText &o) const
    {
        return decoded == o.decoded && text == o.text && reason == o.reason && unreadable == o.unreadable;
    }
    bool operator!=(const ValueText &o) const { return !(*this == o); }
};

// Decodes the setting from image. Never throws: a value that cannot be shown (the bytes
// lie past the end, the setting file's values are no numbers, the bits match no list
// entry, an unknown type) comes back undecoded with the reason.
ValueText DecodeValueText(ByteStore &image, const SettingStruct &setting);

// Why the windows cannot show this setting whatever the image holds, or the empty text:
// an unknown type code, a value text that is not a number, a check box without two
// values, a list with fewer values than names.
QString UnshowableReason(const SettingStruct &setting);

// One entry of a list setting: the name at position k of ValueNames with the number at
// position k of Values. Throws BvlError 13 for a setting UnshowableReason refuses.
struct ValueListEntry
{
    QString name;
    qint32 value = 0;
};
QVector<ValueListEntry> ValueListEntries(const SettingStruct &setting);

// "Checkbox", "ValueList", "Int8", "AnsiString", "UnicodeString", or "type N".
QString SettingTypeName(quint8 typeCode);
