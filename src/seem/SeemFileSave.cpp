// The save of a SEEM file: locked against other writers, journaled against crashes.
//
// Order on the disk: the journal with the original bytes (fsynced, its name fsynced),
// then the new bytes (fsynced), then the journal deleted (the folder fsynced). Killed
// before the journal is complete, the file is unchanged; killed after, the next open
// finds the journal and puts the original bytes back; killed after the deletion, the
// new bytes are on the disk. A failure while the process lives puts the bytes back at
// once.
#include "seem/SeemFile.h"

#include "core/BvlError.h"
#include "core/FileNames.h"
#include "seem/FileChanges.h"
#include "seem/FileLock.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

bool Exists(const QString &path)
{
    struct stat st;
    return ::lstat(NativeFileName(path).constData(), &st) == 0;
}

} // namespace

void SeemFile::save(PendingWrites &pending)
{
    if (!m_file)
        throw BvlError(ErrNo::PathFileAccess);
    if (m_readOnly)
        throw BvlError(ErrNo::FileReadOnly, m_path);
    const QString imagePath = m_path;
    const FileSizeSignalIgnored noSizeSignal;

    // From here to the last fsync no other save of this program, in any process, runs.
    const FileLock lock(m_file->handle());
    if (!lock.held())
        throw SaveError(ErrNo::FileBusy, SaveError::Stage::Locking, imagePath,
                        lock.error() == EWOULDBLOCK ? QString() : qt_error_string(lock.error()));
    checkWritable();
    // A journal left by an interrupted save of another program that still has the file
    // open: it is put back at the next open, and a save now would overwrite it.
    if (Exists(JournalPathOf(imagePath)))
        throw BvlError(ErrNo::FileChanged, imagePath);

    // The bytes about to be overwritten, read now under the lock, must be those the edits
    // were based on: a second writer within one step of the file clock is caught here.
    const QVector<PendingWrites::Run> pendingRuns = pending.pendingRuns();
    QVector<JournalRun> runs;
    for (const PendingWrites::Run &run : pendingRuns) {
        const QByteArray now = readSpan(run.offset, run.bytes.size());
        if (now.size() != run.bytes.size() || !m_basis.agrees(run.offset, now))
            throw BvlError(ErrNo::FileChanged, imagePath);
        if (now != run.bytes)
            runs.append(JournalRun{run.offset, now, run.bytes});
    }
    if (!runs.isEmpty())
        writeJournaled(runs);
    for (const PendingWrites::Run &run : pendingRuns)
        m_basis.update(run.offset, run.bytes);
    pending.clear();
}

void SeemFile::writeJournaled(const QVector<JournalRun> &runs)
{
    const QString imagePath = m_path;
    const int fd = m_file->handle();
    if (const int error = WriteJournal(imagePath, m_size, runs))
        throw SaveError(ErrNo::JournalUnwritable, SaveError::Stage::Journal, imagePath, qt_error_string(error));

    m_writtenSinceFlush = true;
    SaveError::Stage stage = SaveError::Stage::Writing;
    int error = 0;
    int written = 0;            // the runs written whole
    qint64 writtenOfFailing = 0; // the bytes of the failing run that reached the file
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
    if (error == 0)
        error = RemoveJournal(imagePath);
    rememberIdentity();
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
        RemoveJournal(imagePath);
        throw SaveError(ErrNo::PathFileAccess, stage, imagePath, qt_error_string(error));
    }
    SaveError damaged(ErrNo::SaveDamaged, stage, imagePath, qt_error_string(error));
    damaged.putBackReason = qt_error_string(putBackError);
    // The journal is what can still put the file back; deleted already, it is written again.
    const QString journal = JournalPathOf(imagePath);
    if (!Exists(journal))
        WriteJournal(imagePath, m_size, runs);
    damaged.journalPath = Exists(journal) ? journal : QString();
    throw damaged;
}
