#pragma once
#include <QString>
#include <QStringList>

// Where setting files and language files are looked for: the user's own folder first,
// then the program folder, so that a user's file wins over a shipped one of the same
// kind. Folders that are empty texts, and a user folder that is the program folder
// itself, are left out.
QStringList SearchFolders(const QString &userFolder, const QString &programFolder);

// Where a save dialog for a setting file starts: the folder of the file being edited when
// it exists and that folder is writable, else the per-user folder, where the automatic
// choice finds it. With a trailing separator.
QString SettingSaveFolder(const QString &editedPath, const QString &userFolder);

// The paths of the files matching wildcard (such as "*.sec") in folders: folder by folder
// in the order given, by name within each folder, character by character with case
// counted ("B.sec" before "a.sec" before "b.sec"), so that the order depends neither on
// the file system nor on the language. The automatic choice, `list` and the windows'
// lists all take this one order. A folder that does not exist contributes nothing.
QStringList FilesInSearchOrder(const QStringList &folders, const QString &wildcard);
