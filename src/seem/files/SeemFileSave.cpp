// The save of a SEEM file: locked against other writers and readers, journaled against
// crashes.
//
// Order on the disk: the journal with the original bytes and the file's identity (fsynced,
// its name fsynced), then the new bytes (fsynced), then the journal deleted (the folder
// fsynced). Killed before the journal is complete, the file is unchanged; killed after,
// the next open finds the journal and puts the original bytes back; killed after the
// deletion, the new bytes are on the disk. A failure while the process lives puts the
// bytes back at once.
#include "seem/files/SeemFile.h"

#include "core/BvlError.h"
#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "seem/files/FileChanges.h"
#include "seem/files/FileLock.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

}   // namespace

void SeemFile::save(PendingWrites &pending)
{
    if (!m_file)
        throw BvlError(ErrNo::PathFileAccess);
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_path);
    const QString imagePath = m_path;
    const FileSizeSignalIgnored noSizeSignal;

    // From here to the last fsync no other save of this program, in any process, runs, and
    // no open reads. A reader holds the lock for a moment only: that is waited for.
    const FileLock lock(m_file->handle(), SaveLockWaitMs);
    if (lock.busy())
        throw SaveError(ErrNo::FileBusy, SaveError::Stage::Locking, imagePath, QString());
    if (!lock.held())
        throw SaveError(ErrNo::LockUnavailable, SaveError::Stage::Locking, imagePath, SystemReason(lock.error()));
    checkWritable();
    const FileIdentity identity = IdentityOfHandle(m_file->handle());
    // A journal left by an interrupted save of another program that still has the file
    // open: it is put back at the next open, and a save now would overwrite it.
    if (JournalLeft(m_folder, identity.device, identity.inode))
        throw BvlError(ErrNo::FileChanged, imagePath);

    // Every byte the edits were based on, read again now under the lock in one call, must
    // be what it was: a second writer within one step of the file clock is caught here.
    const QByteArray now = readWhole(m_file->handle(), m_size);
    if (now.size() != m_size || !m_basis.agrees(0, now))
        throw BvlError(ErrNo::FileChanged, imagePath);
    QByteArray after = now;
    QVector<JournalRun> runs;
    for (const PendingWrites::Run &run : pending.pendingRuns()) {
        const QByteArray before = now.mid(run.offset, run.bytes.size());
        if (before != run.bytes)
            runs.append(JournalRun{run.offset, before, run.bytes});
        after.replace(run.offset, run.bytes.size(), run.bytes);
    }
    if (!runs.isEmpty()) {
        JournalImage journal;
        journal.device = identity.device;
        journal.inode = identity.inode;
        journal.size = m_size;
        journal.beforeHash = ImageHash(now);
        journal.afterHash = ImageHash(after);
        journal.name = NativeFileName(imagePath);
        IdentityOverTime(m_file->handle(), journal);
        // The reader takes no journal over the limit: such a save could never be put back.
        const qint64 journalBytes = JournalBytes(journal, runs);
        if (journalBytes > JournalLimit()) {
            SaveError tooLarge(ErrNo::JournalTooLarge, SaveError::Stage::Journal, imagePath, QString());
            tooLarge.journalBytes = journalBytes;
            tooLarge.journalLimit = JournalLimit();
            throw tooLarge;
        }
        try {
            writeJournaled(runs, journal);
        } catch (const SaveError &e) {
            if (e.saved())
                takeSaved(after, pending);
            throw;
        }
    }
    takeSaved(after, pending);
    if (!runs.isEmpty())
        checkStillAtPath();
}

void SeemFile::takeSaved(const QByteArray &image, PendingWrites &pending)
{
    m_image = image;
    m_basis.clear();
    m_basis.record(0, m_image);
    pending.clear();
}

void SeemFile::checkStillAtPath() const
{
    // Renamed or replaced while it was saved: the bytes went into the file that was open,
    // which no longer has this name. Not a save the user asked for.
    const FileIdentity open = IdentityOfHandle(m_file->handle());
    const FileIdentity named = IdentityOfPath(m_path);
    if (named.size < 0 || named.device != open.device || named.inode != open.inode)
        throw SaveError(ErrNo::FileReplaced, SaveError::Stage::Flushing, m_path, QString());
}

void SeemFile::writeJournaled(const QVector<JournalRun> &runs, const JournalImage &identity)
{
    const QString imagePath = m_path;
    const int fd = m_file->handle();
    const QByteArray journalPath = JournalPathIn(m_folder, identity.device, identity.inode);
    if (const int error = WriteJournal(journalPath, identity, runs))
        throw SaveError(ErrNo::JournalUnwritable, SaveError::Stage::Journal, imagePath, SystemReason(error));

    m_writtenSinceFlush = true;
    SaveError::Stage stage = SaveError::Stage::Writing;
    int error = 0;
    int written = 0;               // the runs written whole
    qint64 writtenOfFailing = 0;   // the bytes of the failing run that reached the file
    for (; written < runs.size(); ++written) {
        const JournalRun &run = runs.at(written);
        error = FileChanges::WriteAt(fd, run.after.constData(), run.after.size(), run.offset, &writtenOfFailing);
        if (error != 0)
            break;
    }
    if (error == 0) {
        stage = SaveError::Stage::Flushing;
        error = FileChanges::Sync(fd);
    }
    // Not done until the journal is gone for good: a journal that comes back would put
    // the old bytes back over a save that was reported done.
    int folderSyncError = 0;
    if (error == 0)
        error = RemoveJournal(journalPath, identity.device, identity.inode, &folderSyncError);
    rememberIdentity();
    if (error == 0 && folderSyncError != 0) {
        // The new bytes are on the disk and the journal is gone; only making its deletion
        // durable failed. Putting back now would undo a save that is complete.
        checkStillAtPath();
        throw SaveError(ErrNo::SavedFolderUnsynced, SaveError::Stage::Flushing, imagePath,
                        SystemReason(folderSyncError));
    }
    if (error == 0)
        return;

    // Only what reached the file is put back: the rest of a run refused at a file-size
    // limit would be refused again.
    int putBackError = 0;
    for (int i = 0; putBackError == 0 && i <= written && i < runs.size(); ++i) {
        const JournalRun &run = runs.at(i);
        const qint64 count = i < written ? run.before.size() : writtenOfFailing;
        if (count > 0)
            putBackError = FileChanges::WriteAt(fd, run.before.constData(), count, run.offset);
    }
    if (putBackError == 0)
        putBackError = FileChanges::Sync(fd);
    rememberIdentity();
    if (putBackError == 0) {
        // Should deleting the journal fail, the next open puts back the same bytes again.
        RemoveJournal(journalPath, identity.device, identity.inode);
        throw SaveError(ErrNo::PathFileAccess, stage, imagePath, SystemReason(error));
    }
    SaveError damaged(ErrNo::SaveDamaged, stage, imagePath, SystemReason(error));
    damaged.putBackReason = SystemReason(putBackError);
    // The journal is what can still put the file back; deleted already, it is written again.
    if (!Exists(journalPath))
        WriteJournal(journalPath, identity, runs);
    damaged.journalPath = Exists(journalPath) ? FileNameFromNative(journalPath) : QString();
    throw damaged;
}
