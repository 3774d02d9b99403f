#include "seem/authoring/ReferenceImages.h"

#include "seem/survey/ImageSurvey.h"

void ReferenceImageSet::setReference(const QString &path, const QByteArray &bytes)
{
    m_images.referencePath = path;
    m_images.reference = bytes;
    if (m_images.hasSecond() && m_images.second.size() != bytes.size()) {
        m_images.secondPath.clear();
        m_images.second.clear();
    }
    m_images.survey.reset();
    m_images.proposer.reset();
    emit changed();
}

bool ReferenceImageSet::setSecond(const QString &path, const QByteArray &bytes)
{
    if (bytes.size() != m_images.reference.size())
        return false;
    m_images.secondPath = path;
    m_images.second = bytes;
    // The map compares with what was chosen last.
    m_images.survey.reset();
    m_images.proposer.reset();
    emit changed();
    return true;
}

bool ReferenceImageSet::setSurvey(std::shared_ptr<const ImageSurvey> survey,
                                  std::shared_ptr<const SurveyProposer> proposer)
{
    if (!survey || survey->imageSize() != m_images.reference.size())
        return false;
    m_images.secondPath.clear();
    m_images.second.clear();
    m_images.survey = std::move(survey);
    m_images.proposer = std::move(proposer);
    emit changed();
    return true;
}
