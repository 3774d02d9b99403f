#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList wildcards = parts.at(i + 1).split(QLatin1Char(';'));
        // "*.*" means every file, as it always has on the desktop the filters come from;
        // here it would pass over the names without a dot (a SEEM image saved as "ram0").
        for (QString &wildcard : wildcards)
            if (wildcard == QStringLiteral("*.*"))
                wildcard = QStringLiteral("*");
        const QString patterns = wildcards.join(QLatin1Char(' '));
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        // "Setting file (*.sec)" already shows its pattern, which Qt reads from there.
        const QString &description = parts.at(i);
        entries << (description.endsWith(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<QStringList> Platform::openFileNames(const QString &title, const QString &filter,
                                                   const QString &proposedName)
{
    const std::optional<QString> one = openFileName(title, filter, proposedName);
    if (!one)
        return std::nullopt;
    return QStringList{*one};
}

QString FileDialogStart(const QString &proposedName, const QString &lastFolder, const QString &homeFolder)
{
    const QString folder = lastFolder.isEmpty() ? homeFolder : lastFolder;
    if (proposedName.isEmpty())
        return folder;
    if (QFileInfo(proposedName).isAbsolute())
        return proposedName;
    return JoinPath(folder, proposedName);
}

QString JoinPath(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return fileName;
    QString joined = QDir::cleanPath(folder + QLatin1Char('/') + fileName);
    return QDir::toNativeSeparators(joined);
}

QString UserDataFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : JoinPath(base, QStringLiteral("brimvale-edit"));
}
