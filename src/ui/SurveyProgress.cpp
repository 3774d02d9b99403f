#include "ui/SurveyProgress.h"

#include "core/BvlError.h"
#include "lang/Wording.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/survey/SurveyLeftOut.h"
#include "ui/AppContext.h"

#include <QProgressDialog>

namespace {
// Why the survey left an image out, in the user's language.
QString LeftOutText(AppContext &ctx, const ImageSurvey &survey, const SurveyImage &image)
{
    LangWording words(ctx.lang);
    return SurveyLeftOutText(words, survey, image,
                             ctx.T(QStringLiteral("bvlSurvey.sUnreadable_V")) + QStringLiteral(" (ERR ")
                                 + QString::number(image.errorNumber) + QStringLiteral("): ") + image.detail);
}
}   // namespace

bool RunSurvey(AppContext &ctx, QWidget *parent, ImageSurvey &survey, const QStringList &paths, const QString &title,
               const QString &command)
{
    QProgressDialog progress(ctx.T(QStringLiteral("bvlSurvey.sReading_V")), ctx.T(QStringLiteral("bvlSurvey.cmCancel")),
                             0, int(paths.size()), parent);
    progress.setWindowTitle(ctx.Title(title));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);   // a few images read in a moment show nothing
    QStringList leftOut;
    try {
        for (int i = 0; i < paths.size(); ++i) {
            if (progress.wasCanceled())
                return false;
            progress.setValue(i);
            const SurveyImage &image = survey.add(paths.at(i));
            if (!image.used())
                leftOut << QLatin1Char('"') + image.path + QStringLiteral("\": ") + LeftOutText(ctx, survey, image);
        }
    } catch (const BvlError &e) {
        ctx.platform.messageBox(command + QStringLiteral(" ERR ") + QString::number(e.number()), MsgIcon::Critical,
                                MsgButtons::Ok);
        return false;
    }
    progress.reset();
    if (!leftOut.isEmpty())
        ctx.platform.messageBox(ctx.T(QStringLiteral("bvlSurvey.sLeftOut_M")) + QLatin1Char('\n')
                                    + leftOut.join(QLatin1Char('\n')),
                                MsgIcon::Warning, MsgButtons::Ok);
    return true;
}
