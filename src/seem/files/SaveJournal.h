#pragma once
#include <QByteArray>
#include <QString>
#include <QVector>

// The rollback journal of a save: written beside the SEEM image before its first byte
// changes, deleted once the new bytes are on the disk. A journal found at open time
// means a save was interrupted; it holds what is needed to put the file back.
//
// It names the file it belongs to, not one of the file's names: its own name is made of
// the image's device and inode (".bvl-journal-DEV-INO" in the folder that holds the file,
// links followed), so another spelling of the path finds the same journal, and the
// journal index (JournalIndex.h) finds it from a name in another folder. Inside it
// records the image as it was when the save began (device, inode, birth time and
// generation where the file system gives them, size, a SHA-256 of the whole image), the
// SHA-256 of the whole image as the save leaves it, the name it was saved under (for
// messages), and per run its offset, original and new bytes; a SHA-256 of everything
// before it closes it. It is written under a temporary name and renamed into place once
// complete and on the disk, so a journal under its own name is always whole unless the
// disk damaged it.
//
// A journal says which bytes to write into a file: it is used only when it is the user's
// own or the image owner's, is writable by nobody else and has one name.

struct JournalRun
{
    qint64 offset = 0;
    QByteArray before;
    QByteArray after;
};

// Which file a journal belongs to, and its contents before and after the save.
struct JournalImage
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    // What tells the file from a later one that reuses its inode number; -1 where the
    // file system does not say.
    qint64 birthNs = -1;
    qint64 generation = -1;
    QByteArray beforeHash;   // SHA-256 of the whole image before the save
    QByteArray afterHash;    // and after it
    QByteArray name;         // the image's path as saved, as the system's bytes
};

QByteArray ImageHash(const QByteArray &image);
// Fills in the birth time and generation of the open file, where the file system has them.
void IdentityOverTime(int fd, JournalImage &image);

// The largest journal that is written or read, whatever the image: a save whose journal
// would be larger is refused before anything is written.
constexpr qint64 MaxJournalBytes = qint64(1) << 30;
// The limit in force: MaxJournalBytes, unless a test lowered it.
qint64 JournalLimit();
// The size of the journal of these runs.
qint64 JournalBytes(const JournalImage &image, const QVector<JournalRun> &runs);

// The journal of the file at imagePath (empty when the file cannot be looked at), and of
// a file known by device and inode in the folder (system bytes) that holds it.
QString JournalPathOf(const QString &imagePath);
QByteArray JournalPathIn(const QByteArray &folder, quint64 device, quint64 inode);
// The folder that holds the file at imagePath, links followed, as the system's bytes.
QByteArray HoldingFolderOf(const QByteArray &nativeImagePath);

// Records the journal in the journal index, then writes it at journalPath and makes it and
// its name durable. Returns 0 or the errno of the failure (EFBIG over MaxJournalBytes); a
// failed write leaves no journal behind.
int WriteJournal(const QByteArray &journalPath, const JournalImage &image, const QVector<JournalRun> &runs);
// Deletes the journal (0 or the errno), and then makes the deletion durable: folderSyncError
// tells whether syncing the folder failed after the journal was gone. Its index entry goes
// last.
int RemoveJournal(const QByteArray &journalPath, quint64 device, quint64 inode, int *folderSyncError = nullptr);

// What opening an image found of an interrupted save.
struct JournalNotice
{
    enum class Kind {
        None,         // no journal
        RolledBack,   // the file was put back as it was before the interrupted save
        Kept          // a journal that could not be used: left alone, the image is to open read-only
    };
    enum class Why {
        Damaged,         // incomplete, or not a journal
        OtherContents,   // the file's contents are neither before, after nor between that save
        Busy,            // (no longer reported: opening waits, or refuses the file)
        CannotWrite,     // the file cannot be written to put it back (systemReason)
        NotItsFile,      // written for another file that had this name (moved or replaced since)
        CannotRead,      // the journal cannot be read (systemReason, such as "Permission denied")
        CannotLock,      // the file cannot be locked to put it back (systemReason)
        CannotDelete,    // the file is as before the save, but the journal cannot be deleted
        Untrusted,       // another user could have written it (journalOwner, distrust)
        Missing          // the index names a journal that is gone, and the file is neither before nor after
    };
    enum class Distrust {
        OtherOwner,         // owned by neither the image's owner nor the user
        WritableByOthers,   // its mode lets other users write it
        SeveralNames        // it has more than one link
    };
    Kind kind = Kind::None;
    Why why = Why::Damaged;   // for Kept
    QString imagePath;
    QString journalPath;
    QString systemReason;   // strerror text, when a system call failed
    // RolledBack: the journal could not be deleted afterwards (strerror); the image then
    // opens read-only until it can be.
    QString undeletableReason;
    // The name the journal's file had when it was saved, for NotItsFile and OtherContents.
    QString journalImageName;
    // Untrusted: the journal's owner (a user name, or the number), and what is wrong.
    QString journalOwner;
    Distrust distrust = Distrust::OtherOwner;
    bool opensReadOnly() const { return kind == Kind::Kept || !undeletableReason.isEmpty(); }
};

// Puts back an image whose save was interrupted. fd is the image, open for reading and
// writing, held under the exclusive save lock by the caller; folder is the folder that
// holds it. The journal is looked for beside it, then through the journal index. A whole,
// trusted journal is put back only onto the file it was written for: the same device,
// inode, birth time and generation, and contents that the journaled runs alone turn into
// the state before the save. Any other journal is left alone.
JournalNotice RecoverInterruptedSave(const QString &imagePath, int fd, const QByteArray &folder);
// True when the folder or the journal index holds a journal for the file (device and
// inode), or a part of one.
bool JournalWaiting(const QByteArray &folder, quint64 device, quint64 inode);
// True when a journal for the file exists beside it or where the index says: a save now
// would overwrite what it is to put back.
bool JournalLeft(const QByteArray &folder, quint64 device, quint64 inode);
