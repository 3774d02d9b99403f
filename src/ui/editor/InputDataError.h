#pragma once

struct AppContext;

// The warning both editor windows show when what the author entered cannot be stored:
// the text of "bvlEditSetting.wssInputDataError_M", then " (ERR ", the number and ")".
void ShowInputDataError(AppContext &ctx, int number);
