#include "core/SearchFolders.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList SearchFolders(const QString &userFolder, const QString &programFolder)
{
    QStringList folders;
    if (!userFolder.isEmpty() && !(QFileInfo(userFolder) == QFileInfo(programFolder)))
        folders << userFolder;
    if (!programFolder.isEmpty())
        folders << programFolder;
    return folders;
}

QString SettingSaveFolder(const QString &editedPath, const QString &userFolder)
{
    const QFileInfo edited(editedPath);
    const QFileInfo folder(edited.absolutePath());
    const QString chosen =
        !editedPath.isEmpty() && edited.exists() && folder.isWritable() ? folder.absoluteFilePath() : userFolder;
    if (chosen.isEmpty())
        return QString();
    const QString native = QDir::toNativeSeparators(chosen);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QStringList FilesInSearchOrder(const QStringList &folders, const QString &wildcard)
{
    QStringList paths;
    for (const QString &folder : folders) {
        QStringList names = QDir(folder).entryList({wildcard}, QDir::Files, QDir::Unsorted);
        // Not QDir's sort: with the case or locale flag it leaves ties or follows the language.
        std::sort(names.begin(), names.end(),
                  [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });
        for (const QString &name : names)
            paths << JoinPath(folder, name);
    }
    return paths;
}
