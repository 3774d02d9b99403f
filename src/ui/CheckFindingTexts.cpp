#include "ui/CheckFindingTexts.h"

#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "ui/AppContext.h"

QString LocalFindingMessage(AppContext &ctx, const FitFinding &finding)
{
    LangWording words(ctx.lang);
    return FindingMessage(words, finding);
}

QString LocalFindingLine(AppContext &ctx, const SettingList &settings, const FitFinding &finding)
{
    LangWording words(ctx.lang);
    return FindingLine(words, settings, finding);
}

QString CheckCountsLine(AppContext &ctx, int errors, int warnings)
{
    LangWording words(ctx.lang);
    return CheckCountsLine(words, errors, warnings);
}

SettingFileVerdict LocalSettingFileVerdict(AppContext &ctx, const SettingFileHeader &header,
                                           const SettingList &settings, int codePage)
{
    LangWording words(ctx.lang);
    return VerdictOf(words, settings, CheckSettingFile(header, settings, codePage));
}
