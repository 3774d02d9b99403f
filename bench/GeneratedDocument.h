#pragma once
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class MemoryByteStore;

// A setting file and the SEEM image it describes, made for the benchmark: every setting
// type, group trees of depth 2 and 3 with 20 to 60 settings per group, and in large files
// one group of 2,000 settings (which the window spreads over 100 pages).
struct GeneratedDocument
{
    int settingCount = 0;
    int groupCount = 0;
    int largestGroup = 0;
    QString largestGroupPath;   // the group path as the window keys its first page
    QString secPath;
    QString seemPath;   // named so that the automatic choice picks secPath
    qint64 secBytes = 0;
    qint64 seemBytes = 0;
};

// Writes "bench-<count>.sec" and "0032_<record>.seem" into folder with the program's own
// setting-file writer and value codec. Deterministic: the same count gives the same bytes.
// Throws BvlError when a file cannot be written.
GeneratedDocument GenerateDocument(const QString &folder, int settingCount, qint16 seemRec);
// The same settings in groups of 2,000 (one group for fewer): every group is as large as
// the largest of the other files, the worst case for showing a group's pages.
GeneratedDocument GenerateLargeGroupDocument(const QString &folder, int settingCount, qint16 seemRec);

// The value the generator gives setting s at position index (from 0); index + 1 gives
// each setting another value than the generator's.
void EncodeStartValue(MemoryByteStore &image, const SettingStruct &s, int index);

// The bench's own files: read whole, and written whole (replacing what was there). Both
// throw BvlError naming the file.
QByteArray FileBytes(const QString &path);
void WriteImage(const QString &path, const QByteArray &bytes);
