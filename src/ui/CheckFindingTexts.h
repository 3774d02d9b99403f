#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileCheck.h"

struct AppContext;

// The check's findings as the windows show them: in the user's language, offsets written
// as everywhere ("16 (0x10)"), the settings named by their full names and record numbers.
// The command line keeps the library's English lines.

// "Error: NAME (#k) and NAME (#j): what is wrong", from the language file.
QString LocalFindingLine(AppContext &ctx, const SettingList &settings, const FitFinding &finding);

// What is wrong, without the settings' names.
QString LocalFindingMessage(AppContext &ctx, const FitFinding &finding);

// "Check: 1 error, 2 warnings", the counts in the language's plural forms.
QString CheckCountsLine(AppContext &ctx, int errors, int warnings);

// The verdict of the setting file alone (header and records), its lines worded as above:
// errors first, then warnings.
SettingFileVerdict LocalSettingFileVerdict(AppContext &ctx, const SettingFileHeader &header,
                                           const SettingList &settings);
