#pragma once
#include "core/RegularFile.h"
#include "core/SettingTypes.h"

#include <QJsonObject>

// A setting file as JSON, for keeping setting files under version control as text.
// Lossless: every header and record field is there under its field name, and reading the
// JSON back gives the same header and records, so the file written from it is the
// original byte for byte (ProgramVersion included: it is written as the JSON holds it).
//
//   { "format": "Brimvale Edit setting file",
//     "header": { "Author", "FileVersion", "Magic", "Phones", "ProgramVersion",
//                 "SEEMNr", "SEEMRec", "SettingCount" },
//     "settings": [ { "BitMask", "Description", "Group", "MaxStringLength", "Name",
//                     "Offset", "Type", "UIIndex", "ValueNames": [..], "Values": [..] } ] }
//
// Numbers are JSON numbers. ValueNames and Values are arrays of their "§"-separated
// pieces; a piece of Values is a number when it is a plain decimal number, otherwise the
// string it is. Keys are in alphabetical order (QJsonObject's), records in file order.

inline const QString SettingFileJsonFormat = QStringLiteral("Brimvale Edit setting file");

// Throws 630 when the indented text of the JSON (as export writes it) would be larger than
// maxBytes: import reads no more than MaxJsonFileBytes, and what export writes must come
// back. A setting file may be 256 MiB, and its JSON is many times that (an empty record
// takes 24 bytes, its JSON over 300), more than a JSON document should be built of.
QJsonObject SettingFileToJson(const SettingFileHeader &header, const SettingList &settings,
                              qint64 maxBytes = MaxJsonFileBytes);

// Throws JsonInputError (core/JsonFields.h) naming the JSON path of the first problem:
// a missing or unknown field, a field of the wrong kind, a number out of range for its
// field, a magic or program version the code page cannot hold or longer than 65535 bytes,
// a "§" inside a piece, a SettingCount other than the number of records. The other texts
// are left to the record rules (seem/authoring/RecordRules.h), which say what a setting
// file cannot hold. The output is only assigned on success.
void SettingFileFromJson(const QJsonObject &json, SettingFileHeader &header, SettingList &settings);
