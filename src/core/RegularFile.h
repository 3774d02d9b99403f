#pragma once
#include <QByteArray>
#include <QString>

// Reading files that come from the user or the program folder, where a name may lead to
// a FIFO (which blocks a reader until someone writes), a device (which never ends), a
// folder or a socket, directly or through a link. A RegularFile is opened without
// blocking and accepted only when it is a regular file after links; its size is known
// before anything is read, so a caller refuses an oversized file before allocating.
//
// Failures throw BvlError naming the reason: 53 missing, 620 not a regular file
// ("is a FIFO"), 630 larger than the caller allows, 75 any other failure with the
// system's reason ("Permission denied", "Input/output error").

// Limits of the files the program reads whole, far above any real file.
constexpr qint64 MaxSettingFileBytes = 256LL * 1024 * 1024;
constexpr qint64 MaxLanguageFileBytes = 4LL * 1024 * 1024;
// A setting file's JSON is refused by export above this too (SettingFileToJson), so that
// import takes back all export writes.
constexpr qint64 MaxJsonFileBytes = 64LL * 1024 * 1024;

class RegularFile
{
public:
    explicit RegularFile(const QString &path);
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    const QString &path() const { return m_path; }
    // The size the file had when it was opened.
    qint64 size() const { return m_size; }

    // The next count bytes at most, fewer at the end of the file.
    QByteArray read(qint64 count);
    // The whole file; 630 when it is larger than maxBytes.
    QByteArray readAll(qint64 maxBytes);

private:
    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
};

// The whole regular file at path, at most maxBytes long.
QByteArray ReadRegularFile(const QString &path, qint64 maxBytes);

// Throws 620 when something that is not a regular file (after links) exists at path: a
// writer that replaced it would turn a FIFO or /dev/null into a plain file.
void RequireRegularTarget(const QString &path);

// True when both paths name one existing file (same device and inode, links followed).
bool IsSameFile(const QString &first, const QString &second);

// Reads count bytes at offset of an open file into out, again after an interruption or a
// short read, stopping early only at the end of the file. 0 or the errno of the failure;
// done tells how many bytes arrived either way.
int ReadAt(int fd, char *out, qint64 count, qint64 offset, qint64 &done);

// The system's reason for errno value error, such as "No space left on device".
QString SystemReason(int error);
