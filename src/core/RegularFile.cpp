#include "core/RegularFile.h"

#include "core/BvlError.h"

#include <QFile>
#include <QFileInfo>

QByteArray ReadRegularFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw BvlError(ErrNo::FileNotFound);
    if (!info.isFile())
        throw BvlError(ErrNo::NotRegularFile);
    if (info.size() > maxBytes)
        throw BvlError(ErrNo::OutOfMemory);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BvlError(ErrNo::PathFileAccess, file.errorString());
    // One more byte than allowed tells a file that grew since its size was asked.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw BvlError(ErrNo::PathFileAccess, file.errorString());
    if (bytes.size() > maxBytes)
        throw BvlError(ErrNo::OutOfMemory);
    return bytes;
}
