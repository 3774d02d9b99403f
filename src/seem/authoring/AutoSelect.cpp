#include "seem/authoring/AutoSelect.h"

#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "seem/files/SeemFileName.h"

QString AutoSelectSettingFile(const QString &folder, const QString &seemFileName)
{
    SeemNameNumbers wanted;
    if (!ParseSeemFileName(seemFileName, wanted))
        return QString();
    for (const QString &path : FilesInSearchOrder({folder}, QStringLiteral("*.sec"))) {
        SettingFileHeader header;
        // Passes over, without waiting, a FIFO, device or folder listed under the pattern.
        if (!ReadSettingHeader(path, header))
            continue;
        if (CheckSettingHeader(header) == HeaderCheck::Accepted && header.SEEMRec == wanted.seemRec
            && header.SEEMNr == wanted.seemNr)
            return path;
    }
    return QString();
}

QString AutoSelectSettingFile(const QStringList &folders, const QString &seemFileName)
{
    for (const QString &folder : folders) {
        const QString chosen = AutoSelectSettingFile(folder, seemFileName);
        if (!chosen.isEmpty())
            return chosen;
    }
    return QString();
}
