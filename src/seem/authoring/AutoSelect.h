#pragma once
#include <QString>
#include <QStringList>

// The automatic choice of a setting file for a SEEM file: the SEEM number and record
// number read from the SEEM file's name (see SeemFileName.h) are compared with the header
// of every *.sec file in folder, in the order of FilesInSearchOrder (SearchFolders.h);
// the first accepted header (magic "sec", format version 3) for that SEEM and record
// wins. Returns its path, or the empty text when the name carries no numbers or no file
// matches. The main window and the command line both choose through this, so they always
// pick the same file.
QString AutoSelectSettingFile(const QString &folder, const QString &seemFileName);

// The same over several folders, in the order given (see SearchFolders): the first folder
// holding a match wins, so a user's own file is taken before a shipped one.
QString AutoSelectSettingFile(const QStringList &folders, const QString &seemFileName);
