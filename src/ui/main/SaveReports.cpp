#include "ui/main/SaveReports.h"

#include "seem/files/SeemFile.h"
#include "ui/AppContext.h"

namespace {

QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

QString JournalWhy(AppContext &ctx, const JournalNotice &notice)
{
    switch (notice.why) {
    case JournalNotice::Why::Damaged:
        return ctx.T(QStringLiteral("bvlMain.sJournalDamaged_V"));
    case JournalNotice::Why::OtherContents:
        return ctx.T(QStringLiteral("bvlMain.sJournalOtherContents_V"));
    case JournalNotice::Why::Busy:
        return ctx.T(QStringLiteral("bvlMain.sJournalBusy_V"));
    case JournalNotice::Why::NotItsFile:
        return ctx.T(QStringLiteral("bvlMain.sJournalNotItsFile_V")).arg(Quoted(notice.journalImageName));
    case JournalNotice::Why::CannotRead:
    case JournalNotice::Why::CannotLock:
    case JournalNotice::Why::CannotDelete:
        return notice.systemReason;
    case JournalNotice::Why::Untrusted:
        return ctx
            .T(notice.distrust == JournalNotice::Distrust::OtherOwner
                   ? QStringLiteral("bvlMain.sJournalUntrustedOwner_V")
               : notice.distrust == JournalNotice::Distrust::WritableByOthers
                   ? QStringLiteral("bvlMain.sJournalUntrustedMode_V")
                   : QStringLiteral("bvlMain.sJournalUntrustedLinks_V"))
            .arg(notice.journalOwner);
    case JournalNotice::Why::Missing:
        return ctx.T(QStringLiteral("bvlMain.sJournalMissing_V"));
    case JournalNotice::Why::CannotWrite:
        break;
    }
    return ctx.T(QStringLiteral("bvlMain.sJournalCannotWrite_V"))
           + (notice.systemReason.isEmpty() ? QString() : QStringLiteral(": ") + notice.systemReason);
}

}   // namespace

void ReportJournalNotice(AppContext &ctx, const JournalNotice &notice)
{
    switch (notice.kind) {
    case JournalNotice::Kind::None:
        return;
    case JournalNotice::Kind::RolledBack:
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlMain.sSaveRolledBack_M")).arg(Quoted(notice.imagePath))
                                    + (notice.undeletableReason.isEmpty()
                                           ? QString()
                                           : QStringLiteral("\n")
                                                 + ctx.T(QStringLiteral("bvlMain.sJournalUndeletable_M"))
                                                       .arg(Quoted(notice.journalPath), notice.undeletableReason)),
                                MsgIcon::Information, MsgButtons::Ok);
        return;
    case JournalNotice::Kind::Kept:
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlMain.sJournalKept_M"))
                                    .arg(Quoted(notice.imagePath), Quoted(notice.journalPath), JournalWhy(ctx, notice)),
                                MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
}

void ReportSaveError(AppContext &ctx, const SaveError &error)
{
    const QString file = Quoted(error.path);
    QString text;
    switch (error.number()) {
    case ErrNo::FileBusy:
        text = ctx.T(QStringLiteral("bvlMain.sSaveBusy_M")).arg(file);
        break;
    case ErrNo::LockUnavailable:
        text = ctx.T(QStringLiteral("bvlMain.sSaveLockFailed_M")).arg(file, error.reason);
        break;
    case ErrNo::FileReplaced:
        text = ctx.T(QStringLiteral("bvlMain.sSaveReplaced_M")).arg(file);
        break;
    case ErrNo::SavedFolderUnsynced:
        text = ctx.T(QStringLiteral("bvlMain.sSavedUnsynced_M")).arg(file, error.reason);
        break;
    case ErrNo::JournalUnwritable:
        text = ctx.T(QStringLiteral("bvlMain.sNoJournal_M")).arg(file, error.reason);
        break;
    case ErrNo::JournalTooLarge:
        text = ctx.T(QStringLiteral("bvlMain.sJournalTooLarge_M"))
                   .arg(file, QString::number(error.journalBytes), QString::number(error.journalLimit));
        break;
    case ErrNo::SaveDamaged:
        text = ctx.T(QStringLiteral("bvlMain.sSaveDamaged_M"))
                   .arg(file, error.reason, error.putBackReason, Quoted(error.journalPath));
        break;
    default:
        text = ctx.T(error.stage == SaveError::Stage::Flushing ? QStringLiteral("bvlMain.sSaveNotOnDisk_M")
                                                               : QStringLiteral("bvlMain.sSaveFailed_M"))
                   .arg(file, error.reason);
        break;
    }
    ctx.platform.messageBox(text, error.number() == ErrNo::SaveDamaged ? MsgIcon::Critical : MsgIcon::Warning,
                            MsgButtons::Ok);
}
