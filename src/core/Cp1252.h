#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Windows-1252, the 8-bit code page of every text the program reads or writes.
// All 256 byte values round-trip: the five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number.
namespace Cp1252 {

QString decode(QByteArrayView bytes);
// Writes one character per byte to out, which must have room for bytes.size() characters.
void decodeInto(QByteArrayView bytes, QChar *out);

// True when every character of text has a byte in the code page.
bool canEncode(const QString &text);

// Throws BvlError(ErrNo::TypeMismatch) when a character has no byte in the code page.
QByteArray encode(const QString &text);

// One character to its byte; returns false when it has none.
bool encodeChar(QChar c, quint8 &byte);

}   // namespace Cp1252
