#include "seem/SaveJournal.h"

#include "core/FileNames.h"
#include "seem/FileChanges.h"
#include "seem/FileLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Magic("BVLJRNL\x01", 8);
constexpr int HashSize = 32;
// Far above the journal of any real image; a bigger file is not read.
constexpr qint64 MaxJournalSize = 256 * 1024 * 1024;
// How long opening waits for a save of another program to end before giving up.
constexpr int BusyWaitMs = 2000;

QString PartPathOf(const QString &imagePath)
{
    return JournalPathOf(imagePath) + QStringLiteral(".part");
}

QByteArray Hash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray OriginalsHash(const QVector<JournalRun> &runs)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const JournalRun &run : runs)
        hash.addData(run.before);
    return hash.result();
}

template<typename T> void Append(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

QByteArray Encode(qint64 imageSize, const QVector<JournalRun> &runs)
{
    QByteArray out = Magic;
    Append<quint64>(out, quint64(imageSize));
    out += OriginalsHash(runs);
    Append<quint32>(out, quint32(runs.size()));
    for (const JournalRun &run : runs) {
        Append<quint64>(out, quint64(run.offset));
        Append<quint32>(out, quint32(run.before.size()));
        out += run.before;
        out += run.after;
    }
    out += Hash(out);
    return out;
}

// Reads what Encode wrote, checking every length against what is left; false for a
// journal that is cut short, damaged or not a journal.
class JournalReader
{
public:
    explicit JournalReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool decode(qint64 &imageSize, QVector<JournalRun> &runs)
    {
        if (m_bytes.size() < Magic.size() + HashSize || !m_bytes.startsWith(Magic))
            return false;
        const QByteArray body = m_bytes.left(m_bytes.size() - HashSize);
        if (Hash(body) != m_bytes.right(HashSize))
            return false;
        m_end = body.size();
        m_at = Magic.size();
        quint64 size = 0;
        quint32 count = 0;
        QByteArray identity;
        if (!take(size) || !takeBytes(HashSize, identity) || !take(count))
            return false;
        imageSize = qint64(size);
        qint64 previousEnd = 0;
        for (quint32 i = 0; i < count; ++i) {
            quint64 offset = 0;
            quint32 length = 0;
            JournalRun run;
            if (!take(offset) || !take(length) || !takeBytes(length, run.before) || !takeBytes(length, run.after))
                return false;
            // Runs ascend, do not overlap and lie inside the image.
            if (offset < quint64(previousEnd) || offset > size || length > size - offset)
                return false;
            run.offset = qint64(offset);
            previousEnd = run.offset + length;
            runs.append(run);
        }
        return m_at == m_end && OriginalsHash(runs) == identity;
    }

private:
    template<typename T> bool take(T &value)
    {
        if (m_end - m_at < qint64(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += sizeof(T);
        return true;
    }
    bool takeBytes(qint64 count, QByteArray &bytes)
    {
        if (m_end - m_at < count)
            return false;
        bytes = m_bytes.mid(m_at, count);
        m_at += count;
        return true;
    }

    const QByteArray &m_bytes;
    qint64 m_at = 0;
    qint64 m_end = 0;
};

// The journal's bytes: a regular file (never through a link), of a size a journal can
// have; false otherwise.
bool ReadJournalFile(const QString &path, QByteArray &bytes)
{
    const int fd = ::open(NativeFileName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxJournalSize;
    if (ok) {
        bytes.resize(qsizetype(st.st_size));
        qint64 done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += qMax<ssize_t>(n, 0);
        }
    }
    ::close(fd);
    return ok;
}

bool ReadAt(int fd, qint64 offset, QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Every journaled byte holds its old or its new value: the image is the one the journal
// was written for, stopped somewhere in its save.
bool FitsImage(int fd, qint64 imageSize, const QVector<JournalRun> &runs)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || st.st_size != imageSize)
        return false;
    for (const JournalRun &run : runs) {
        QByteArray now(run.before.size(), Qt::Uninitialized);
        if (!ReadAt(fd, run.offset, now))
            return false;
        for (qsizetype i = 0; i < now.size(); ++i)
            if (now.at(i) != run.before.at(i) && now.at(i) != run.after.at(i))
                return false;
    }
    return true;
}

bool Exists(const QString &path)
{
    struct stat st;
    return ::lstat(NativeFileName(path).constData(), &st) == 0;
}

// A temporary journal is left only by a save that stopped before its image changed:
// nothing needs it. Removed when no save is running.
void RemoveStalePart(const QString &imagePath, int imageFd)
{
    const QString part = PartPathOf(imagePath);
    if (!Exists(part))
        return;
    const FileLock lock(imageFd);
    if (lock.held())
        ::unlink(NativeFileName(part).constData());
}

} // namespace

QString JournalPathOf(const QString &imagePath)
{
    // Beside the file itself, not beside a link to it: every name of the file finds it.
    const QFileInfo named(imagePath);
    const QString canonical = named.canonicalFilePath();
    const QFileInfo image(canonical.isEmpty() ? imagePath : canonical);
    return image.dir().filePath(QLatin1Char('.') + image.fileName() + QStringLiteral(".bvl-journal"));
}

int WriteJournal(const QString &imagePath, qint64 imageSize, const QVector<JournalRun> &runs)
{
    const QString part = PartPathOf(imagePath);
    ::unlink(NativeFileName(part).constData());   // left by a save that stopped early
    int fd = -1;
    int error = FileChanges::CreateExclusive(part, fd);
    if (error == 0)
        error = FileChanges::WriteAll(fd, Encode(imageSize, runs));
    if (error == 0)
        error = FileChanges::Sync(fd);
    if (fd >= 0)
        ::close(fd);
    if (error == 0)
        error = FileChanges::Rename(part, JournalPathOf(imagePath));
    if (error == 0)
        error = FileChanges::SyncFolderOf(part);
    if (error != 0) {
        // Nothing of the image has changed yet: no journal at all is the right state.
        ::unlink(NativeFileName(part).constData());
        ::unlink(NativeFileName(JournalPathOf(imagePath)).constData());
    }
    return error;
}

int RemoveJournal(const QString &imagePath)
{
    const QString journal = JournalPathOf(imagePath);
    const int error = FileChanges::Remove(journal);
    return error != 0 ? error : FileChanges::SyncFolderOf(journal);
}

JournalNotice RecoverInterruptedSave(const QString &imagePath)
{
    JournalNotice notice;
    notice.imagePath = imagePath;
    notice.journalPath = JournalPathOf(imagePath);
    const bool journal = Exists(notice.journalPath);
    if (!journal && !Exists(PartPathOf(imagePath)))
        return notice;

    const auto keep = [&](JournalNotice::Why why, int error = 0) {
        notice.kind = JournalNotice::Kind::Kept;
        notice.why = why;
        if (error != 0)
            notice.systemReason = qt_error_string(error);
        return notice;
    };
    const int fd = ::open(NativeFileName(imagePath).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return journal ? keep(JournalNotice::Why::CannotWrite, errno) : notice;
    struct Closer { int fd; ~Closer() { ::close(fd); } } closer{fd};
    if (!journal) {
        RemoveStalePart(imagePath, fd);
        return notice;
    }

    // A save of another program may be running: its journal is not ours to roll back.
    const FileLock lock(fd, BusyWaitMs);
    if (!lock.held())
        return keep(JournalNotice::Why::Busy, lock.error() == EWOULDBLOCK ? 0 : lock.error());
    if (!Exists(notice.journalPath))
        return notice;   // that save has just ended
    ::unlink(NativeFileName(PartPathOf(imagePath)).constData());

    QByteArray bytes;
    qint64 imageSize = 0;
    QVector<JournalRun> runs;
    if (!ReadJournalFile(notice.journalPath, bytes) || !JournalReader(bytes).decode(imageSize, runs))
        return keep(JournalNotice::Why::Damaged);
    if (!FitsImage(fd, imageSize, runs))
        return keep(JournalNotice::Why::OtherContents);

    int error = 0;
    for (const JournalRun &run : runs)
        if (error == 0)
            error = FileChanges::WriteAt(fd, run.before.constData(), run.before.size(), run.offset);
    if (error == 0)
        error = FileChanges::Sync(fd);
    if (error != 0)
        return keep(JournalNotice::Why::CannotWrite, error);   // the journal stays for the next try
    // The file holds the journal's original bytes again: the journal has done its work.
    // Should deleting it fail, the next open puts back the same bytes once more.
    RemoveJournal(imagePath);
    notice.kind = JournalNotice::Kind::RolledBack;
    return notice;
}
