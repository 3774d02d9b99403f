#include "ui/SettingFileReports.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "ui/AppContext.h"

bool ReadSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                             SettingList &settings)
{
    try {
        ReadSettingFile(path, header, settings);
        return true;
    } catch (const BvlError &e) {
        ctx.platform.messageBox(QStringLiteral("ReadSettingFile(") + path + QStringLiteral(") ERR ")
                                    + QString::number(e.number()),
                                MsgIcon::None, MsgButtons::Ok);
        return false;
    }
}

bool CheckSettingHeaderReported(AppContext &ctx, const SettingFileHeader &header)
{
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::Accepted:
        return true;
    case HeaderCheck::UnknownFile:
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlEditSetting.UnknownFile_M")), MsgIcon::Critical,
                                MsgButtons::Ok);
        return false;
    case HeaderCheck::UnsupportedVersion:
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlEditSetting.UnsupportedVer_M")) + QStringLiteral(" V")
                                    + QString::number(header.FileVersion),
                                MsgIcon::Critical, MsgButtons::Ok);
        return false;
    }
    return false;
}
