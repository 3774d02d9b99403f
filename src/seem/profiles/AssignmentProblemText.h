#pragma once
#include "core/SettingTypes.h"

#include <QString>

class Wording;
struct AssignmentProblem;

// A refused name or value of a profile or an assignment, worded once for the windows
// (Apply values) and the command line (set, apply): "SOURCE: no setting is named "X"".
// Names are in double quotes; an ambiguous name lists the first few settings it stands
// for, by their full names.
QString AssignmentProblemText(Wording &words, const AssignmentProblem &problem, const SettingList &settings);
