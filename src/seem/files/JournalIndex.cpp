#include "seem/files/JournalIndex.h"

#include "core/FileNames.h"
#include "seem/files/FileChanges.h"
#include "seem/files/JournalFormat.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray IndexMagic("BVLJIDX\x01", 8);
constexpr qint64 MaxEntryBytes = 256 * 1024;

QByteArray EntryPath(quint64 device, quint64 inode)
{
    const QByteArray folder = JournalIndexFolder();
    if (folder.isEmpty())
        return QByteArray();
    return folder + '/' + QByteArray::number(device, 16) + '-' + QByteArray::number(inode, 16);
}

// Made by this user, writable by no one else: what it says is the user's own.
bool OwnedByUser(const struct stat &st)
{
    return st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool TrustedFolder(const QByteArray &folder)
{
    struct stat st;
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && OwnedByUser(st);
}

// Each missing folder of path, made for this user alone.
int MakeFolders(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0)
        if (const int error = MakeFolders(path.left(slash)))
            return error;
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

}   // namespace

QByteArray JournalIndexFolder()
{
    QByteArray state = qgetenv("XDG_STATE_HOME");
    if (!state.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/'))
            return QByteArray();
        state = home + "/.local/state";
    }
    return state + "/brimvale-edit/journals";
}

int WriteJournalIndex(const JournalIndexEntry &entry)
{
    const QByteArray path = EntryPath(entry.image.device, entry.image.inode);
    if (path.isEmpty())
        return ENOENT;
    const QByteArray folder = JournalIndexFolder();
    if (const int error = MakeFolders(folder))
        return error;
    // A folder another user owns (left by a run under sudo, say) is never read: writing
    // into it would be of no use, and refusing every save for it of none either.
    if (!TrustedFolder(folder))
        return 0;
    return JournalFormat::WriteDurably(path, [&](JournalFormat::PieceWriter &out) {
        out.append(IndexMagic);
        out.number<quint32>(quint32(entry.journalPath.size()));
        out.append(entry.journalPath);
        JournalFormat::AppendImage(out, entry.image);
    });
}

bool JournalIndexed(quint64 device, quint64 inode)
{
    const QByteArray path = EntryPath(device, inode);
    struct stat st;
    return !path.isEmpty() && ::lstat(path.constData(), &st) == 0;
}

bool ReadJournalIndex(quint64 device, quint64 inode, JournalIndexEntry &entry)
{
    const QByteArray path = EntryPath(device, inode);
    if (path.isEmpty() || !TrustedFolder(JournalIndexFolder()))
        return false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && OwnedByUser(st) && st.st_nlink == 1
                 && st.st_size <= MaxEntryBytes && JournalFormat::HashCloses(fd, st.st_size);
    if (whole) {
        JournalFormat::PieceReader in(fd, st.st_size - JournalFormat::HashSize);
        QByteArray magic;
        quint32 length = 0;
        whole = in.bytes(IndexMagic.size(), magic) && magic == IndexMagic && in.number(length)
                && in.bytes(length, entry.journalPath) && entry.journalPath.startsWith('/')
                && JournalFormat::TakeImage(in, entry.image) && in.at() == st.st_size - JournalFormat::HashSize
                && entry.image.device == device && entry.image.inode == inode;
    }
    ::close(fd);
    return whole;
}

int RemoveJournalIndex(quint64 device, quint64 inode)
{
    if (!JournalIndexed(device, inode))
        return 0;
    const QString path = FileNameFromNative(EntryPath(device, inode));
    if (const int error = FileChanges::Remove(path))
        return error == ENOENT ? 0 : error;
    return FileChanges::SyncFolderOf(path);
}
