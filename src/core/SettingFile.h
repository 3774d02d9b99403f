#pragma once
#include "core/BvlError.h"
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// The *.sec byte format: little-endian integers, texts as a 2-byte byte count plus
// bytes in the current code page (core/CodePage.h), the 3-byte magic "sec", then SettingCount records.
//
// All readers validate lengths against the input before they allocate, and throw
// BvlError on failure: 53 missing file, 75 unreadable (with the system's reason),
// 620 not a regular file, 630 a file larger than MaxSettingFileBytes, 62 input ends
// early, 7 a SettingCount below 1 or larger than the rest of the input could hold.
// Files are read only when they are regular files, opened without blocking.

// What every setting file begins with, and the one format version read and written.
namespace SettingFileFormat {
inline const QString Magic = QStringLiteral("sec");
constexpr quint8 Version = 3;
// The most bytes a text holds: the 2-byte count in front of it.
constexpr int MaxTextBytes = 65535;
}   // namespace SettingFileFormat

// A setting file whose bytes end before its last record: thrown by the readers with the
// record the bytes end in (1-based; 0 for the header) and the number of the failure, 62
// for a field that runs past the end, 7 for a count the rest of the file cannot hold.
// A file cut where a record ends has counted set: its bytes end after record() whole
// records of the counted ones its header promises.
class SettingFileCutError : public BvlError
{
public:
    SettingFileCutError(int number, int record, const QString &detail, int counted = 0)
        : BvlError(number, detail), m_record(record), m_counted(counted)
    {}
    int record() const { return m_record; }
    // The header's count when the bytes end right after record(), else 0.
    int counted() const { return m_counted; }

private:
    int m_record;
    int m_counted;
};

// Reads header and records from a device. Throws; the output is only assigned on success.
void ReadSettingStream(QIODevice &in, SettingFileHeader &header, SettingList &settings);
void ReadSettingHeaderStream(QIODevice &in, SettingFileHeader &header);

// Reads the file at path. Throws BvlError; header and settings are untouched on failure.
// trailing, when given, receives the bytes after the last record, which no reader uses
// but a writer of the same file gives back.
void ReadSettingFile(const QString &path, SettingFileHeader &header, SettingList &settings,
                     QByteArray *trailing = nullptr);

// Reads only the header; returns false on any failure and reports nothing.
bool ReadSettingHeader(const QString &path, SettingFileHeader &header);

// Encodes header then every setting, exactly as stored, with the header's fields as they
// are (SettingCount included). Throws 13 for a text the code page cannot hold and 6 for a
// text longer than 65535 bytes or a Magic that is not 3 bytes.
QByteArray EncodeSettingFile(const SettingFileHeader &header, const SettingList &settings);

// Encodes in memory, then replaces the file at path atomically. Throws BvlError
// (encoding failures as above, 75 when the file cannot be written or path is a FIFO,
// device or folder); nothing is written on failure.
// trailing follows the last record, as it followed it in the file read.
void WriteSettingFile(const QString &path, const SettingFileHeader &header, const SettingList &settings,
                      const QByteArray &trailing = QByteArray());

// True when the file at path begins with the magic "sec". A file that does not is no
// setting file at all, whatever its later bytes would read as; false also when it cannot
// be read or is no regular file.
bool HasSettingFileMagic(const QString &path);

// Group paths beyond these limits come only from damaged or hostile files, and would cost
// the group tree time and memory out of all proportion to the file.
constexpr int MaxGroupLevels = 64;
constexpr int MaxGroupPathLength = 4096;

// Number (1-based) of the first setting whose group path has more than MaxGroupLevels
// levels or more than MaxGroupPathLength characters; 0 when every path is within them.
int FirstOversizedGroupPath(const SettingList &settings);

// Format check of a header that was read: the magic must be "sec" exactly, then the
// format version must be 3.
enum class HeaderCheck {
    Accepted,
    UnknownFile,
    UnsupportedVersion
};
HeaderCheck CheckSettingHeader(const SettingFileHeader &header);

// Smallest number of bytes one record takes on disk (five empty texts).
constexpr int MinRecordSize = 24;
