#pragma once
#include "core/SettingTypes.h"

// True when the setting dialog can show the record and write it back without silently
// changing it. A record read from a file may not qualify: a type code above 4, a value
// that is not a number from 0 to 255 or has bits outside the mask, a value list whose
// names and values do not pair up, a checkbox without exactly two values. The editor refuses to edit such a record
// and keeps it exactly as read.
bool IsEditableSetting(const SettingStruct &setting);
