#pragma once
#include <QByteArray>
#include <QFileInfo>
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
