#include "seem/SaveJournal.h"

#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "seem/FileChanges.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Magic("BVLJRNL\x02", 8);
const QByteArray JournalPrefix(".bvl-journal-");
const QByteArray PartSuffix(".part");
constexpr int HashSize = 32;
// Far above the journal of any real image; a bigger file is not read.
constexpr qint64 MaxJournalSize = 256 * 1024 * 1024;

QByteArray Hash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QString Named(const QByteArray &native)
{
    return FileNameFromNative(native);
}

QByteArray PartPathOf(const QByteArray &journalPath)
{
    return journalPath + PartSuffix;
}

QByteArray LastComponent(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

template<typename T> void Append(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

QByteArray Encode(const JournalImage &image, const QVector<JournalRun> &runs)
{
    QByteArray out = Magic;
    Append<quint64>(out, image.device);
    Append<quint64>(out, image.inode);
    Append<quint64>(out, quint64(image.size));
    out += image.beforeHash;
    out += image.afterHash;
    Append<quint32>(out, quint32(image.name.size()));
    out += image.name;
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

    bool decode(JournalImage &image, QVector<JournalRun> &runs)
    {
        if (m_bytes.size() < Magic.size() + HashSize || !m_bytes.startsWith(Magic))
            return false;
        const QByteArray body = m_bytes.left(m_bytes.size() - HashSize);
        if (Hash(body) != m_bytes.right(HashSize))
            return false;
        m_end = body.size();
        m_at = Magic.size();
        quint64 size = 0;
        quint32 nameLength = 0;
        quint32 count = 0;
        if (!take(image.device) || !take(image.inode) || !take(size) || !takeBytes(HashSize, image.beforeHash)
            || !takeBytes(HashSize, image.afterHash) || !take(nameLength) || !takeBytes(nameLength, image.name)
            || !take(count))
            return false;
        image.size = qint64(size);
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
        return m_at == m_end;
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
// have. 0, or the errno of the failure (EINVAL for a file that is no journal).
int ReadJournalFile(const QByteArray &path, QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st;
    int error = 0;
    if (::fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode) || st.st_size > MaxJournalSize)
        error = EINVAL;
    if (error == 0) {
        bytes.resize(qsizetype(st.st_size));
        qint64 done = 0;
        while (error == 0 && done < bytes.size()) {
            const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
            if (n < 0 && errno == EINTR)
                continue;
            error = n < 0 ? errno : (n == 0 ? EINVAL : 0);
            done += qMax<ssize_t>(n, 0);
        }
    }
    ::close(fd);
    return error;
}

bool ReadWhole(int fd, qint64 size, QByteArray &bytes)
{
    bytes.resize(qsizetype(size));
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The file behind fd is the one the journal was written for, stopped somewhere in its
// save: same device and inode and size, every journaled byte holding its old or its new
// value, and the whole image with the old values put back hashing to the state before.
bool IsItsImage(int fd, const JournalImage &journal, const QVector<JournalRun> &runs, QByteArray &putBack)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || quint64(st.st_dev) != journal.device || quint64(st.st_ino) != journal.inode
        || st.st_size != journal.size || journal.size > MaxJournalSize)
        return false;
    QByteArray now;
    if (!ReadWhole(fd, journal.size, now))
        return false;
    putBack = now;
    for (const JournalRun &run : runs) {
        for (qsizetype i = 0; i < run.before.size(); ++i) {
            const char byte = now.at(run.offset + i);
            if (byte != run.before.at(i) && byte != run.after.at(i))
                return false;
        }
        putBack.replace(run.offset, run.before.size(), run.before);
    }
    return Hash(putBack) == journal.beforeHash;
}

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

// The journals in folder, by their own names.
QVector<QByteArray> JournalsIn(const QByteArray &folder)
{
    QVector<QByteArray> found;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return found;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith(JournalPrefix) && !name.endsWith(PartSuffix))
            found.append(folder + '/' + name);
    }
    ::closedir(dir);
    return found;
}

// A journal of folder, other than ours, left by a save of a file that had the image's name:
// the file was moved away or replaced since; its journal must not be lost, and this file
// must not be saved over as if nothing had happened.
QByteArray ForeignJournalOf(const QByteArray &folder, const QByteArray &ours, const QByteArray &nativeImagePath,
                            JournalImage *found = nullptr)
{
    const QByteArray name = LastComponent(nativeImagePath);
    for (const QByteArray &path : JournalsIn(folder)) {
        if (path == ours)
            continue;
        QByteArray bytes;
        JournalImage image;
        QVector<JournalRun> runs;
        if (ReadJournalFile(path, bytes) == 0 && JournalReader(bytes).decode(image, runs)
            && LastComponent(image.name) == name) {
            if (found)
                *found = image;
            return path;
        }
    }
    return QByteArray();
}

} // namespace

QByteArray ImageHash(const QByteArray &image)
{
    return Hash(image);
}

QByteArray HoldingFolderOf(const QByteArray &nativeImagePath)
{
    // By the name's own bytes, links followed: the folder the file itself is in.
    char resolved[PATH_MAX];
    const QByteArray path = ::realpath(nativeImagePath.constData(), resolved) ? QByteArray(resolved) : nativeImagePath;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArray(".");
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray JournalPathIn(const QByteArray &folder, quint64 device, quint64 inode)
{
    return folder + (folder.endsWith('/') ? "" : "/") + JournalPrefix + QByteArray::number(device, 16) + '-'
        + QByteArray::number(inode, 16);
}

QString JournalPathOf(const QString &imagePath)
{
    const QByteArray native = NativeFileName(imagePath);
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        return QString();
    return Named(JournalPathIn(HoldingFolderOf(native), quint64(st.st_dev), quint64(st.st_ino)));
}

int WriteJournal(const QByteArray &journalPath, const JournalImage &image, const QVector<JournalRun> &runs)
{
    const QString journal = Named(journalPath);
    const QString part = Named(PartPathOf(journalPath));
    ::unlink(PartPathOf(journalPath).constData());   // left by a save that stopped early
    int fd = -1;
    int error = FileChanges::CreateExclusive(part, fd);
    if (error == 0)
        error = FileChanges::WriteAll(fd, Encode(image, runs));
    if (error == 0)
        error = FileChanges::Sync(fd);
    if (fd >= 0)
        ::close(fd);
    if (error == 0)
        error = FileChanges::Rename(part, journal);
    if (error == 0)
        error = FileChanges::SyncFolderOf(part);
    if (error != 0) {
        // Nothing of the image has changed yet: no journal at all is the right state.
        ::unlink(PartPathOf(journalPath).constData());
        ::unlink(journalPath.constData());
    }
    return error;
}

int RemoveJournal(const QByteArray &journalPath, int *folderSyncError)
{
    const QString journal = Named(journalPath);
    if (folderSyncError)
        *folderSyncError = 0;
    if (const int error = FileChanges::Remove(journal))
        return error;
    const int syncError = FileChanges::SyncFolderOf(journal);
    if (folderSyncError)
        *folderSyncError = syncError;
    return folderSyncError ? 0 : syncError;
}

bool JournalWaiting(const QByteArray &folder, quint64 device, quint64 inode, const QByteArray &nativeImagePath)
{
    const QByteArray ours = JournalPathIn(folder, device, inode);
    return Exists(ours) || Exists(PartPathOf(ours)) || !ForeignJournalOf(folder, ours, nativeImagePath).isEmpty();
}

JournalNotice RecoverInterruptedSave(const QString &imagePath, int fd, const QByteArray &folder)
{
    JournalNotice notice;
    notice.imagePath = imagePath;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return notice;
    const QByteArray journalPath = JournalPathIn(folder, quint64(st.st_dev), quint64(st.st_ino));
    notice.journalPath = Named(journalPath);
    // A temporary journal is left only by a save that stopped before its image changed.
    ::unlink(PartPathOf(journalPath).constData());

    const auto keep = [&](JournalNotice::Why why, int error = 0) {
        notice.kind = JournalNotice::Kind::Kept;
        notice.why = why;
        if (error != 0)
            notice.systemReason = SystemReason(error);
        return notice;
    };
    if (!Exists(journalPath)) {
        JournalImage other;
        const QByteArray foreign = ForeignJournalOf(folder, journalPath, NativeFileName(imagePath), &other);
        if (foreign.isEmpty())
            return notice;
        notice.journalPath = Named(foreign);
        notice.journalImageName = Named(other.name);
        return keep(JournalNotice::Why::NotItsFile);
    }

    QByteArray bytes;
    JournalImage journal;
    QVector<JournalRun> runs;
    if (const int error = ReadJournalFile(journalPath, bytes))
        return error == EINVAL ? keep(JournalNotice::Why::Damaged) : keep(JournalNotice::Why::CannotRead, error);
    if (!JournalReader(bytes).decode(journal, runs))
        return keep(JournalNotice::Why::Damaged);
    notice.journalImageName = Named(journal.name);
    if (quint64(st.st_dev) != journal.device || quint64(st.st_ino) != journal.inode)
        return keep(JournalNotice::Why::NotItsFile);
    QByteArray before;
    if (!IsItsImage(fd, journal, runs, before))
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
    // One that cannot be deleted would stop every save: the file opens read-only until it can.
    notice.kind = JournalNotice::Kind::RolledBack;
    int folderSyncError = 0;   // the journal is gone; should it come back, it finds the file as before
    if (const int removeError = RemoveJournal(journalPath, &folderSyncError))
        notice.undeletableReason = SystemReason(removeError);
    return notice;
}
