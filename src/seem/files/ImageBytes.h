#pragma once
#include <QByteArray>
#include <QString>

// The whole of a SEEM image in memory, for the views that look at every byte (the byte
// map, proposals from differences). Read only, through the same checks as the open SEEM
// file: a regular file, opened without blocking.
//
// Throws BvlError 53 (no such file), 620 (not a regular file), 75 (cannot be read) and 7
// for an image larger than MaxWholeImageBytes, which no phone record comes near.
inline constexpr qint64 MaxWholeImageBytes = qint64(256) * 1024 * 1024;
QByteArray ReadWholeImage(const QString &path);
