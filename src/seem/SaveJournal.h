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
// links followed), so a hard link or another spelling of the path finds the same journal.
// Inside it records the image as it was when the save began (device, inode, size, a
// SHA-256 of the whole image), the SHA-256 of the whole image as the save leaves it, the
// name it was saved under (for messages), and per run its offset, original and new
// bytes; a SHA-256 of everything before it closes it. It is written under a temporary
// name and renamed into place once complete and on the disk, so a journal under its own
// name is always whole unless the disk damaged it.

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
    QByteArray beforeHash;   // SHA-256 of the whole image before the save
    QByteArray afterHash;    // and after it
    QByteArray name;         // the image's path as saved, as the system's bytes
};

QByteArray ImageHash(const QByteArray &image);

// The journal of the file at imagePath (empty when the file cannot be looked at), and of
// a file known by device and inode in the folder (system bytes) that holds it.
QString JournalPathOf(const QString &imagePath);
QByteArray JournalPathIn(const QByteArray &folder, quint64 device, quint64 inode);
// The folder that holds the file at imagePath, links followed, as the system's bytes.
QByteArray HoldingFolderOf(const QByteArray &nativeImagePath);

// Writes the journal at journalPath and makes it and its name durable. Returns 0 or the
// errno of the failure; a failed write leaves no journal behind.
int WriteJournal(const QByteArray &journalPath, const JournalImage &image, const QVector<JournalRun> &runs);
// Deletes the journal (0 or the errno), and then makes the deletion durable: folderSyncError
// tells whether syncing the folder failed after the journal was gone.
int RemoveJournal(const QByteArray &journalPath, int *folderSyncError = nullptr);

// What opening an image found of an interrupted save.
struct JournalNotice
{
    enum class Kind {
        None,          // no journal
        RolledBack,    // the file was put back as it was before the interrupted save
        Kept           // a journal that could not be used: left alone, the image is to open read-only
    };
    enum class Why {
        Damaged,        // incomplete, or not a journal
        OtherContents,  // the file's contents are neither before, after nor between that save
        Busy,           // (no longer reported: opening waits, or refuses the file)
        CannotWrite,    // the file cannot be written to put it back (systemReason)
        NotItsFile,     // written for another file that had this name (moved or replaced since)
        CannotRead,     // the journal cannot be read (systemReason, such as "Permission denied")
        CannotLock,     // the file cannot be locked to put it back (systemReason)
        CannotDelete    // the file is as before the save, but the journal cannot be deleted
    };
    Kind kind = Kind::None;
    Why why = Why::Damaged;   // for Kept
    QString imagePath;
    QString journalPath;
    QString systemReason;     // strerror text, when a system call failed
    // RolledBack: the journal could not be deleted afterwards (strerror); the image then
    // opens read-only until it can be.
    QString undeletableReason;
    // The name the journal's file had when it was saved, for NotItsFile and OtherContents.
    QString journalImageName;
    bool opensReadOnly() const { return kind == Kind::Kept || !undeletableReason.isEmpty(); }
};

// Puts back an image whose save was interrupted. fd is the image, open for reading and
// writing, held under the exclusive save lock by the caller; folder is the folder that
// holds it. A complete journal is put back only onto the file it was written for: the
// same device and inode, and contents that the journaled runs alone turn into the state
// before the save. Any other journal, and a journal written for another file that had
// this name, is left alone.
JournalNotice RecoverInterruptedSave(const QString &imagePath, int fd, const QByteArray &folder);
// True when the folder holds a journal for the file (device and inode), or a journal left
// by an interrupted save under the file's name (another file then had it).
bool JournalWaiting(const QByteArray &folder, quint64 device, quint64 inode, const QByteArray &nativeImagePath);
