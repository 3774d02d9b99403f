#include "seem/SeemCopy.h"

#include <QSaveFile>

namespace {
constexpr qint64 CopyPieceSize = 256 * 1024;

[[noreturn]] void Fail(const QSaveFile &file)
{
    throw BvlError(ErrNo::PathFileAccess, file.fileName() + QStringLiteral(": ") + file.errorString());
}
}

void CopySeemImage(ByteStore &source, const QString &targetPath)
{
    QSaveFile file(targetPath);
    // Unbuffered: a failed write is seen here, and commit() never follows a lost one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Fail(file);
    // In pieces, so that memory never follows the size of whatever file was opened.
    const qint64 size = source.size();
    qint64 copied = 0;
    while (copied < size) {
        const QByteArray piece = source.read(copied, qMin(CopyPieceSize, size - copied));
        if (piece.isEmpty())
            throw BvlError(ErrNo::InputPastEnd);   // the file shrank behind the program's back
        if (file.write(piece) != piece.size())
            Fail(file);
        copied += piece.size();
    }
    if (!file.commit())
        Fail(file);
}
