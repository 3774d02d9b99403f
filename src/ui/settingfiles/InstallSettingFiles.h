#pragma once
#include <QStringList>

struct AppContext;

// Installs setting files into the per-user folder, as the "Setting files" window's Install
// and a drop onto the main window do: each file is read and checked first; a file that is
// refused is named with its reason in one message at the end and nothing is copied for
// it; a file that would replace one of the same name is copied only after a Yes to a
// question that says what the new version changes. Returns the number of files installed.
int InstallSettingFilesAsked(AppContext &ctx, const QStringList &paths);
