#pragma once
#include "core/SettingTypes.h"

#include <QString>

struct AppContext;

// The window side of reading setting files, shared by both windows: the reader's message
// "ReadSettingFile(" path ") ERR " number in a plain box on failure, and the messages of a
// refused file (error icon).

enum class SettingFileOpen {
    Accepted,     // read and accepted
    ReadFailed,   // the reader's message was shown
    Refused,      // not a setting file, one that ends too early, an unsupported version or a hostile group path
};

// Reads the file at path and checks it; header and settings are assigned only when it
// is accepted. A file that ends before its last record is told with
// NotWholeSettingFileText (error icon). A file that is no regular file, is too large or that the system would not
// hand over has the reason on a second line of the reader's message. A file whose first three bytes are not the magic is refused as no setting
// file ("bvlEditSetting.UnknownFile_M") however its read went; a group path beyond the
// limits of the core is refused with "bvlEditSetting.GroupPathTooLong_M".
SettingFileOpen OpenSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                                        SettingList &settings, QByteArray *trailing = nullptr);

// The same; true when accepted.
bool ReadSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header, SettingList &settings);

// "NAME is not a whole setting file: it ends inside record N (ERR n)" (or "inside its
// header" for record 0) in the user's language, NAME being the file's name without its
// folder: what every window says of a setting file whose bytes end too early.
// counted > 0: the file ends right after record, of the counted records its header promises.
QString NotWholeSettingFileText(AppContext &ctx, const QString &path, int record, int number, int counted = 0);

// False after showing "bvlEditSetting.UnknownFile_M" or
// "bvlEditSetting.UnsupportedVer_M" + " V" + version (error icon).
bool CheckSettingHeaderReported(AppContext &ctx, const SettingFileHeader &header);
