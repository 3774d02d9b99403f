#include "seem/authoring/AutoSelect.h"

#include "core/SettingFile.h"
#include "platform/Platform.h"
#include "seem/files/SeemFileName.h"

#include <QDir>

QString AutoSelectSettingFile(const QString &folder, const QString &seemFileName)
{
    SeemNameNumbers wanted;
    if (!ParseSeemFileName(seemFileName, wanted))
        return QString();
    const QStringList candidates =
        QDir(folder).entryList({QStringLiteral("*.sec")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &candidate : candidates) {
        const QString path = JoinPath(folder, candidate);
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
