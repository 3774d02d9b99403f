#pragma once
#include <QByteArray>
#include <QFileInfo>
#include <QObject>
#include <QString>

#include <memory>

class ImageSurvey;
class SurveyProposer;

// The images the setting editor reads bytes from while a setting file is written: the
// reference image, and a second image of the same record read after changing one option
// on the phone. Held whole in memory and never written.
struct ReferenceImages
{
    QString referencePath;
    QByteArray reference;
    QString secondPath;
    QByteArray second;
    // Many images of the record surveyed with the reference, when the author chose some:
    // what varies over them, and the tallies their drafts are made from.
    std::shared_ptr<const ImageSurvey> survey;
    std::shared_ptr<const SurveyProposer> proposer;

    bool hasReference() const { return !referencePath.isEmpty(); }
    bool hasSecond() const { return !secondPath.isEmpty(); }
    bool hasSurvey() const { return survey != nullptr; }
    QString referenceName() const { return QFileInfo(referencePath).fileName(); }
    QString secondName() const { return QFileInfo(secondPath).fileName(); }
};

// The images as the editor opened them, telling the views that read them (the byte map,
// the setting dialog's preview) when they change.
class ReferenceImageSet : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const ReferenceImages &images() const { return m_images; }
    // A second image compares only with a reference of its own size: another one goes, and
    // so does a survey, which was read with the reference.
    void setReference(const QString &path, const QByteArray &bytes);
    // False, and nothing changes, for an image of another size than the reference; a survey
    // goes, as the second image goes when a survey comes.
    bool setSecond(const QString &path, const QByteArray &bytes);
    // False, and nothing changes, for a survey of images of another size than the reference.
    bool setSurvey(std::shared_ptr<const ImageSurvey> survey, std::shared_ptr<const SurveyProposer> proposer);

signals:
    void changed();

private:
    ReferenceImages m_images;
};
