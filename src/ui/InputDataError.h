#pragma once

struct AppContext;

// The warning shown when entered data cannot be stored (a setting file, a setting, or a
// SEEM value on save):
// the text of "bvlEditSetting.wssInputDataError_M", then " (ERR ", the number and ")".
void ShowInputDataError(AppContext &ctx, int number);
