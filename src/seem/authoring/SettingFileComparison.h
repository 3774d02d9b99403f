#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileDocument.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QVector>

// Two versions of a setting file compared setting by setting, as the people who share a
// setting file speak of it: which settings came, went, were renamed, and which fields of
// the others changed.
//
// Settings are matched by their full name ('GROUP\NAME', blanks around the elements aside,
// as every door names them), the first of a name with the first of that name; those left
// over are matched by type and offset (a renamed setting), again first with first. The
// cost grows linearly with the two files.

// A setting of both versions whose fields differ (or that was renamed).
struct SettingChange
{
    int before = 0;   // 1-based record in the old file
    int after = 0;    // 1-based record in the new file
    bool renamed = false;
    QVector<RecordField> fields;   // in the order of RecordField
};

struct SettingFileComparison
{
    QVector<SettingFileDocument::HeaderField> header;   // the header fields that differ
    QVector<int> added;                                 // records of the new file only
    QVector<int> removed;                               // records of the old file only
    QVector<SettingChange> changed;                     // in the new file's order
    bool equal() const { return header.isEmpty() && added.isEmpty() && removed.isEmpty() && changed.isEmpty(); }
};

SettingFileComparison CompareSettingFiles(const SettingFileHeader &oldHeader, const SettingList &oldSettings,
                                          const SettingFileHeader &newHeader, const SettingList &newSettings);

// The fields of two records that differ, in the order of RecordField (the name and group
// count as fields too; UIIndex, which the main window rewrites, does not).
QVector<RecordField> DifferingFields(const SettingStruct &a, const SettingStruct &b);

// A header field's name in the format ("Author", "SEEMNr").
QString HeaderFieldName(SettingFileDocument::HeaderField field);
