#include "ui/SettingFileReports.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "ui/AppContext.h"

namespace {

// A read that failed on the file's contents, not on reaching the file.
bool failedOnContents(const BvlError &e)
{
    return e.number() == ErrNo::InputPastEnd || e.number() == ErrNo::OutOfMemory;
}

void showRefusal(AppContext &ctx, const char *key)
{
    ctx.platform.messageBox(ctx.T(QString::fromLatin1(key)), MsgIcon::Critical, MsgButtons::Ok);
}

}

SettingFileOpen OpenSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                                        SettingList &settings)
{
    SettingFileHeader newHeader;
    SettingList newSettings;
    try {
        ReadSettingFile(path, newHeader, newSettings);
    } catch (const BvlError &e) {
        // A language file renamed .sec fails on counts that mean nothing; what matters to
        // the user is that it is no setting file.
        if (failedOnContents(e) && !HasSettingFileMagic(path)) {
            showRefusal(ctx, "bvlEditSetting.UnknownFile_M");
            return SettingFileOpen::Refused;
        }
        ctx.platform.messageBox(QStringLiteral("ReadSettingFile(") + path + QStringLiteral(") ERR ")
                                    + QString::number(e.number()),
                                MsgIcon::None, MsgButtons::Ok);
        return SettingFileOpen::ReadFailed;
    }
    if (!CheckSettingHeaderReported(ctx, newHeader))
        return SettingFileOpen::Refused;
    if (FirstOversizedGroupPath(newSettings) != 0) {
        showRefusal(ctx, "bvlEditSetting.GroupPathTooLong_M");
        return SettingFileOpen::Refused;
    }
    header = std::move(newHeader);
    settings = std::move(newSettings);
    return SettingFileOpen::Accepted;
}

bool ReadSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                             SettingList &settings)
{
    return OpenSettingFileReported(ctx, path, header, settings) == SettingFileOpen::Accepted;
}

bool CheckSettingHeaderReported(AppContext &ctx, const SettingFileHeader &header)
{
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::Accepted:
        return true;
    case HeaderCheck::UnknownFile:
        showRefusal(ctx, "bvlEditSetting.UnknownFile_M");
        return false;
    case HeaderCheck::UnsupportedVersion:
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlEditSetting.UnsupportedVer_M")) + QStringLiteral(" V")
                                    + QString::number(header.FileVersion),
                                MsgIcon::Critical, MsgButtons::Ok);
        return false;
    }
    return false;
}
