#pragma once
#include <QByteArray>
#include <QString>

// Installing a setting file: reading it, and only when the windows would take it,
// copying the very bytes read into the per-user folder under the same name.

enum class InstallRefusal {
    None,
    ReadFailed,           // cannot be read, or not in full (readError says why)
    NotSettingFile,       // does not begin with the magic "sec"
    UnsupportedVersion,   // a setting file of a format version other than 3 (fileVersion)
    GroupPathTooLong,     // a group path beyond what the windows take from a file
    AlreadyThere,         // the file is the per-user folder's own copy
};

struct InstallCandidate
{
    QString source;
    QString target;   // the same name in the per-user folder
    InstallRefusal refusal = InstallRefusal::None;
    int readError = 0;       // ReadFailed: the failure's number
    int cutRecord = -1;      // ReadFailed on a file ending too early: the record it ends in (0: header)
    int cutCounted = 0;      // ... or, when it ends right after cutRecord, the records its header counts
    int fileVersion = 0;     // UnsupportedVersion: the version the file has
    bool replaces = false;   // a file of that name is in the per-user folder already
    QByteArray bytes;        // what was read, written as it is

    bool accepted() const { return refusal == InstallRefusal::None; }
};

// Reads and checks source (a regular file of a sensible size) for the per-user folder.
InstallCandidate PrepareInstall(const QString &source, const QString &userFolder);

// Writes an accepted candidate's bytes to its target, making the per-user folder when it
// is missing and replacing a file of that name as a whole or not at all. Throws BvlError
// (75) when it cannot be written.
void InstallSettingFile(const InstallCandidate &candidate);

// Removes a setting file of the per-user folder; any other path is refused. Throws
// BvlError: 75 when the file cannot be removed or lies elsewhere.
void RemoveUserSettingFile(const QString &path, const QString &userFolder);
