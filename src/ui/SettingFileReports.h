#pragma once
#include "core/SettingTypes.h"

#include <QString>

struct AppContext;

// The window side of reading setting files: the reader's message
// "ReadSettingFile(" path ") ERR " number in a plain box on failure, and the
// magic and version messages of a refused header. Both windows use these.

// Reads into header and settings only on success; false after the message was shown.
bool ReadSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                             SettingList &settings);

// False after showing "bvlEditSetting.UnknownFile_M" or
// "bvlEditSetting.UnsupportedVer_M" + " V" + version (error icon).
bool CheckSettingHeaderReported(AppContext &ctx, const SettingFileHeader &header);
