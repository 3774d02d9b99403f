#pragma once
#include <QByteArray>
#include <QFileInfo>
#include <QObject>
#include <QString>

// The images the setting editor reads bytes from while a setting file is written: the
// reference image, and a second image of the same record read after changing one option
// on the phone. Held whole in memory and never written.
struct ReferenceImages
{
    QString referencePath;
    QByteArray reference;
    QString secondPath;
    QByteArray second;

    bool hasReference() const { return !referencePath.isEmpty(); }
    bool hasSecond() const { return !secondPath.isEmpty(); }
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
    // A second image compares only with a reference of its own size: another one goes.
    void setReference(const QString &path, const QByteArray &bytes);
    // False, and nothing changes, for an image of another size than the reference.
    bool setSecond(const QString &path, const QByteArray &bytes);

signals:
    void changed();

private:
    ReferenceImages m_images;
};
