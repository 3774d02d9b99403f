#pragma once
#include "cli/Command.h"
#include "cli/Inputs.h"
#include "seem/profiles/ValueProfile.h"

#include <QVector>

// Setting values by name in one SEEM image, all or nothing: every assignment is looked
// up, parsed and encoded on top of the image first; one refusal writes nothing. Only the
// owned bits and bytes of the assigned settings change, and the image never grows.
using Assignment = ValueAssignment;

struct AssignmentRun
{
    bool dryRun = false;           // print the changes, write nothing
    bool reportUnchanged = true;   // print the assignments that change no byte
};

// Prints each change (setting, old and new value, bytes touched) to context.out and
// every refusal to context.err. Returns the exit status.
int CarryOutAssignments(const QVector<Assignment> &assignments, const QString &imagePath,
                        const LoadedSettingFile &settingFile, AssignmentRun run, CommandContext &context);
