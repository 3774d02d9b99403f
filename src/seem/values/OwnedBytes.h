#pragma once
#include "core/SettingTypes.h"

#include <QString>
#include <QtGlobal>

// The bytes of a SEEM image that one setting reads and writes, as the codec addresses
// them: one byte for check boxes, lists and numbers, the string field for strings
// (a UnicodeString of odd size never uses its last byte), nothing for unknown types.
struct OwnedSpan
{
    qint64 offset = 0;
    qint64 size = 0;      // bytes; 0 for a setting that owns nothing
    quint8 mask = 0xFF;   // owned bits of every byte of the span

    qint64 end() const { return offset + size; }
};

OwnedSpan OwnedSpanOf(const SettingStruct &setting);

// The owned bits as people read them: the bit text of the mask for a one-byte span
// ("00110000"), "N bytes" for a string field, "-" for nothing.
QString OwnedBitsText(const OwnedSpan &span);

// True when the whole span lies inside an image of imageSize bytes.
bool SpanInsideImage(const OwnedSpan &span, qint64 imageSize);
