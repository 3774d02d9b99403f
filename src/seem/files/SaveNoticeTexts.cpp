#include "seem/files/SaveNoticeTexts.h"

#include "lang/Wording.h"
#include "seem/files/SeemFile.h"

namespace {

QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

QString JournalWhy(Wording &words, const JournalNotice &notice)
{
    switch (notice.why) {
    case JournalNotice::Why::Damaged:
        return words.text(QStringLiteral("bvlMain.sJournalDamaged_V"));
    case JournalNotice::Why::OtherContents:
        return words.text(QStringLiteral("bvlMain.sJournalOtherContents_V"));
    case JournalNotice::Why::Busy:
        return words.text(QStringLiteral("bvlMain.sJournalBusy_V"));
    case JournalNotice::Why::NotItsFile:
        return words.text(QStringLiteral("bvlMain.sJournalNotItsFile_V")).arg(Quoted(notice.journalImageName));
    case JournalNotice::Why::CannotRead:
    case JournalNotice::Why::CannotLock:
    case JournalNotice::Why::CannotDelete:
        return notice.systemReason;
    case JournalNotice::Why::Untrusted:
        return words
            .text(notice.distrust == JournalNotice::Distrust::OtherOwner
                      ? QStringLiteral("bvlMain.sJournalUntrustedOwner_V")
                  : notice.distrust == JournalNotice::Distrust::WritableByOthers
                      ? QStringLiteral("bvlMain.sJournalUntrustedMode_V")
                      : QStringLiteral("bvlMain.sJournalUntrustedLinks_V"))
            .arg(notice.journalOwner);
    case JournalNotice::Why::Missing:
        return words.text(QStringLiteral("bvlMain.sJournalMissing_V"));
    case JournalNotice::Why::CannotWrite:
        break;
    }
    return words.text(QStringLiteral("bvlMain.sJournalCannotWrite_V"))
           + (notice.systemReason.isEmpty() ? QString() : QStringLiteral(": ") + notice.systemReason);
}

}   // namespace

QString JournalNoticeText(Wording &words, const JournalNotice &notice)
{
    switch (notice.kind) {
    case JournalNotice::Kind::None:
        break;
    case JournalNotice::Kind::RolledBack:
        return words.text(QStringLiteral("bvlMain.sSaveRolledBack_M")).arg(Quoted(notice.imagePath))
               + (notice.undeletableReason.isEmpty()
                      ? QString()
                      : QStringLiteral("\n")
                            + words.text(QStringLiteral("bvlMain.sJournalUndeletable_M"))
                                  .arg(Quoted(notice.journalPath), notice.undeletableReason));
    case JournalNotice::Kind::Kept:
        return words.text(QStringLiteral("bvlMain.sJournalKept_M"))
            .arg(Quoted(notice.imagePath), Quoted(notice.journalPath), JournalWhy(words, notice));
    }
    return QString();
}

QString SaveFailureText(Wording &words, const SaveError &error)
{
    const QString file = Quoted(error.path);
    switch (error.number()) {
    case ErrNo::FileBusy:
        return words.text(QStringLiteral("bvlMain.sSaveBusy_M")).arg(file);
    case ErrNo::LockUnavailable:
        return words.text(QStringLiteral("bvlMain.sSaveLockFailed_M")).arg(file, error.reason);
    case ErrNo::FileReplaced:
        return words.text(QStringLiteral("bvlMain.sSaveReplaced_M")).arg(file);
    case ErrNo::SavedFolderUnsynced:
        return words.text(QStringLiteral("bvlMain.sSavedUnsynced_M")).arg(file, error.reason);
    case ErrNo::JournalUnwritable:
        return words.text(QStringLiteral("bvlMain.sNoJournal_M")).arg(file, error.reason);
    case ErrNo::JournalTooLarge:
        return words.text(QStringLiteral("bvlMain.sJournalTooLarge_M"))
            .arg(file, QString::number(error.journalBytes), QString::number(error.journalLimit));
    case ErrNo::SaveDamaged:
        // Without a journal nothing puts the file back at the next open.
        if (error.journalPath.isEmpty())
            return words.text(QStringLiteral("bvlMain.sSaveDamagedNoJournal_M"))
                .arg(file, error.reason, error.putBackReason);
        return words.text(QStringLiteral("bvlMain.sSaveDamaged_M"))
            .arg(file, error.reason, error.putBackReason, Quoted(error.journalPath));
    default:
        break;
    }
    return words
        .text(error.stage == SaveError::Stage::Flushing ? QStringLiteral("bvlMain.sSaveNotOnDisk_M")
                                                        : QStringLiteral("bvlMain.sSaveFailed_M"))
        .arg(file, error.reason);
}
