#include "seem/authoring/SettingFileCatalogue.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/SearchFolders.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QFileInfo>

CatalogueEntry ReadCatalogueEntry(const QString &path, FileFolder folder)
{
    CatalogueEntry entry;
    entry.path = path;
    entry.fileName = QFileInfo(path).fileName();
    entry.folder = folder;
    SettingList settings;
    try {
        ReadSettingFile(path, entry.header, settings);
    } catch (const SettingFileCutError &e) {
        entry.readError = e.number();
        entry.cutRecord = e.record();
        entry.cutCounted = e.counted();
        return entry;
    } catch (const BvlError &e) {
        entry.readError = e.number();
        return entry;
    }
    entry.headerCheck = CheckSettingHeader(entry.header);
    entry.settingCount = int(settings.size());
    const QVector<FitFinding> findings = CheckSettingFile(entry.header, settings, CodePage::Current());
    entry.errors = ErrorCount(findings);
    entry.warnings = int(findings.size()) - entry.errors;
    return entry;
}

QVector<CatalogueEntry> ListSettingFiles(const QString &userFolder, const QString &programFolder)
{
    QVector<CatalogueEntry> entries;
    for (const QString &folder : SearchFolders(userFolder, programFolder)) {
        const FileFolder kind = folder == userFolder ? FileFolder::User : FileFolder::Shipped;
        for (const QString &path : FilesInSearchOrder({folder}, QStringLiteral("*.sec")))
            entries << ReadCatalogueEntry(path, kind);
    }
    return entries;
}

QString FolderWord(FileFolder folder)
{
    return folder == FileFolder::User ? QStringLiteral("per-user") : QStringLiteral("shipped");
}
