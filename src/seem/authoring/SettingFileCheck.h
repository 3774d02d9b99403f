#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The check of a setting file as every door reports it: the command line's `check`, the
// Setting files window's verdict, the setting editor's Check command and the line under
// its list, and the main window when it opens a file with errors.

// "Ringer volume (#12)": a setting's full name and its record number, for a finding.
QString FindingSettingLabel(const SettingList &settings, int index);

// The command line's line for a finding, in the shipped English: "error: NAME (#k) and
// NAME (#j): what is wrong", ending the names with "and N more" when the finding names
// only the first of its settings.
QString FindingLine(const SettingList &settings, const FitFinding &finding);

// A setting file made for another record than the image's (its name says which):
// a warning naming both, or nothing when they agree or the image name says no record.
std::optional<FitFinding> RecordNumberFinding(const SettingFileHeader &header, const QString &imagePath);

struct SettingFileVerdict
{
    int errors = 0;
    int warnings = 0;
    QStringList lines;   // errors first, then warnings (FindingTexts.h words them)
    bool clean() const { return errors == 0 && warnings == 0; }
};
