// A save of a SEEM file leaves the old or the new image whatever stops it: a kill at any
// of its file changes or at any moment, a failing write or fsync, a file-size limit.
#include "core/BvlError.h"
#include "core/FileNames.h"
#include "seem/files/SaveJournal.h"
#include "seem/files/SeemFile.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"
#include "support/SaveFaults.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace SaveFaults;

namespace {

// An image of size bytes, and the same with every stride-th byte changed: one run each.
QByteArray OldImage(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

QByteArray NewImage(const QByteArray &old, int stride)
{
    QByteArray bytes = old;
    for (int i = 1; i < bytes.size(); i += stride)
        bytes[i] = char(~bytes.at(i));
    return bytes;
}

// A 24-byte image at path, open, with an edit of three one-byte runs pending.
struct ThreeRunEdit
{
    QByteArray old = OldImage(24);
    QByteArray edited = NewImage(old, 8);
    SeemFile image;
    std::unique_ptr<PendingWrites> pending;

    explicit ThreeRunEdit(const QString &path)
    {
        WriteFileBytes(path, old);
        image.open(path);
        pending = std::make_unique<PendingWrites>(image);
        PendEdits(image, *pending, edited);
    }

    // The save with count file changes from number failingChange on failing; what it threw.
    SaveError saveFailing(int failingChange, int error, int count)
    {
        SaveError thrown(0, SaveError::Stage::Locking, QString(), QString());
        FailFrom(failingChange, error, count);
        try {
            image.save(*pending);
        } catch (const SaveError &e) {
            thrown = e;
        }
        NoFaults();
        return thrown;
    }
};

// The image at path as journaled: its device, inode, size and identity over time.
JournalImage JournalImageOf(const QString &path)
{
    JournalImage image;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return image;
    image.device = quint64(st.st_dev);
    image.inode = quint64(st.st_ino);
    image.size = qint64(st.st_size);
    IdentityOverTime(fd, image);
    ::close(fd);
    image.name = QFile::encodeName(path);
    return image;
}

// Writes the journal of a save from before to after of the image at path, with the
// given runs, where a save would put it: as another program could.
void WriteJournalOf(const QString &path, JournalImage image, const QByteArray &before, const QByteArray &after,
                    const QVector<JournalRun> &runs)
{
    image.beforeHash = ImageHash(before);
    image.afterHash = ImageHash(after);
    const QByteArray folder = HoldingFolderOf(QFile::encodeName(path));
    QCOMPARE(WriteJournal(JournalPathIn(folder, image.device, image.inode), image, runs), 0);
}

// The runs of single bytes that differ between two images of one size.
QVector<JournalRun> RunsBetween(const QByteArray &before, const QByteArray &after)
{
    QVector<JournalRun> runs;
    for (int i = 0; i < before.size(); ++i)
        if (before.at(i) != after.at(i))
            runs.append(JournalRun{i, before.mid(i, 1), after.mid(i, 1)});
    return runs;
}

}   // namespace

class TestSaveJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void killedAtEveryFileChangeLeavesOldOrNew_data();
    void killedAtEveryFileChangeLeavesOldOrNew();
    void killedAtRandomMomentsLeavesOldOrNew();
    void killedWhilePuttingBackStillPutsBack();
    void failedWriteOrFsyncPutsBackAndSaysWhy_data();
    void failedWriteOrFsyncPutsBackAndSaysWhy();
    void failedPutBackKeepsTheJournalForTheNextOpen_data();
    void failedPutBackKeepsTheJournalForTheNextOpen();
    void unusableJournalOpensReadOnly_data();
    void unusableJournalOpensReadOnly();
    void lockedFileIsRefusedWithNothingWritten();
    void readerWaitsForASaveAndSeesItWhole();
    void journalIsPutBackOnlyOntoItsFile_data();
    void journalIsPutBackOnlyOntoItsFile();
    void everyNameOfTheFileFindsItsJournal();
    void fileReplacedDuringTheSaveIsReported();
    void folderSyncAfterTheDeletionFailsOnADoneSave();
    void undeletableJournalOpensReadOnly();
    void bytesChangedSinceReadAreRefused();
    void overlappingReadsOnACoarseClockAreChecked();
    void fileSizeLimitFailsTheWriteAndPutsBack();
    void journalAnotherUserCouldHaveWrittenIsNeverPutBack_data();
    void journalAnotherUserCouldHaveWrittenIsNeverPutBack();
    void journalIsFoundFromAnotherFolder_data();
    void journalIsFoundFromAnotherFolder();
    void newFileInTheOldOnesInodeIsNotPutBack();
    void journalOverTheLimitIsRefusedBeforeAnything();
    void runsThatCannotBelongToTheImageAreRefused_data();
    void runsThatCannotBelongToTheImageAreRefused();

private:
    // Opens the image as every front end does and checks what the interrupted save left.
    void expectOldOrNew(const QByteArray &old, const QByteArray &edited, const QString &context);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_state;   // the journal index of this test alone
    QString m_path;
};

void TestSaveJournal::init()
{
    NoFaults();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("0032_0001.seem"));
    m_state = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_state->path()));
}

void TestSaveJournal::expectOldOrNew(const QByteArray &old, const QByteArray &edited, const QString &context)
{
    SeemFile image;
    const JournalNotice notice = image.open(m_path);
    const QByteArray now = FileBytes(m_path);
    QVERIFY2(now == old || now == edited, qPrintable(context + QStringLiteral(": a mix of old and new bytes")));
    QVERIFY2(notice.kind != JournalNotice::Kind::RolledBack || now == old, qPrintable(context));
    QVERIFY2(!image.isReadOnly(), qPrintable(context));
    QVERIFY2(QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral("journal")).isEmpty(),
             qPrintable(context + QStringLiteral(": a journal was left behind")));
}

void TestSaveJournal::killedAtEveryFileChangeLeavesOldOrNew_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("stride");
    QTest::addColumn<int>("samples");   // 0: every file change
    QTest::newRow("12 runs, every change") << 96 << 8 << 0;
    QTest::newRow("4096 runs, a sample") << 65536 << 16 << 40;
}

void TestSaveJournal::killedAtEveryFileChangeLeavesOldOrNew()
{
    QFETCH(int, size);
    QFETCH(int, stride);
    QFETCH(int, samples);
    const QByteArray old = OldImage(size);
    const QByteArray edited = NewImage(old, stride);
    QVERIFY(WriteFileBytes(m_path, old));
    const int changes = FileChangesOfSave(m_path, edited);
    QCOMPARE(changes, IndexFirst + 5 + (size + stride - 2) / stride + 3 + IndexLast);   // journal, runs, fsync, deleted

    // The first and last changes (journal and its deletion) always, a spread of the runs.
    QVector<int> killAt;
    for (int n = 1; n <= changes; ++n)
        if (samples == 0 || n <= IndexFirst + 7 || n > changes - 4 - IndexLast || n % (changes / samples) == 0)
            killAt.append(n);
    for (int n : killAt) {
        const QString context = QStringLiteral("killed at change %1 of %2").arg(n).arg(changes);
        QVERIFY(WriteFileBytes(m_path, old));
        QVERIFY2(KilledBySigkill(InChild([&] { SaveEdits(m_path, edited); }, n)), qPrintable(context));
        expectOldOrNew(old, edited, context);
        // Until its journal is deleted the save is not done, and is put back.
        QVERIFY2(FileBytes(m_path) == (n < changes - IndexLast ? old : edited), qPrintable(context));
    }
}

void TestSaveJournal::killedAtRandomMomentsLeavesOldOrNew()
{
    const QByteArray old = OldImage(65536);
    const QByteArray edited = NewImage(old, 16);
    QVERIFY(WriteFileBytes(m_path, old));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(InChild([&] { SaveEdits(m_path, edited); }), 0);
    const qint64 saveUs = qMax<qint64>(timer.nsecsElapsed() / 1000, 1000);

    QRandomGenerator random(20261207);
    for (int round = 0; round < 12; ++round) {
        QVERIFY(WriteFileBytes(m_path, old));
        const qint64 delayUs = random.bounded(saveUs);
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                SaveEdits(m_path, edited);
            } catch (...) {
            }
            ::_exit(0);
        }
        ::usleep(useconds_t(delayUs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        expectOldOrNew(old, edited, QStringLiteral("killed after %1 us").arg(delayUs));
    }
}

void TestSaveJournal::killedWhilePuttingBackStillPutsBack()
{
    const QByteArray old = OldImage(96);
    const QByteArray edited = NewImage(old, 8);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, edited);
    const QByteArray mixed = FileBytes(m_path);
    QVERIFY(mixed != old && mixed != edited);
    // The put-back at open writes 12 runs and fsyncs: killed at any of them, the next
    // open puts back again.
    for (int n = 1; n <= 13; ++n) {
        QVERIFY(KilledBySigkill(InChild(
            [&] {
                SeemFile image;
                image.openReadOnly(m_path);
            },
            n)));
        QVERIFY(QFileInfo::exists(JournalPathOf(m_path)));
    }
    SeemFile image;
    QCOMPARE(int(image.openReadOnly(m_path).kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(FileBytes(m_path), old);
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
}

void TestSaveJournal::failedWriteOrFsyncPutsBackAndSaysWhy_data()
{
    QTest::addColumn<int>("failingChange");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("flushing");
    // Three runs: index entry 1-5, journal 6-10, runs 11-13, fsync 14, journal deleted 15, folder 16.
    QTest::newRow("index entry cannot be created")
        << 1 << int(EROFS) << int(ErrNo::JournalUnwritable) << "Read-only file system" << false;
    QTest::newRow("journal cannot be created")
        << IndexFirst + 1 << int(EROFS) << int(ErrNo::JournalUnwritable) << "Read-only file system" << false;
    QTest::newRow("journal cannot be written")
        << IndexFirst + 2 << int(ENOSPC) << int(ErrNo::JournalUnwritable) << "No space left on device" << false;
    QTest::newRow("journal's folder not synced")
        << IndexFirst + 5 << int(EIO) << int(ErrNo::JournalUnwritable) << "Input/output error" << false;
    QTest::newRow("second run") << IndexFirst + 7 << int(ENOSPC) << int(ErrNo::PathFileAccess)
                                << "No space left on device" << false;
    QTest::newRow("fsync after the writes")
        << IndexFirst + 9 << int(EIO) << int(ErrNo::PathFileAccess) << "Input/output error" << true;
    QTest::newRow("journal not deleted") << IndexFirst + 10 << int(EIO) << int(ErrNo::PathFileAccess)
                                         << "Input/output error" << true;
}

void TestSaveJournal::failedWriteOrFsyncPutsBackAndSaysWhy()
{
    QFETCH(int, failingChange);
    QFETCH(int, error);
    QFETCH(int, number);
    QFETCH(QString, reason);
    QFETCH(bool, flushing);
    ThreeRunEdit edit(m_path);
    const SaveError e = edit.saveFailing(failingChange, error, 1);
    QCOMPARE(e.number(), number);
    QCOMPARE(e.reason, reason);
    QCOMPARE(e.stage == SaveError::Stage::Flushing, flushing);
    QCOMPARE(FileBytes(m_path), edit.old);
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
    // The edits are still pending: the same save succeeds once the cause is gone.
    QCOMPARE(edit.pending->pendingCount(), 3);
    edit.image.save(*edit.pending);
    QCOMPARE(FileBytes(m_path), edit.edited);
}

void TestSaveJournal::failedPutBackKeepsTheJournalForTheNextOpen_data()
{
    QTest::addColumn<int>("failingChange");
    QTest::addColumn<int>("failing");
    QTest::newRow("second run, and every change after it") << IndexFirst + 7 << 1000000;
    // The journal not deleted, and the first put-back write refused: the journal stays.
    QTest::newRow("journal not deleted") << IndexFirst + 10 << 2;
}

void TestSaveJournal::failedPutBackKeepsTheJournalForTheNextOpen()
{
    QFETCH(int, failingChange);
    QFETCH(int, failing);
    ThreeRunEdit edit(m_path);
    const SaveError e = edit.saveFailing(failingChange, EIO, failing);
    QCOMPARE(e.number(), int(ErrNo::SaveDamaged));
    QCOMPARE(e.reason, QStringLiteral("Input/output error"));
    QCOMPARE(e.putBackReason, QStringLiteral("Input/output error"));
    QCOMPARE(e.journalPath, JournalPathOf(m_path));
    QVERIFY(FileBytes(m_path) != edit.old);
    edit.image.close();

    SeemFile again;
    const JournalNotice notice = again.open(m_path);
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(notice.imagePath, m_path);
    QCOMPARE(FileBytes(m_path), edit.old);
    QVERIFY(!again.isReadOnly());
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
}

void TestSaveJournal::unusableJournalOpensReadOnly_data()
{
    QTest::addColumn<QString>("harm");
    QTest::addColumn<int>("why");
    QTest::newRow("journal cut short") << "cut" << int(JournalNotice::Why::Damaged);
    QTest::newRow("journal byte flipped") << "flip" << int(JournalNotice::Why::Damaged);
    QTest::newRow("image changed since") << "image" << int(JournalNotice::Why::OtherContents);
    QTest::newRow("image resized since") << "resize" << int(JournalNotice::Why::OtherContents);
}

void TestSaveJournal::unusableJournalOpensReadOnly()
{
    QFETCH(QString, harm);
    QFETCH(int, why);
    const QByteArray old = OldImage(96);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, NewImage(old, 8));
    const QString journalPath = JournalPathOf(m_path);
    QByteArray journal = FileBytes(journalPath);
    QByteArray image = FileBytes(m_path);
    if (harm == QLatin1String("cut"))
        journal.chop(40);
    else if (harm == QLatin1String("flip"))
        journal[journal.size() / 2] = char(journal.at(journal.size() / 2) ^ 0x10);
    else if (harm == QLatin1String("image"))
        image[9] = char(image.at(9) ^ 0x55);   // a journaled byte, neither old nor new
    else
        image.append('\0');
    QVERIFY(WriteFileBytes(journalPath, journal));
    QVERIFY(WriteFileBytes(m_path, image));

    SeemFile file;
    const JournalNotice notice = file.open(m_path);
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
    QCOMPARE(int(notice.why), why);
    QCOMPARE(notice.journalPath, journalPath);
    QVERIFY(file.isReadOnly());
    QCOMPARE(FileBytes(m_path), image);
    QCOMPARE(FileBytes(journalPath), journal);
}

void TestSaveJournal::lockedFileIsRefusedWithNothingWritten()
{
    const QByteArray old = OldImage(24);
    QVERIFY(WriteFileBytes(m_path, old));
    SeemFile image;
    image.open(m_path);
    PendingWrites pending(image);
    pending.write(3, QByteArray("\x01", 1));
    {
        const HeldLock other(m_path);
        QVERIFY(other.held);
        QVERIFY(ThrowsNumber(ErrNo::FileBusy, [&] { image.save(pending); }));
        QCOMPARE(FileBytes(m_path), old);
        QCOMPARE(pending.pendingCount(), 1);
        // A reader waits a moment for the save, then refuses rather than read a mix.
        SeemFile reader;
        QVERIFY(ThrowsNumber(ErrNo::FileBusy, [&] { reader.openReadOnly(m_path); }));
    }
    image.save(pending);
    QCOMPARE(FileBytes(m_path).at(3), '\x01');
}

void TestSaveJournal::bytesChangedSinceReadAreRefused()
{
    // What the edit was based on is compared byte by byte under the lock: the file's
    // times alone would miss a second writer within one step of the clock.
    ReadBasis basis;
    basis.record(4, QByteArray("abcd"));
    basis.record(6, QByteArray("XYZ"));   // overlaps: the first read of 6 and 7 stays, 8 is kept
    basis.record(9, QByteArray("q"));     // touches: joins the span
    QVERIFY(basis.agrees(0, QByteArray("0123abcd89")) == false);
    QVERIFY(basis.agrees(0, QByteArray("0123abcdZq")));
    QVERIFY(!basis.agrees(7, QByteArray("dQ")));
    QVERIFY(!basis.agrees(5, QByteArray("bX")));
    basis.update(5, QByteArray("BC"));
    QVERIFY(basis.agrees(4, QByteArray("aBCdZq")));
    QVERIFY(basis.agrees(12, QByteArray("anything")));
}

void TestSaveJournal::readerWaitsForASaveAndSeesItWhole()
{
    // Another program's save holds the lock while its first half is written: a reader
    // opening meanwhile waits, and sees the whole new image.
    const QByteArray old = OldImage(4096);
    const QByteArray edited = NewImage(old, 2);
    QVERIFY(WriteFileBytes(m_path, old));
    int halfWritten[2];
    QCOMPARE(::pipe(halfWritten), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const HeldLock lock(m_path);
        QFile file(m_path);
        file.open(QIODevice::ReadWrite);
        file.write(edited.left(2048));
        file.flush();
        ::write(halfWritten[1], "h", 1);
        ::usleep(300000);
        file.write(edited.mid(2048));
        file.flush();
        ::_exit(lock.held ? 0 : 1);
    }
    char told = 0;
    QCOMPARE(::read(halfWritten[0], &told, 1), ssize_t(1));
    SeemFile reader;
    reader.openReadOnly(m_path);
    QCOMPARE(reader.read(0, 4096), edited);
    int status = 0;
    ::waitpid(child, &status, 0);
    QCOMPARE(status, 0);
}

void TestSaveJournal::journalIsPutBackOnlyOntoItsFile_data()
{
    QTest::addColumn<bool>("moved");
    QTest::addColumn<int>("why");
    QTest::newRow("another image of the same size copied over") << false << int(JournalNotice::Why::OtherContents);
    QTest::newRow("another image moved over") << true << int(JournalNotice::Why::Damaged);   // not used
}

void TestSaveJournal::journalIsPutBackOnlyOntoItsFile()
{
    QFETCH(bool, moved);
    QFETCH(int, why);
    const QByteArray old = OldImage(96);
    QVERIFY(WriteFileBytes(m_path, old));
    const QString journalPath = JournalPathOf(m_path);
    InterruptSave(m_path, NewImage(old, 8));
    const QByteArray journal = FileBytes(journalPath);
    QByteArray fresh = NewImage(old, 3);   // a fresh read-out of the phone
    if (moved) {
        const QString other = m_dir->filePath(QStringLiteral("fresh.seem"));
        QVERIFY(WriteFileBytes(other, fresh));
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(m_path).constData()) == 0);
    } else {
        QVERIFY(WriteFileBytes(m_path, fresh));
    }
    for (int open = 0; open < 2; ++open) {
        SeemFile file;
        const JournalNotice notice = file.open(m_path);
        if (moved) {   // another inode: the journal names another file, and is left for it
            QCOMPARE(int(notice.kind), int(JournalNotice::Kind::None));
            QCOMPARE(FileBytes(m_path), fresh);
            QCOMPARE(FileBytes(journalPath), journal);
            continue;
        }
        QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
        QCOMPARE(int(notice.why), why);
        QCOMPARE(notice.journalPath, journalPath);
        QCOMPARE(notice.journalImageName, m_path);
        QVERIFY(file.isReadOnly());
        QCOMPARE(FileBytes(m_path), fresh);
        QCOMPARE(FileBytes(journalPath), journal);
    }
}

void TestSaveJournal::everyNameOfTheFileFindsItsJournal()
{
    // A save killed through one name is put back through a hard link ...
    const QByteArray old = OldImage(96);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, NewImage(old, 8));
    const QString link = m_dir->filePath(QStringLiteral("link.seem"));
    QVERIFY(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()) == 0);
    SeemFile byLink;
    QCOMPARE(int(byLink.open(link).kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(FileBytes(m_path), old);

    // ... and two names that differ in a byte that is not UTF-8 keep journals of their own.
    const QString first = FileNameFromNative(QFile::encodeName(m_dir->path()) + "/a\xff.seem");
    const QString second = FileNameFromNative(QFile::encodeName(m_dir->path()) + "/a\xfe.seem");
    for (const QString &name : {first, second}) {
        const int fd = ::open(NativeFileName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0 && ::write(fd, old.constData(), size_t(old.size())) == old.size());
        ::close(fd);
    }
    QVERIFY(JournalPathOf(first) != JournalPathOf(second));
    InterruptSave(first, NewImage(old, 8));
    SeemFile neighbour;
    QCOMPARE(int(neighbour.open(second).kind), int(JournalNotice::Kind::None));
    QVERIFY(!neighbour.isReadOnly());
    SeemFile own;
    QCOMPARE(int(own.open(first).kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(own.read(0, 96), old);
    for (const QString &name : {first, second})   // QTemporaryDir cannot name them to remove them
        ::unlink(NativeFileName(name).constData());
}

void TestSaveJournal::fileReplacedDuringTheSaveIsReported()
{
    // Renamed away between the writes and the last sync, another file put in its place:
    // the save is no success, the changes are in the file that was moved.
    ThreeRunEdit edit(m_path);
    const QString moved = m_path + QStringLiteral(".moved");
    FileChanges::Faults faults;
    faults.actAt = FileChanges::CallCount() + IndexFirst + 9;   // journal 6-10, runs 11-13, fsync 14
    faults.act = [&] {
        ::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(moved).constData());
        WriteFileBytes(m_path, edit.old);
    };
    FileChanges::SetFaults(faults);
    SaveError thrown(0, SaveError::Stage::Locking, QString(), QString());
    try {
        edit.image.save(*edit.pending);
    } catch (const SaveError &e) {
        thrown = e;
    }
    NoFaults();
    QCOMPARE(thrown.number(), int(ErrNo::FileReplaced));
    QVERIFY(thrown.saved());
    QCOMPARE(FileBytes(moved), edit.edited);
    QCOMPARE(FileBytes(m_path), edit.old);
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral("journal")).isEmpty());
}

void TestSaveJournal::folderSyncAfterTheDeletionFailsOnADoneSave()
{
    ThreeRunEdit edit(m_path);
    const SaveError e = edit.saveFailing(IndexFirst + 11, EIO, 1);   // journal 6-10, runs 11-13, fsync 14, deleted 15
    QCOMPARE(e.number(), int(ErrNo::SavedFolderUnsynced));
    QCOMPARE(e.reason, QStringLiteral("Input/output error"));
    QCOMPARE(FileBytes(m_path), edit.edited);
    QCOMPARE(edit.pending->pendingCount(), 0);
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
}

void TestSaveJournal::undeletableJournalOpensReadOnly()
{
    const QByteArray old = OldImage(96);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, NewImage(old, 8));
    FailFrom(14, EACCES, 1);   // put back: 12 runs, fsync, then the journal's deletion
    SeemFile file;
    const JournalNotice notice = file.open(m_path);
    NoFaults();
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(notice.undeletableReason, QStringLiteral("Permission denied"));
    QVERIFY(file.isReadOnly());
    QCOMPARE(FileBytes(m_path), old);
    SeemFile again;   // once it can be deleted, the file opens as it is
    QCOMPARE(int(again.open(m_path).kind), int(JournalNotice::Kind::RolledBack));
    QVERIFY(!again.isReadOnly());
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
}

void TestSaveJournal::overlappingReadsOnACoarseClockAreChecked()
{
    // File times that do not move: only the bytes tell that a second writer changed a byte
    // of a field read twice, in overlapping spans.
    const QByteArray old = OldImage(64);
    QVERIFY(WriteFileBytes(m_path, old));
    FileChanges::Faults frozen;
    frozen.frozenTimes = true;
    FileChanges::SetFaults(frozen);
    SeemFile first;
    first.open(m_path);
    PendingWrites pending(first);
    pending.read(4, 8);
    pending.read(8, 8);
    pending.write(5, QByteArray("\x01", 1));
    QByteArray second = old;
    second[14] = char(~old.at(14));
    SaveEdits(m_path, second);
    QVERIFY(ThrowsNumber(ErrNo::FileChanged, [&] { first.save(pending); }));
    NoFaults();
    QCOMPARE(FileBytes(m_path), second);
}

void TestSaveJournal::fileSizeLimitFailsTheWriteAndPutsBack()
{
    // The journal fits below the limit, the run near the end of the image does not. The
    // child restores the default action of SIGXFSZ, which would kill it.
    const QByteArray old = OldImage(65536);
    QByteArray edited = old;
    edited[100] = char(~old.at(100));
    edited[60000] = char(~old.at(60000));
    QVERIFY(WriteFileBytes(m_path, old));
    int pipeEnds[2];
    QCOMPARE(::pipe(pipeEnds), 0);
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{32768, 32768};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SaveEdits(m_path, edited);
        } catch (const SaveError &e) {
            const QByteArray told = QByteArray::number(e.number()) + ' ' + e.reason.toUtf8();
            ::write(pipeEnds[1], told.constData(), size_t(told.size()));
        }
    });
    ::close(pipeEnds[1]);
    char told[200] = {};
    ::read(pipeEnds[0], told, sizeof told - 1);
    ::close(pipeEnds[0]);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the child died");
    QCOMPARE(QString::fromUtf8(told), QStringLiteral("75 File too large"));
    QCOMPARE(FileBytes(m_path), old);
    QVERIFY(!QFileInfo::exists(JournalPathOf(m_path)));
}

void TestSaveJournal::journalAnotherUserCouldHaveWrittenIsNeverPutBack_data()
{
    QTest::addColumn<QString>("harm");
    QTest::addColumn<int>("distrust");   // -1: none, the journal is put back
    QTest::newRow("the user's own") << "" << -1;
    QTest::newRow("another user's") << "owner" << int(JournalNotice::Distrust::OtherOwner);
    QTest::newRow("writable by others") << "mode" << int(JournalNotice::Distrust::WritableByOthers);
    QTest::newRow("a second name") << "link" << int(JournalNotice::Distrust::SeveralNames);
}

void TestSaveJournal::journalAnotherUserCouldHaveWrittenIsNeverPutBack()
{
    // A journal planted beside the image, with hashes its maker worked out, that would put
    // his bytes into the image: used only when nobody but the user could have made it.
    QFETCH(QString, harm);
    QFETCH(int, distrust);
    const QByteArray image = OldImage(96);
    QVERIFY(WriteFileBytes(m_path, image));
    const QByteArray planted = QByteArray("PLANTED-BY-OTHER") + image.mid(16);
    WriteJournalOf(m_path, JournalImageOf(m_path), planted, image, {JournalRun{0, planted.left(16), image.left(16)}});
    const QByteArray journal = QFile::encodeName(JournalPathOf(m_path));
    if (harm == QLatin1String("owner")) {
        if (::geteuid() != 0)
            QSKIP("giving the journal to another user needs root");
        QCOMPARE(::chown(journal.constData(), 65534, 65534), 0);
    } else if (harm == QLatin1String("mode")) {
        QCOMPARE(::chmod(journal.constData(), 0622), 0);
    } else if (harm == QLatin1String("link")) {
        QCOMPARE(::link(journal.constData(), (journal + ".second").constData()), 0);
    }

    for (int open = 0; open < 2; ++open) {   // and again at every later open
        SeemFile file;
        const JournalNotice notice = file.open(m_path);
        if (distrust < 0) {
            QCOMPARE(int(notice.kind), int(JournalNotice::Kind::RolledBack));
            QCOMPARE(FileBytes(m_path), planted);
            return;
        }
        QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
        QCOMPARE(int(notice.why), int(JournalNotice::Why::Untrusted));
        QCOMPARE(int(notice.distrust), distrust);
        QCOMPARE(notice.journalPath, FileNameFromNative(journal));
        if (harm == QLatin1String("owner"))
            QCOMPARE(notice.journalOwner, QStringLiteral("nobody"));
        QVERIFY(file.isReadOnly());
        QCOMPARE(FileBytes(m_path), image);
    }
}

void TestSaveJournal::journalIsFoundFromAnotherFolder_data()
{
    QTest::addColumn<bool>("moved");
    QTest::newRow("a hard link in another folder") << false;
    QTest::newRow("moved to another folder") << true;
}

void TestSaveJournal::journalIsFoundFromAnotherFolder()
{
    QFETCH(bool, moved);
    QTemporaryDir other;
    const QString elsewhere = other.filePath(QStringLiteral("copy.seem"));
    const QByteArray old = OldImage(96);
    const QByteArray edited = NewImage(old, 8);
    const auto reach = [&] {
        const QByteArray from = QFile::encodeName(m_path);
        const QByteArray to = QFile::encodeName(elsewhere);
        return moved ? ::rename(from.constData(), to.constData()) : ::link(from.constData(), to.constData());
    };

    // Killed during its writes, the save is put back through the other name ...
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, edited);
    const QString journal = JournalPathOf(m_path);
    QCOMPARE(reach(), 0);
    SeemFile file;
    QCOMPARE(int(file.open(elsewhere).kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(FileBytes(elsewhere), old);
    QVERIFY(!file.isReadOnly());
    QVERIFY(!QFileInfo::exists(journal));
    file.close();

    // ... and a journal that is lost leaves no silent mix: the file opens read-only.
    QFile::remove(elsewhere);
    QFile::remove(m_path);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, edited);
    const QByteArray mixed = FileBytes(m_path);
    QVERIFY(QFile::remove(JournalPathOf(m_path)));
    QCOMPARE(reach(), 0);
    const JournalNotice notice = file.open(elsewhere);
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
    QCOMPARE(int(notice.why), int(JournalNotice::Why::Missing));
    QVERIFY(file.isReadOnly());
    QCOMPARE(FileBytes(elsewhere), mixed);
}

void TestSaveJournal::newFileInTheOldOnesInodeIsNotPutBack()
{
    // A save killed in its writes; the user deletes the image and copies a fresh read-out
    // in its place, whose bytes all hold the values the save was writing. The system may
    // give the new file the old inode number: the journal would fit it byte for byte.
    const QByteArray old = OldImage(96);
    const QByteArray edited = NewImage(old, 8);
    QVERIFY(WriteFileBytes(m_path, old));
    InterruptSave(m_path, edited);
    const JournalImage before = JournalImageOf(m_path);
    if (before.birthNs < 0 && before.generation < 0)
        QSKIP("this file system tells neither birth times nor inode generations");
    const QString journal = JournalPathOf(m_path);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(WriteFileBytes(m_path, edited));
    JournalImage reused = JournalImageOf(m_path);
    if (reused.inode != before.inode) {   // as if the number had been reused
        QVERIFY(QFile::remove(journal));
        reused.birthNs = before.birthNs;
        reused.generation = before.generation;
        WriteJournalOf(m_path, reused, old, edited, RunsBetween(old, edited));
    }
    SeemFile file;
    const JournalNotice notice = file.open(m_path);
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
    QCOMPARE(int(notice.why), int(JournalNotice::Why::NotItsFile));
    QVERIFY(file.isReadOnly());
    QCOMPARE(FileBytes(m_path), edited);
}

void TestSaveJournal::journalOverTheLimitIsRefusedBeforeAnything()
{
    // 2,048 runs of a byte take about 28 KB of journal, over a limit of 8 KB.
    const QByteArray old = OldImage(4096);
    const QByteArray edited = NewImage(old, 2);
    QVERIFY(WriteFileBytes(m_path, old));
    FileChanges::Faults lowLimit;
    lowLimit.journalLimit = 8192;
    FileChanges::SetFaults(lowLimit);
    SeemFile image;
    image.open(m_path);
    PendingWrites pending(image);
    PendEdits(image, pending, edited);
    const int changesBefore = FileChanges::CallCount();
    SaveError refused(0, SaveError::Stage::Locking, QString(), QString());
    try {
        image.save(pending);
    } catch (const SaveError &e) {
        refused = e;
    }
    QCOMPARE(refused.number(), int(ErrNo::JournalTooLarge));
    QCOMPARE(refused.journalLimit, qint64(8192));
    QVERIFY(refused.journalBytes > 2048 * 14);
    QCOMPARE(FileChanges::CallCount(), changesBefore);   // not one file change
    QCOMPARE(FileBytes(m_path), old);
    QCOMPARE(pending.pendingCount(), 2048);
    image.close();

    // The reader keeps the same limit: a larger journal is refused as damaged, unread.
    NoFaults();
    InterruptSave(m_path, edited);
    FileChanges::SetFaults(lowLimit);
    SeemFile again;
    const JournalNotice notice = again.open(m_path);
    NoFaults();
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
    QCOMPARE(int(notice.why), int(JournalNotice::Why::Damaged));
    QCOMPARE(int(SeemFile().open(m_path).kind), int(JournalNotice::Kind::RolledBack));
    QCOMPARE(FileBytes(m_path), old);
}

void TestSaveJournal::runsThatCannotBelongToTheImageAreRefused_data()
{
    QTest::addColumn<QVector<JournalRun>>("runs");
    const auto run = [](qint64 offset, const char *before, const char *after) {
        return JournalRun{offset, QByteArray(before), QByteArray(after)};
    };
    QTest::newRow("an empty run") << QVector<JournalRun>{run(2, "", "")};
    QTest::newRow("overlapping runs") << QVector<JournalRun>{run(2, "ab", "cd"), run(3, "xy", "zw")};
    QTest::newRow("runs out of order") << QVector<JournalRun>{run(8, "ab", "cd"), run(2, "xy", "zw")};
    QTest::newRow("a run past the end") << QVector<JournalRun>{run(15, "ab", "cd")};
    QVector<JournalRun> many;
    for (int i = 0; i <= 16; ++i)
        many.append(run(i, "a", "b"));
    QTest::newRow("more runs than bytes") << many;
}

void TestSaveJournal::runsThatCannotBelongToTheImageAreRefused()
{
    QFETCH(QVector<JournalRun>, runs);
    const QByteArray image = OldImage(16);
    QVERIFY(WriteFileBytes(m_path, image));
    WriteJournalOf(m_path, JournalImageOf(m_path), image, image, runs);
    SeemFile file;
    const JournalNotice notice = file.open(m_path);
    QCOMPARE(int(notice.kind), int(JournalNotice::Kind::Kept));
    QCOMPARE(int(notice.why), int(JournalNotice::Why::Damaged));
    QCOMPARE(FileBytes(m_path), image);
}

QTEST_GUILESS_MAIN(TestSaveJournal)
#include "tst_savejournal.moc"
