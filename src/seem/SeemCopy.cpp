#include "seem/SeemCopy.h"

#include <QSaveFile>

namespace {
[[noreturn]] void Fail(const QSaveFile &file)
{
    throw BvlError(ErrNo::PathFileAccess, file.fileName() + QStringLiteral(": ") + file.errorString());
}
}

void CopySeemImage(ByteStore &source, const QString &targetPath)
{
    const QByteArray bytes = source.read(0, source.size());
    if (bytes.size() != source.size())
        throw BvlError(ErrNo::InputPastEnd);
    QSaveFile file(targetPath);
    // Unbuffered: a failed write is seen here, and commit() never follows a lost one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Fail(file);
    if (file.write(bytes) != bytes.size())
        Fail(file);
    if (!file.commit())
        Fail(file);
}
