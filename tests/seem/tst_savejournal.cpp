// A save of a SEEM file leaves the old or the new image whatever stops it: a kill at any
// of its file changes or at any moment, a failing write or fsync, a file-size limit.
#include "core/BvlError.h"
#include "seem/SaveJournal.h"
#include "seem/SeemFile.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"
#include "support/SaveFaults.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

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

} // namespace

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
    void bytesChangedSinceReadAreRefused();
    void fileSizeLimitFailsTheWriteAndPutsBack();

private:
    // Opens the image as every front end does and checks what the interrupted save left.
    void expectOldOrNew(const QByteArray &old, const QByteArray &edited, const QString &context);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSaveJournal::init()
{
    NoFaults();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("0032_0001.seem"));
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
    QCOMPARE(changes, 5 + (size + stride - 2) / stride + 3);   // journal, runs, fsync, journal deleted

    // The first and last changes (journal and its deletion) always, a spread of the runs.
    QVector<int> killAt;
    for (int n = 1; n <= changes; ++n)
        if (samples == 0 || n <= 7 || n > changes - 4 || n % (changes / samples) == 0)
            killAt.append(n);
    for (int n : killAt) {
        const QString context = QStringLiteral("killed at change %1 of %2").arg(n).arg(changes);
        QVERIFY(WriteFileBytes(m_path, old));
        QVERIFY2(KilledBySigkill(InChild([&] { SaveEdits(m_path, edited); }, n)), qPrintable(context));
        expectOldOrNew(old, edited, context);
        // Until its journal is deleted the save is not done, and is put back.
        QVERIFY2(FileBytes(m_path) == (n < changes ? old : edited), qPrintable(context));
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
        QVERIFY(KilledBySigkill(InChild([&] { SeemFile image; image.openReadOnly(m_path); }, n)));
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
    // Three runs: journal 1-5, runs 6-8, fsync 9, journal deleted 10, folder 11.
    QTest::newRow("journal cannot be created") << 1 << int(EROFS) << int(ErrNo::JournalUnwritable) << "Read-only file system" << false;
    QTest::newRow("journal cannot be written") << 2 << int(ENOSPC) << int(ErrNo::JournalUnwritable) << "No space left on device" << false;
    QTest::newRow("journal's folder not synced") << 5 << int(EIO) << int(ErrNo::JournalUnwritable) << "Input/output error" << false;
    QTest::newRow("second run") << 7 << int(ENOSPC) << int(ErrNo::PathFileAccess) << "No space left on device" << false;
    QTest::newRow("fsync after the writes") << 9 << int(EIO) << int(ErrNo::PathFileAccess) << "Input/output error" << true;
    QTest::newRow("journal not deleted") << 10 << int(EIO) << int(ErrNo::PathFileAccess) << "Input/output error" << true;
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
    QTest::newRow("second run, and every change after it") << 7 << 1000000;
    // The journal deleted, its folder not synced, the first put-back write refused: the
    // journal is written again.
    QTest::newRow("after the journal was deleted") << 11 << 2;
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
        // Opening takes no lock when no save was interrupted.
        SeemFile reader;
        QCOMPARE(int(reader.openReadOnly(m_path).kind), int(JournalNotice::Kind::None));
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
    basis.record(6, QByteArray("XYZ"));   // overlaps: the first read stays
    QVERIFY(basis.agrees(0, QByteArray("0123abcd89")));
    QVERIFY(basis.agrees(7, QByteArray("dQ")));
    QVERIFY(!basis.agrees(5, QByteArray("bX")));
    basis.update(5, QByteArray("BC"));
    QVERIFY(basis.agrees(4, QByteArray("aBCd")));
    QVERIFY(basis.agrees(12, QByteArray("anything")));
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

QTEST_GUILESS_MAIN(TestSaveJournal)
#include "tst_savejournal.moc"
