#include "seem/survey/SurveyLeftOut.h"

#include "lang/Wording.h"
#include "seem/authoring/RecordMatch.h"

QString SurveyLeftOutText(Wording &words, const ImageSurvey &survey, const SurveyImage &image,
                          const QString &unreadable)
{
    switch (image.status) {
    case SurveyImage::Status::Unreadable:
        return unreadable;
    case SurveyImage::Status::OtherSize:
        return words.text(QStringLiteral("bvlSurvey.sOtherSize_V"))
            .arg(QString::number(image.size), QString::number(survey.imageSize()));
    case SurveyImage::Status::OtherRecord:
        return words.text(QStringLiteral("bvlSurvey.sOtherRecord_V"))
            .arg(RecordNumbersText(image.named.seemNr, image.named.seemRec),
                 RecordNumbersText(survey.header().SEEMNr, survey.header().SEEMRec));
    case SurveyImage::Status::Used:
        break;
    }
    return QString();
}
