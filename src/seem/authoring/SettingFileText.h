#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QString>

// A setting file as stable, line-oriented text, for the line-by-line tools people keep
// shared files in (git diff, git log -p): the header, then one block per setting in file
// order, headed by its full name, its fields one a line in a fixed order. Offsets are
// written as everywhere ("16 (0x10)"), bit masks as bit texts, values and names one list
// a line; control characters in texts are escaped ("\r\n"), so that a text never spans
// lines.
QString SettingFileText(const SettingFileHeader &header, const SettingList &settings);

// A text on one line: line ends and other control characters written as escapes ("\r\n",
// "\x01"). A backslash stays as it is, so that group paths read as everywhere.
QString OneLineText(const QString &text);

// One field of a setting as the text above writes it ("16 (0x10)", "A | B"); empty for
// a field no record has (None, the header's).
QString SettingFieldText(const SettingStruct &s, RecordField field);
