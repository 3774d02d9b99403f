#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileCheck.h"
#include "seem/authoring/SettingFitCheck.h"

class Wording;

// The check's findings in words, from the language files: the windows pass the user's
// language (LangWording), the command line the shipped English (EnglishWording()).
// Offsets are written as everywhere ("16 (0x10)"), settings by their full names and
// record numbers; a "%1" in a name or text stays as written.

// What is wrong, without the settings' names.
QString FindingMessage(Wording &words, const FitFinding &finding);

// "NAME (#k) and NAME (#j): what is wrong", or what is wrong alone for the header.
QString FindingText(Wording &words, const SettingList &settings, const FitFinding &finding);

// "Error: " or "Warning: " and the finding's text, as the windows list it.
QString FindingLine(Wording &words, const SettingList &settings, const FitFinding &finding);

// "Check: 1 error, 2 warnings", the counts in the language's plural forms.
QString CheckCountsLine(Wording &words, int errors, int warnings);

// The findings as lines: errors first, then warnings.
SettingFileVerdict VerdictOf(Wording &words, const SettingList &settings, const QVector<FitFinding> &findings);
