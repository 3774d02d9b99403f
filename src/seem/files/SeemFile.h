#pragma once
#include "seem/files/ByteStore.h"
#include "seem/files/ReadBasis.h"
#include "seem/files/SaveJournal.h"

#include <QFile>
#include <QString>
#include <QVector>

#include <memory>

// What identifies the contents of a file on disk: which file it is (device and inode) and
// the size and modification time it had when the program last read or wrote it.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;   // status change: also moves when a same-sized rewrite keeps the time
    bool operator==(const FileIdentity &o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modifiedNs == o.modifiedNs
               && changedNs == o.changedNs;
    }
    bool operator!=(const FileIdentity &o) const { return !(*this == o); }
};

class PendingWrites;

// A save that did not happen, or not wholly. Numbers: FileBusy (another program holds the
// save lock) and LockUnavailable (the file system offers no lock, reason says why) and
// JournalUnwritable (no journal beside the file) and JournalTooLarge (more changed bytes than
// a journal may hold) wrote nothing; PathFileAccess (a write,
// the fsync or deleting the journal failed) put the file back as it was; SaveDamaged could
// not put it back either, and the journal at journalPath (empty when it is gone too) puts
// it back at the next open. Two are saves that were made: FileReplaced (the name now
// leads to another file; the changes went into the file that was moved away) and
// SavedFolderUnsynced (the new bytes are on the disk, the journal is deleted, but the
// folder's sync after the deletion failed).
class SaveError : public BvlError
{
public:
    enum class Stage {
        Locking,
        Journal,
        Writing,
        Flushing
    };
    SaveError(int number, Stage stage, const QString &path, const QString &reason)
        : BvlError(number, path + QStringLiteral(": ") + reason), stage(stage), path(path), reason(reason)
    {}
    Stage stage;
    QString path;
    QString reason;            // the system's words for the failure (strerror)
    QString putBackReason;     // SaveDamaged: why putting back failed
    QString journalPath;       // SaveDamaged: the journal that is kept
    qint64 journalBytes = 0;   // JournalTooLarge: the size the journal would have had,
    qint64 journalLimit = 0;   // and the limit it is over
    // True when the new bytes are in the file (FileReplaced, SavedFolderUnsynced).
    bool saved() const { return number() == ErrNo::FileReplaced || number() == ErrNo::SavedFolderUnsynced; }
};

// The open SEEM file: held open for reading and writing while it is in use. Its bytes are
// read in one call when it is opened, under the shared save lock, so that a save of
// another program is never seen half done; reads are served from them, and a save writes
// only the runs of changed bytes. A file the user may read but not write is held open
// for reading only; every write into it is refused.
class SeemFile : public ByteStore
{
public:
    SeemFile() = default;
    ~SeemFile() override;
    SeemFile(const SeemFile &) = delete;
    SeemFile &operator=(const SeemFile &) = delete;

    // Throws BvlError 53 when the file does not exist, 620 when it is not a regular file
    // (a FIFO or device would block or hand out other bytes on every read), 75 when it
    // cannot be opened even for reading, 630 when it is larger than any image
    // (MaxWholeImageBytes), 623 when another program is saving it and still is after a
    // moment's wait. A previously open file stays open on failure.
    // A save of the file that was interrupted is put back first (see SaveJournal.h); what
    // was found is returned, and a journal that could not be used opens the file read-only.
    JournalNotice open(const QString &path);
    // The same, for reading only (an image that is only compared or shown).
    JournalNotice openReadOnly(const QString &path);
    // What the last open found of an interrupted save.
    const JournalNotice &openNotice() const { return m_openNotice; }
    void close();
    bool isOpen() const;
    bool isReadOnly() const { return m_readOnly; }
    QString path() const;

    // Throws 621 when the file at path() is no longer the file that was opened (deleted,
    // or replaced by another file of that name), or another program changed its size or
    // modification time since it was opened or last flushed here; 622 when it is open
    // for reading only. Called before anything is written, so that edits never land in
    // an unlinked file or in contents the user never saw.
    void checkWritable() const;

    // The size the file had when it was opened: the program never changes it, and
    // checkWritable() refuses a file that another program resized.
    qint64 size() const override;
    // The bytes as read at open (and as saved since).
    QByteArray read(qint64 offset, qint64 count) override;
    // Throws 622 when open for reading only, 62 past the end, 75 on a write error (part
    // of the span may then have been written).
    void write(qint64 offset, const QByteArray &bytes) override;

    // Pushes written bytes to the disk (fsync) and remembers the file as this program
    // left it; throws 75 on failure. Due after every series of writes.
    void flush() override;

    // The save: writes the pending bytes into the file so that a crash at any moment
    // leaves the old or the new contents, never a mix. Under an exclusive lock (waiting a
    // moment for another program's save or read to end), it checks that the file is still
    // the one opened, with every byte the edits were based on (read again in one call),
    // writes a rollback journal that names the file, writes and fsyncs the runs, deletes
    // the journal, and checks that the name still leads to the file it wrote. Throws 621
    // or 622 as checkWritable() does, and SaveError; when the bytes went in (success, and
    // SaveError::saved()) the pending writes are empty.
    void save(PendingWrites &pending);

private:
    void openFile(const QString &path, bool allowWrite);
    static JournalNotice RecoverJournal(const QString &path, const QByteArray &nativePath, const QByteArray &folder);
    // The identity of the open file as the program left it: after opening, after a
    // flush, and after a failed write.
    void rememberIdentity();
    QString describeError(int error) const;
    // The whole file in one positioned read; throws 75.
    QByteArray readWhole(int fd, qint64 size) const;
    void writeJournaled(const QVector<JournalRun> &runs, const JournalImage &identity);
    // The file holds image now: what later edits are based on.
    void takeSaved(const QByteArray &image, PendingWrites &pending);
    // After the last sync: the name must still lead to the file that was written.
    void checkStillAtPath() const;

    // Replaced as a whole by open(), so that a failed open leaves the previous file as it was.
    std::unique_ptr<QFile> m_file;
    QString m_path;        // as given to open(), which may hold bytes that are not UTF-8
    QByteArray m_folder;   // the folder that holds the file (links followed), for its journal
    QByteArray m_image;    // the file's bytes as read at open and saved since
    bool m_readOnly = false;
    qint64 m_size = 0;
    FileIdentity m_identity;
    // Own writes since the identity was remembered: they moved the file's times, which
    // are known again only at the next flush.
    bool m_writtenSinceFlush = false;
    ReadBasis m_basis;
    JournalNotice m_openNotice;
};

// The identity of the file at path, or of an open file handle; size -1 when it cannot be read.
FileIdentity IdentityOfPath(const QString &path);
FileIdentity IdentityOfHandle(int fileDescriptor);

// Collects writes in memory on top of another store, so that a whole save can be
// encoded (and fail) before a single byte reaches the disk. Reads see the pending writes.
class PendingWrites : public ByteStore
{
public:
    explicit PendingWrites(ByteStore &target) : m_target(target) {}

    qint64 size() const override { return m_target.size(); }
    QByteArray read(qint64 offset, qint64 count) override;
    void write(qint64 offset, const QByteArray &bytes) override;

    // Writes each contiguous run of pending bytes into the target with one write, in
    // ascending offset order, skipping runs the target already holds. When a write fails,
    // the original bytes of every run written so far are put back and flushed, and the
    // failure is thrown again: the target is left as it was, and the pending bytes stay
    // so that the commit can be repeated. The caller flushes after a commit that succeeded.
    void commit();
    int pendingCount() const { return m_pendingCount; }
    // True when a pending write holds any of the count bytes from offset.
    bool holdsWriteIn(qint64 offset, qint64 count) const;

    struct Run
    {
        qint64 offset;
        QByteArray bytes;
    };
    // The contiguous runs of pending bytes, in ascending offset order.
    QVector<Run> pendingRuns() const;
    // Forgets everything pending and read: after the runs were saved elsewhere.
    void clear();

private:
    // The target's bytes, read in one call at the first access.
    void load();

    ByteStore &m_target;
    bool m_loaded = false;
    QByteArray m_original;   // the target's bytes as read
    QByteArray m_bytes;      // the same with the pending writes over them
    QByteArray m_changed;    // 1 for each byte a pending write holds
    int m_pendingCount = 0;
};
