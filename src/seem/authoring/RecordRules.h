#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QVector>

// The rules of one setting record, in one place for every door: the check of a setting
// file (SettingFitCheck), import on the command line, and the setting dialog. Texts are
// judged in codePage, the code page the file is written in (CodePage::Current()).

// The findings of record index (1-based) in the order the check reports them.
QVector<FitFinding> CheckRecord(const SettingStruct &s, int index, int codePage);
// The same, appended to findings: the check of a whole file makes no vector per record.
void CheckRecordInto(const SettingStruct &s, int index, int codePage, QVector<FitFinding> &findings);

// The header's texts the user writes (Author, Phones): in the code page, within 65535 bytes.
void CheckHeaderTexts(const SettingFileHeader &header, int codePage, QVector<FitFinding> &findings);

// True when CheckRecord finds an error.
bool HasRecordError(const SettingStruct &s, int codePage);

// True for what the file format itself cannot hold: a text outside the code page or too
// long. Such a record cannot be written at all.
bool IsUnwritable(const FitFinding &finding);
// True when the format can hold every text of s.
bool CanHoldRecord(const SettingStruct &s, int codePage);

// The field's name in the format and its JSON form ("Name", "MaxStringLength"); empty for None.
QString RecordFieldName(RecordField field);

// True for the rules that keep the setting dialog from showing a record (CanShowInDialog).
bool KeepsFromDialog(FitRule rule);

// True when the setting dialog can show the record and write it back without silently
// changing it. A record read from a file may not qualify: a type code above 4, a value
// that is not a number from 0 to 255 or has bits outside the mask, a value list whose
// names and values do not pair up, a check box without exactly two values. The editor
// refuses to edit such a record and keeps it exactly as read.
bool CanShowInDialog(const SettingStruct &s);
