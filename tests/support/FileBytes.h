#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// The whole content of a file, or "<unreadable>" so that a comparison with expected bytes
// fails visibly when the file is gone.
inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
