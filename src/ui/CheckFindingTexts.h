#pragma once
#include "core/CodePage.h"
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileCheck.h"

struct AppContext;

// The check's findings as the windows show them, in the user's language: the words of
// seem/authoring/FindingTexts.h with the window's language table.

// "Error: NAME (#k) and NAME (#j): what is wrong", from the language file.
QString LocalFindingLine(AppContext &ctx, const SettingList &settings, const FitFinding &finding);

// What is wrong, without the settings' names.
QString LocalFindingMessage(AppContext &ctx, const FitFinding &finding);

// "Check: 1 error, 2 warnings", the counts in the language's plural forms.
QString CheckCountsLine(AppContext &ctx, int errors, int warnings);

// The verdict of the setting file alone (header and records, texts judged in codePage),
// its lines worded as above: errors first, then warnings.
SettingFileVerdict LocalSettingFileVerdict(AppContext &ctx, const SettingFileHeader &header,
                                           const SettingList &settings, int codePage = CodePage::Current());
