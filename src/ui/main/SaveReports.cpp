#include "ui/main/SaveReports.h"

#include "lang/Wording.h"
#include "seem/files/SaveNoticeTexts.h"
#include "seem/files/SeemFile.h"
#include "ui/AppContext.h"

void ReportJournalNotice(AppContext &ctx, const JournalNotice &notice)
{
    if (notice.kind == JournalNotice::Kind::None)
        return;
    LangWording words(ctx.lang);
    ctx.platform.messageBox(JournalNoticeText(words, notice),
                            notice.kind == JournalNotice::Kind::Kept ? MsgIcon::Warning : MsgIcon::Information,
                            MsgButtons::Ok);
}

void ReportSaveError(AppContext &ctx, const SaveError &error)
{
    LangWording words(ctx.lang);
    ctx.platform.messageBox(SaveFailureText(words, error),
                            error.number() == ErrNo::SaveDamaged ? MsgIcon::Critical : MsgIcon::Warning,
                            MsgButtons::Ok);
}
