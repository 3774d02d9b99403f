#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QString>
#include <QVector>

// Moves one setting's value between the SEEM bytes and the state its control shows.
// Widget-free: the main window turns these states into check boxes, lists and texts.
//
// Each setting's bytes are read with one call into the store and decoded from memory; a
// string field longer than 4 KB is read in growing pieces up to its terminator only.
//
// Failures throw BvlError: 62 bytes beyond the end of the image, 13 a value text that is
// not a number (or too few value texts) or a character the code page cannot hold, 6 a
// number outside 0..255.
namespace SettingCodec {

// The numbers of Values, read as decimal integers (throws 13 for a non-number).
QVector<qint32> ValueNumbers(const SettingStruct &s);

// Checkbox: true when the owned bits equal the checked value (the first value text).
// Only encoding as unchecked needs the unchecked value (the second).
bool DecodeChecked(ByteStore &store, const SettingStruct &s);
void EncodeChecked(ByteStore &store, const SettingStruct &s, bool checked);

// ValueList: position (from 0) of the first entry whose value equals the owned bits; -1
// for none. Entry k is name k of ValueNames with value k of Values: value texts beyond
// the last name belong to no entry.
int DecodeListIndex(ByteStore &store, const SettingStruct &s);
// Writes itemData (the selected entry's value) into the owned bits. Throws 6 when the
// combined byte leaves 0..255.
void EncodeListValue(ByteStore &store, const SettingStruct &s, qint32 itemData);

// Int8, AnsiString, UnicodeString: the text the control shows.
QString DecodeText(ByteStore &store, const SettingStruct &s);
// Int8 throws 13 for an empty or non-numeric text and 6 outside 0..255. Strings are cut
// so that text and terminator fit MaxStringLength; nothing is written past the field.
void EncodeText(ByteStore &store, const SettingStruct &s, const QString &text);

// Most characters a string field holds (the control's input limit); -1 for no limit.
int MaxTextLength(const SettingStruct &s);

}   // namespace SettingCodec
