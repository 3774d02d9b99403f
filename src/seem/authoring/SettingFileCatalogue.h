#pragma once
#include "core/SettingFile.h"
#include "core/SettingTypes.h"

#include <QString>
#include <QVector>

// Every setting file the program can choose from: the per-user folder's and the program
// folder's *.sec files, in the order the automatic choice searches them, each read and
// checked as `check` checks it. The "Setting files" window and `brimvale-cli list` show
// this one list, so both always agree.

enum class FileFolder {
    User,
    Shipped
};

struct CatalogueEntry
{
    QString path;
    QString fileName;
    FileFolder folder = FileFolder::Shipped;
    // 0 when the file was read; else the reader's failure number (the header and the
    // counts below then mean nothing).
    int readError = 0;
    int cutRecord = -1;   // a file that ends too early: the record it ends in (0: its header)
    int cutCounted = 0;   // ... or, when it ends right after cutRecord, the records its header counts
    HeaderCheck headerCheck = HeaderCheck::Accepted;
    SettingFileHeader header;
    int settingCount = 0;
    int errors = 0;   // what `check` counts as errors (a refused header is one)
    int warnings = 0;

    bool readable() const { return readError == 0; }
    // What the windows would take: read, and the header accepted.
    bool usable() const { return readable() && headerCheck == HeaderCheck::Accepted; }
};

// Reads and checks one file.
CatalogueEntry ReadCatalogueEntry(const QString &path, FileFolder folder);

// The entries of both folders (see SearchFolders): the per-user folder's first.
QVector<CatalogueEntry> ListSettingFiles(const QString &userFolder, const QString &programFolder);

// "per-user" or "shipped", as the command line prints it.
QString FolderWord(FileFolder folder);
