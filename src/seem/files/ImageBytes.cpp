#include "seem/files/ImageBytes.h"

#include "core/BvlError.h"
#include "seem/files/SeemFile.h"

#include <new>

QByteArray ReadWholeImage(const QString &path)
{
    SeemFile file;
    file.openReadOnly(path);
    const qint64 size = file.size();
    if (size > MaxWholeImageBytes)
        throw BvlError(ErrNo::OutOfMemory, QStringLiteral("the image is larger than %1 bytes").arg(MaxWholeImageBytes));
    try {
        const QByteArray bytes = file.read(0, size);
        if (bytes.size() != size)
            throw BvlError(ErrNo::PathFileAccess, QStringLiteral("the image was shortened while it was read"));
        return bytes;
    } catch (const std::bad_alloc &) {
        throw BvlError(ErrNo::OutOfMemory);
    }
}
