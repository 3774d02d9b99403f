#pragma once
#include "core/SettingTypes.h"
#include "seem/SettingState.h"

#include <QString>

// A control's state in the words the window and the command line use for values
// ("on", "off", the list entry's name, the text), so that a review of changes reads
// like what the controls show. A list with no entry selected gives the empty text.
QString ControlStateText(const SettingStruct &setting, const ControlState &state);
