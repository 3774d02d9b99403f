#pragma once
#include "core/SettingTypes.h"

#include <QString>

struct AppContext;

// The message of a setting that cannot be restored from its SEEM file: the window's text,
// then the setting by name with the reason (its bytes past the end of a file of fileSize
// bytes, or a value that cannot be read) and the error's number at the end.
QString RestoreFailureText(AppContext &ctx, const SettingStruct &setting, int error, qint64 fileSize);
