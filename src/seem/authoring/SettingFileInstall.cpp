#include "seem/authoring/SettingFileInstall.h"

#include "core/BvlError.h"
#include "core/RegularFile.h"
#include "core/SettingFile.h"
#include "platform/Platform.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Far beyond any real setting file; a larger one is not read into memory.
constexpr qint64 MaxInstallBytes = 64 * 1024 * 1024;

// The refusal of bytes that were read, as the windows would refuse them on opening.
void CheckBytes(InstallCandidate &candidate)
{
    if (!candidate.bytes.startsWith(SettingFileFormat::Magic.toLatin1())) {
        candidate.refusal = InstallRefusal::NotSettingFile;
        return;
    }
    QBuffer buffer(&candidate.bytes);
    buffer.open(QIODevice::ReadOnly);
    SettingFileHeader header;
    SettingList settings;
    try {
        ReadSettingStream(buffer, header, settings);
    } catch (const SettingFileCutError &e) {
        candidate.refusal = InstallRefusal::ReadFailed;
        candidate.readError = e.number();
        candidate.cutRecord = e.record();
        candidate.cutCounted = e.counted();
        return;
    } catch (const BvlError &e) {
        candidate.refusal = InstallRefusal::ReadFailed;
        candidate.readError = e.number();
        return;
    }
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::UnknownFile:
        candidate.refusal = InstallRefusal::NotSettingFile;
        return;
    case HeaderCheck::UnsupportedVersion:
        candidate.refusal = InstallRefusal::UnsupportedVersion;
        candidate.fileVersion = header.FileVersion;
        return;
    case HeaderCheck::Accepted:
        break;
    }
    if (FirstOversizedGroupPath(settings) != 0)
        candidate.refusal = InstallRefusal::GroupPathTooLong;
}

}   // namespace

InstallCandidate PrepareInstall(const QString &source, const QString &userFolder)
{
    InstallCandidate candidate;
    candidate.source = source;
    if (userFolder.isEmpty()) {
        // No per-user folder on this desktop: never a file relative to the working folder.
        candidate.refusal = InstallRefusal::ReadFailed;
        candidate.readError = ErrNo::PathFileAccess;
        return candidate;
    }
    candidate.target = JoinPath(userFolder, QFileInfo(source).fileName());
    const QFileInfo target(candidate.target);
    candidate.replaces = target.exists();
    if (candidate.replaces && target == QFileInfo(source)) {
        candidate.refusal = InstallRefusal::AlreadyThere;
        return candidate;
    }
    try {
        candidate.bytes = ReadRegularFile(source, MaxInstallBytes);
    } catch (const BvlError &e) {
        candidate.refusal = InstallRefusal::ReadFailed;
        candidate.readError = e.number();
        return candidate;
    }
    CheckBytes(candidate);
    if (!candidate.accepted())
        candidate.bytes.clear();
    return candidate;
}

void InstallSettingFile(const InstallCandidate &candidate)
{
    if (!candidate.accepted())
        throw BvlError(ErrNo::PathFileAccess, QStringLiteral("refused files are not installed"));
    if (!QDir().mkpath(QFileInfo(candidate.target).absolutePath()))
        throw BvlError(ErrNo::PathFileAccess, QStringLiteral("the per-user folder cannot be made"));
    QSaveFile file(candidate.target);
    // Unbuffered: a failed write is seen at once and never committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(candidate.bytes) != candidate.bytes.size() || !file.commit())
        throw BvlError(ErrNo::PathFileAccess, file.errorString());
}

void RemoveUserSettingFile(const QString &path, const QString &userFolder)
{
    const QFileInfo file(path);
    if (userFolder.isEmpty() || !(QFileInfo(file.absolutePath()) == QFileInfo(userFolder)))
        throw BvlError(ErrNo::PathFileAccess, QStringLiteral("only files of the per-user folder are removed"));
    if (!QFile::remove(path))
        throw BvlError(ErrNo::PathFileAccess);
}
