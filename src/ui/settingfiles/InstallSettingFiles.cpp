#include "ui/settingfiles/InstallSettingFiles.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileComparison.h"
#include "seem/authoring/SettingFileInstall.h"
#include "ui/AppContext.h"
#include "ui/SettingFileReports.h"
#include "ui/editor/CompareSecTexts.h"

#include <QBuffer>
#include <QFileInfo>

namespace {

QString ErrorSuffix(int number)
{
    return QLatin1Char(' ') + QString::number(number) + QLatin1Char(')');
}

QString RefusalText(AppContext &ctx, const InstallCandidate &c)
{
    switch (c.refusal) {
    case InstallRefusal::None:
        break;
    case InstallRefusal::ReadFailed:
        return ctx.T(QStringLiteral("bvlSettingFiles.sReadFailed_V")) + ErrorSuffix(c.readError);
    case InstallRefusal::NotSettingFile:
        return ctx.T(QStringLiteral("bvlSettingFiles.sNotSettingFile_V"));
    case InstallRefusal::UnsupportedVersion:
        return ctx.T(QStringLiteral("bvlSettingFiles.sUnsupportedVersion_V")) + QStringLiteral(" V")
               + QString::number(c.fileVersion);
    case InstallRefusal::GroupPathTooLong:
        return ctx.T(QStringLiteral("bvlSettingFiles.sGroupPathTooLong_V"));
    case InstallRefusal::AlreadyThere:
        return ctx.T(QStringLiteral("bvlSettingFiles.sAlreadyThere_V"));
    }
    return QString();
}

QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// What an accepted candidate changes against the file of its name in the per-user folder,
// for the question before it is replaced: the comparison summarised, or that the two are
// equal, or that the installed file cannot be read.
QString NewVersionSummary(AppContext &ctx, const InstallCandidate &candidate)
{
    SettingFileHeader oldHeader, newHeader;
    SettingList oldSettings, newSettings;
    try {
        ReadSettingFile(candidate.target, oldHeader, oldSettings);
        // The new version's bytes were read and accepted already.
        QByteArray bytes = candidate.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ReadSettingStream(buffer, newHeader, newSettings);
    } catch (const BvlError &) {
        return ctx.T(QStringLiteral("bvlSettingFiles.sOldUnreadable_V"));
    }
    const SettingFileComparison c = CompareSettingFiles(oldHeader, oldSettings, newHeader, newSettings);
    if (c.equal())
        return ctx.T(QStringLiteral("bvlSettingFiles.sSameVersion_V"));
    return ctx.T(QStringLiteral("bvlSettingFiles.sNewVersion_V")) + QLatin1Char('\n')
           + ComparisonSummary(ctx, c, oldSettings, newSettings);
}

}   // namespace

int InstallSettingFilesAsked(AppContext &ctx, const QStringList &paths)
{
    const QString userFolder = ctx.platform.userFolder();
    QStringList refused;
    int installed = 0;
    for (const QString &path : paths) {
        const InstallCandidate candidate = PrepareInstall(path, userFolder);
        if (!candidate.accepted()) {
            // A file that ends too early is named in its own words, with where it ends.
            refused << (candidate.cutRecord >= 0 ? NotWholeSettingFileText(ctx, path, candidate.cutRecord,
                                                                           candidate.readError, candidate.cutCounted)
                                                 : Quoted(path) + QStringLiteral(": ") + RefusalText(ctx, candidate));
            continue;
        }
        if (candidate.replaces
            && ctx.platform.messageBox(ctx.T(QStringLiteral("bvlSettingFiles.sReplace?_M")) + QLatin1Char(' ')
                                           + Quoted(candidate.target) + QStringLiteral("\n\n")
                                           + NewVersionSummary(ctx, candidate),
                                       MsgIcon::Question, MsgButtons::YesNo, MsgDefault::No)
                   != MsgResult::Yes)
            continue;
        try {
            InstallSettingFile(candidate);
            ++installed;
        } catch (const BvlError &e) {
            refused << Quoted(path) + QStringLiteral(": ") + ctx.T(QStringLiteral("bvlSettingFiles.sWriteFailed_V"))
                           + ErrorSuffix(e.number());
        }
    }
    if (!refused.isEmpty())
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlSettingFiles.sNotInstalled_M")) + QLatin1Char('\n')
                                    + refused.join(QLatin1Char('\n')),
                                MsgIcon::Warning, MsgButtons::Ok);
    return installed;
}
