#include "ui/SettingFileReports.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "ui/AppContext.h"

#include <QFileInfo>

namespace {

// A read that failed on the file's contents, not on reaching the file.
bool failedOnContents(const BvlError &e)
{
    return e.number() == ErrNo::InputPastEnd || e.number() == ErrNo::OutOfMemory;
}

// What the user can do something about, beside the number: the kind of file or its size
// in the user's language, the system's own reason for a file it would not hand over.
QString readFailureReason(AppContext &ctx, const BvlError &e)
{
    switch (e.number()) {
    case ErrNo::NotRegularFile:
        return ctx.T(QStringLiteral("bvlEditSetting.NotRegularFile_M"));
    case ErrNo::FileTooLarge:
        return ctx.T(QStringLiteral("bvlEditSetting.FileTooLarge_M"));
    case ErrNo::PathFileAccess:
        return QString::fromUtf8(e.what());
    default:
        return QString();
    }
}

void showRefusal(AppContext &ctx, const char *key)
{
    ctx.platform.messageBox(ctx.T(QString::fromLatin1(key)), MsgIcon::Critical, MsgButtons::Ok);
}

}   // namespace

SettingFileOpen OpenSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header,
                                        SettingList &settings, QByteArray *trailing)
{
    SettingFileHeader newHeader;
    SettingList newSettings;
    QByteArray newTrailing;
    try {
        ReadSettingFile(path, newHeader, newSettings, &newTrailing);
    } catch (const BvlError &e) {
        // A language file renamed .sec fails on counts that mean nothing; what matters to
        // the user is that it is no setting file.
        if (failedOnContents(e) && !HasSettingFileMagic(path)) {
            showRefusal(ctx, "bvlEditSetting.UnknownFile_M");
            return SettingFileOpen::Refused;
        }
        if (const auto *cut = dynamic_cast<const SettingFileCutError *>(&e)) {
            ctx.platform.messageBox(NotWholeSettingFileText(ctx, path, cut->record(), cut->number(), cut->counted()),
                                    MsgIcon::Critical, MsgButtons::Ok);
            return SettingFileOpen::Refused;
        }
        const QString reason = readFailureReason(ctx, e);
        ctx.platform.messageBox(QStringLiteral("ReadSettingFile(") + path + QStringLiteral(") ERR ")
                                    + QString::number(e.number())
                                    + (reason.isEmpty() ? QString() : QLatin1Char('\n') + reason),
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
    if (trailing)
        *trailing = std::move(newTrailing);
    return SettingFileOpen::Accepted;
}

bool ReadSettingFileReported(AppContext &ctx, const QString &path, SettingFileHeader &header, SettingList &settings)
{
    return OpenSettingFileReported(ctx, path, header, settings) == SettingFileOpen::Accepted;
}

QString NotWholeSettingFileText(AppContext &ctx, const QString &path, int record, int number, int counted)
{
    const QString name = QFileInfo(path).fileName();
    QString text;
    if (counted > 0)
        text = ctx.T(QStringLiteral("bvlEditSetting.NotWholeAfterRecord_M"))
                   .arg(name, QString::number(record), QString::number(counted));
    else if (record > 0)
        text = ctx.T(QStringLiteral("bvlEditSetting.NotWholeFile_M")).arg(name, QString::number(record));
    else
        text = ctx.T(QStringLiteral("bvlEditSetting.NotWholeHeader_M")).arg(name);
    return text + QStringLiteral(" (ERR ") + QString::number(number) + QLatin1Char(')');
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
