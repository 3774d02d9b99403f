#include "seem/files/SeemCopy.h"

#include "core/OutputTarget.h"
#include "seem/files/SeemFile.h"

#include <new>

void CopySeemImage(ByteStore &source, const QString &targetPath, const QStringList &inputs)
{
    CheckOutputTarget(targetPath, inputs);
    const qint64 size = source.size();
    QByteArray bytes;
    try {
        bytes = source.read(0, size);
    } catch (const std::bad_alloc &) {
        throw BvlError(ErrNo::OutOfMemory);
    }
    if (bytes.size() != size)
        throw BvlError(ErrNo::InputPastEnd);   // the file shrank behind the program's back
    WriteOutputFile(targetPath, bytes, inputs);
}

void CopySeemImage(SeemFile &source, const QString &targetPath, const QStringList &otherInputs)
{
    CopySeemImage(static_cast<ByteStore &>(source), targetPath, QStringList{source.path()} + otherInputs);
}
