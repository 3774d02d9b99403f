#include "seem/files/SaveJournal.h"

#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "seem/files/FileChanges.h"
#include "seem/files/ImageBytes.h"
#include "seem/files/JournalFormat.h"
#include "seem/files/JournalIndex.h"

#include <QCryptographicHash>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <new>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Magic("BVLJRNL\x03", 8);
const QByteArray JournalPrefix(".bvl-journal-");
const QByteArray PartSuffix(".part");
using JournalFormat::HashSize;

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

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray Absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char here[PATH_MAX];
    return ::getcwd(here, sizeof here) ? QByteArray(here) + '/' + path : path;
}

bool ReadWhole(int fd, qint64 size, QByteArray &bytes)
{
    if (size < 0 || size > MaxWholeImageBytes)
        return false;
    try {
        bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
        return false;
    }
    qint64 done = 0;
    return ReadAt(fd, bytes.data(), size, 0, done) == 0 && done == size;
}

QString OwnerName(uid_t uid)
{
    struct passwd entry;
    struct passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

// A journal says what to write into the image: only its owner, the user (who may write
// the image anyway, or the put-back could not open it) or the system may have made it.
bool Trusted(const struct stat &journal, const struct stat &image, JournalNotice &notice)
{
    if (journal.st_uid != image.st_uid && journal.st_uid != ::geteuid() && journal.st_uid != 0)
        notice.distrust = JournalNotice::Distrust::OtherOwner;
    else if (journal.st_mode & (S_IWGRP | S_IWOTH))
        notice.distrust = JournalNotice::Distrust::WritableByOthers;
    else if (journal.st_nlink != 1)
        notice.distrust = JournalNotice::Distrust::SeveralNames;
    else
        return true;
    notice.journalOwner = OwnerName(journal.st_uid);
    return false;
}

bool SameOverTime(const JournalImage &journal, const JournalImage &now)
{
    const auto agree = [](qint64 a, qint64 b) { return a < 0 || b < 0 || a == b; };
    return agree(journal.birthNs, now.birthNs) && agree(journal.generation, now.generation);
}

// The runs after the header: each byte of the image must hold its old or its new value;
// putBack (the image as it is) gets the old ones. Runs ascend, do not overlap, are not
// empty and lie inside the image, so there are never more runs than bytes.
// True when they fit; why tells what is wrong otherwise.
bool CheckRuns(JournalFormat::PieceReader &in, quint32 count, const QByteArray &now, QByteArray &putBack,
               JournalNotice::Why &why)
{
    why = JournalNotice::Why::Damaged;
    const qint64 size = now.size();
    if (qint64(count) > size)
        return false;
    qint64 previousEnd = 0;
    bool matches = true;
    for (quint32 i = 0; i < count; ++i) {
        quint64 offset = 0;
        quint32 length = 0;
        if (!in.number(offset) || !in.number(length) || length == 0 || offset < quint64(previousEnd)
            || offset > quint64(size) || length > quint64(size) - offset)
            return false;
        qint64 got = 0;
        for (qint64 done = 0; done < length; done += got) {
            const char *before = in.next(length - done, got);
            if (!before)
                return false;
            std::memcpy(putBack.data() + offset + done, before, size_t(got));
        }
        for (qint64 done = 0; done < length; done += got) {
            const char *after = in.next(length - done, got);
            if (!after)
                return false;
            const qint64 at = qint64(offset) + done;
            for (qint64 j = 0; j < got; ++j)
                matches = matches && (now.at(at + j) == putBack.at(at + j) || now.at(at + j) == after[j]);
        }
        previousEnd = qint64(offset) + length;
    }
    if (!matches)
        why = JournalNotice::Why::OtherContents;
    return matches;
}

// Writes the old bytes of every run back, from putBack; in is placed at the first run.
int WriteRuns(JournalFormat::PieceReader &in, quint32 count, int fd, const QByteArray &putBack)
{
    for (quint32 i = 0; i < count; ++i) {
        quint64 offset = 0;
        quint32 length = 0;
        if (!in.number(offset) || !in.number(length))
            return EIO;
        qint64 got = 0;
        for (qint64 skipped = 0; skipped < 2 * qint64(length); skipped += got)
            if (!in.next(2 * qint64(length) - skipped, got))
                return EIO;
        if (const int error = FileChanges::WriteAt(fd, putBack.constData() + offset, length, qint64(offset)))
            return error;
    }
    return 0;
}

bool TakeHeader(JournalFormat::PieceReader &in, JournalImage &journal, quint32 &count)
{
    QByteArray magic;
    return in.bytes(Magic.size(), magic) && magic == Magic && JournalFormat::TakeImage(in, journal) && in.number(count);
}

// The journal the index names is gone. Harmless when the index entry outlived its save
// (the image is as before or after it) or belongs to an earlier file with this inode
// number; otherwise the image is a mix that nothing can put back any more.
JournalNotice ForgottenJournal(int fd, const struct stat &st, const JournalIndexEntry &entry, JournalNotice notice)
{
    JournalImage now;
    IdentityOverTime(fd, now);
    QByteArray bytes;
    const bool stale = !SameOverTime(entry.image, now) || st.st_size != entry.image.size
                       || (ReadWhole(fd, st.st_size, bytes)
                           && (Hash(bytes) == entry.image.beforeHash || Hash(bytes) == entry.image.afterHash));
    if (stale) {
        RemoveJournalIndex(entry.image.device, entry.image.inode);
        return notice;
    }
    notice.kind = JournalNotice::Kind::Kept;
    notice.why = JournalNotice::Why::Missing;
    notice.journalPath = Named(entry.journalPath);
    notice.journalImageName = Named(entry.image.name);
    return notice;
}

}   // namespace

QByteArray ImageHash(const QByteArray &image)
{
    return Hash(image);
}

void IdentityOverTime(int fd, JournalImage &image)
{
    image.birthNs = -1;
    image.generation = -1;
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        image.birthNs = qint64(sx.stx_btime.tv_sec) * 1000000000 + sx.stx_btime.tv_nsec;
    int generation = 0;
    if (::ioctl(fd, FS_IOC_GETVERSION, &generation) == 0)
        image.generation = quint32(generation);
}

qint64 JournalLimit()
{
    return FileChanges::JournalLimit(MaxJournalBytes);
}

qint64 JournalBytes(const JournalImage &image, const QVector<JournalRun> &runs)
{
    qint64 bytes = Magic.size() + 5 * 8 + 2 * HashSize + 4 + image.name.size() + 4 + HashSize;
    for (const JournalRun &run : runs)
        bytes += 8 + 4 + run.before.size() + run.after.size();
    return bytes;
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
    if (JournalBytes(image, runs) > JournalLimit())
        return EFBIG;
    // The index first: a journal that exists is always findable from every name.
    const bool indexed = !JournalIndexFolder().isEmpty();
    if (indexed)
        if (const int error = WriteJournalIndex(JournalIndexEntry{Absolute(journalPath), image}))
            return error;
    const int error = JournalFormat::WriteDurably(journalPath, [&](JournalFormat::PieceWriter &out) {
        out.append(Magic);
        JournalFormat::AppendImage(out, image);
        out.number<quint32>(quint32(runs.size()));
        for (const JournalRun &run : runs) {
            out.number<quint64>(quint64(run.offset));
            out.number<quint32>(quint32(run.before.size()));
            out.append(run.before);
            out.append(run.after);
        }
    });
    // Nothing of the image has changed yet: no journal at all is the right state.
    if (error != 0 && indexed)
        RemoveJournalIndex(image.device, image.inode);
    return error;
}

int RemoveJournal(const QByteArray &journalPath, quint64 device, quint64 inode, int *folderSyncError)
{
    const QString journal = Named(journalPath);
    if (folderSyncError)
        *folderSyncError = 0;
    if (const int error = FileChanges::Remove(journal))
        return error;
    const int syncError = FileChanges::SyncFolderOf(journal);
    if (folderSyncError)
        *folderSyncError = syncError;
    // An entry left behind names a journal that is gone: the next open finds the file as
    // the save left it and forgets the entry.
    RemoveJournalIndex(device, inode);
    return folderSyncError ? 0 : syncError;
}

bool JournalWaiting(const QByteArray &folder, quint64 device, quint64 inode)
{
    const QByteArray ours = JournalPathIn(folder, device, inode);
    return Exists(ours) || Exists(PartPathOf(ours)) || JournalIndexed(device, inode);
}

bool JournalLeft(const QByteArray &folder, quint64 device, quint64 inode)
{
    JournalIndexEntry entry;
    return Exists(JournalPathIn(folder, device, inode))
           || (ReadJournalIndex(device, inode, entry) && Exists(entry.journalPath));
}

JournalNotice RecoverInterruptedSave(const QString &imagePath, int fd, const QByteArray &folder)
{
    JournalNotice notice;
    notice.imagePath = imagePath;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return notice;
    QByteArray journalPath = JournalPathIn(folder, quint64(st.st_dev), quint64(st.st_ino));
    // A temporary journal is left only by a save that stopped before its image changed.
    ::unlink(PartPathOf(journalPath).constData());
    if (!Exists(journalPath)) {
        JournalIndexEntry entry;
        if (!ReadJournalIndex(quint64(st.st_dev), quint64(st.st_ino), entry))
            return notice;
        if (!Exists(entry.journalPath))
            return ForgottenJournal(fd, st, entry, notice);
        journalPath = entry.journalPath;
    }
    notice.journalPath = Named(journalPath);

    const auto keep = [&](JournalNotice::Why why, int error = 0) {
        notice.kind = JournalNotice::Kind::Kept;
        notice.why = why;
        if (error != 0)
            notice.systemReason = SystemReason(error);
        return notice;
    };
    const int journalFd = ::open(journalPath.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (journalFd < 0)
        return errno == ELOOP ? keep(JournalNotice::Why::Damaged) : keep(JournalNotice::Why::CannotRead, errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{journalFd};
    struct stat js;
    if (::fstat(journalFd, &js) != 0)
        return keep(JournalNotice::Why::CannotRead, errno);
    if (!S_ISREG(js.st_mode))
        return keep(JournalNotice::Why::Damaged);
    if (!Trusted(js, st, notice))
        return keep(JournalNotice::Why::Untrusted);
    if (js.st_size > JournalLimit() || !JournalFormat::HashCloses(journalFd, js.st_size))
        return keep(JournalNotice::Why::Damaged);

    const qint64 end = js.st_size - HashSize;
    JournalFormat::PieceReader in(journalFd, end);
    JournalImage journal;
    quint32 count = 0;
    if (!TakeHeader(in, journal, count))
        return keep(JournalNotice::Why::Damaged);
    notice.journalImageName = Named(journal.name);
    JournalImage now;
    IdentityOverTime(fd, now);
    if (quint64(st.st_dev) != journal.device || quint64(st.st_ino) != journal.inode || !SameOverTime(journal, now))
        return keep(JournalNotice::Why::NotItsFile);
    QByteArray image;
    if (st.st_size != journal.size || !ReadWhole(fd, journal.size, image))
        return keep(JournalNotice::Why::OtherContents);
    QByteArray before = image;
    JournalNotice::Why why = JournalNotice::Why::Damaged;
    if (!CheckRuns(in, count, image, before, why))
        return keep(why);
    if (in.at() != end)
        return keep(JournalNotice::Why::Damaged);
    if (Hash(before) != journal.beforeHash)
        return keep(JournalNotice::Why::OtherContents);

    JournalFormat::PieceReader again(journalFd, end);
    int error = TakeHeader(again, journal, count) ? WriteRuns(again, count, fd, before) : EIO;
    if (error == 0)
        error = FileChanges::Sync(fd);
    if (error != 0)
        return keep(JournalNotice::Why::CannotWrite, error);   // the journal stays for the next try
    // The file holds the journal's original bytes again: the journal has done its work.
    // One that cannot be deleted would stop every save: the file opens read-only until it can.
    notice.kind = JournalNotice::Kind::RolledBack;
    int folderSyncError = 0;   // the journal is gone; should it come back, it finds the file as before
    if (const int removeError = RemoveJournal(journalPath, journal.device, journal.inode, &folderSyncError))
        notice.undeletableReason = SystemReason(removeError);
    return notice;
}
