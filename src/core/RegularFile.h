#pragma once
#include <QByteArray>
#include <QString>

// Reads the whole file at path, which must be a regular file (after links) of at most
// maxBytes: a FIFO would block the program until some writer came, a device may never
// end. Throws BvlError: 53 missing, 620 not a regular file, 7 larger than maxBytes,
// 75 unreadable.
QByteArray ReadRegularFile(const QString &path, qint64 maxBytes);
