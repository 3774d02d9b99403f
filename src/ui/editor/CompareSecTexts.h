#pragma once
#include "seem/authoring/SettingFileComparison.h"

#include <QString>

struct AppContext;

// Two versions of a setting file in the windows' words: the comparison window of the
// setting editor, its merge window and the Setting files window's question before a file
// is replaced all name fields and values so. The findings are the library's
// (CompareSettingFiles), as brimvale-cli compare-sec prints them.

// "Offset", "Bit mask", ... in the user's language.
QString RecordFieldWord(AppContext &ctx, RecordField field);
QString HeaderFieldWord(AppContext &ctx, SettingFileDocument::HeaderField field);

// What a record holds in field, on one line (line ends and control characters escaped,
// offsets as everywhere, a bit mask in binary, lists joined with " | ").
QString RecordFieldValue(AppContext &ctx, const SettingStruct &record, RecordField field);
// What a header holds in field: texts on one line, the numbers in hexadecimal.
QString HeaderFieldValue(const SettingFileHeader &header, SettingFileDocument::HeaderField field);

// What the new version changes, a line per kind that occurs: "2 settings added: Sound\A,
// Sound\B", removed, renamed ("Old -> New"), changed, the header fields; each line names at
// most maxNames settings ("... and 3 more"). Empty when the versions are equal.
QString ComparisonSummary(AppContext &ctx, const SettingFileComparison &c, const SettingList &before,
                          const SettingList &after, int maxNames = 5);
