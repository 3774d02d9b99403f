#include "seem/authoring/ReferenceImages.h"

void ReferenceImageSet::setReference(const QString &path, const QByteArray &bytes)
{
    m_images.referencePath = path;
    m_images.reference = bytes;
    if (m_images.hasSecond() && m_images.second.size() != bytes.size()) {
        m_images.secondPath.clear();
        m_images.second.clear();
    }
    emit changed();
}

bool ReferenceImageSet::setSecond(const QString &path, const QByteArray &bytes)
{
    if (bytes.size() != m_images.reference.size())
        return false;
    m_images.secondPath = path;
    m_images.second = bytes;
    emit changed();
    return true;
}
