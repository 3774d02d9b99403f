#include "core/BvlError.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/SeemFile.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// Remembers the writes that reach it, and fails the one numbered failAt (from 0).
class RecordingStore : public MemoryByteStore
{
public:
    using MemoryByteStore::MemoryByteStore;
    void write(qint64 offset, const QByteArray &bytes) override
    {
        if (writes.size() == failAt) {
            writes.append({offset, QByteArray()});
            throw BvlError(ErrNo::PathFileAccess, QStringLiteral("disk full"));
        }
        MemoryByteStore::write(offset, bytes);
        writes.append({offset, bytes});
    }
    void flush() override { ++flushes; }

    QList<QPair<qint64, QByteArray>> writes;
    int failAt = -1;
    int flushes = 0;
};

}   // namespace

class TestSeemFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsAndWritesInPlace();
    void neverGrows_data();
    void neverGrows();
    void openFailureKeepsPreviousFile_data();
    void openFailureKeepsPreviousFile();
    void openingAnotherFileReplacesTheFirst();
    void readOnlyFileShowsButRefusesWrites();
    void writesOnlyIntoTheFileThatWasOpened_data();
    void writesOnlyIntoTheFileThatWasOpened();
    void closedFileHasNoBytes();
    void pendingWritesStayPendingUntilCommit();
    void pendingWritesRefusePositionsBeyondEnd();
    void failedCommitPutsBackWhatItWrote();
    void failedCommitIntoFilePutsBackWhatItWrote_data();
    void failedCommitIntoFilePutsBackWhatItWrote();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSeemFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("0032_0001.seem"));
    QVERIFY(WriteFileBytes(m_path, QByteArray::fromHex("00112233445566778899")));
}

void TestSeemFile::readsAndWritesInPlace()
{
    SeemFile file;
    file.open(m_path);
    QVERIFY(file.isOpen());
    QCOMPARE(file.path(), m_path);
    QCOMPARE(file.size(), 10);
    QCOMPARE(file.read(0, 2), Hex("0011"));
    QCOMPARE(file.read(8, 5), Hex("8899"));   // cut short at the end

    file.write(3, Hex("ABAC"));
    file.write(9, Hex("CD"));
    QCOMPARE(file.read(2, 3), Hex("22ABAC"));   // a read after a write sees it
    QCOMPARE(file.size(), 10);
    file.flush();
    // Another reader sees the bytes at once, the rest of the file as it was.
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("001122ABAC55667788CD"));
    file.close();
    QVERIFY(!file.isOpen());
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("001122ABAC55667788CD"));
}

void TestSeemFile::neverGrows_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::newRow("at size") << qint64(10);
    QTest::newRow("straddling the end") << qint64(9);
    QTest::newRow("far beyond") << (qint64(1) << 40);
    QTest::newRow("negative") << qint64(-1);
}

void TestSeemFile::neverGrows()
{
    QFETCH(qint64, offset);

    SeemFile file;
    file.open(m_path);
    if (offset < 0)
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.read(offset, 1); }));
    else
        QCOMPARE(file.read(offset, 2), offset < 10 ? Hex("99") : QByteArray());
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.write(offset, Hex("EEEE")); }));
    file.close();
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("00112233445566778899"));
}

void TestSeemFile::openFailureKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");

    QTest::newRow("missing") << QStringLiteral("missing.seem") << int(ErrNo::FileNotFound);
    QTest::newRow("directory") << QStringLiteral("folder.seem") << int(ErrNo::NotRegularFile);
    QTest::newRow("fifo") << QStringLiteral("fifo.seem") << int(ErrNo::NotRegularFile);
}

void TestSeemFile::openFailureKeepsPreviousFile()
{
    QFETCH(QString, name);
    QFETCH(int, error);

    const QString bad = m_dir->filePath(name);
    if (name.startsWith(QLatin1String("folder")))
        QVERIFY(QDir().mkdir(bad));
    if (name.startsWith(QLatin1String("fifo")))
        QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);

    SeemFile file;
    file.open(m_path);
    QVERIFY(ThrowsNumber(error, [&] { file.open(bad); }));
    QVERIFY(file.isOpen());
    QCOMPARE(file.path(), m_path);
    QCOMPARE(file.read(1, 1), Hex("11"));
    file.write(1, Hex("5A"));
    QCOMPARE(file.read(1, 1), Hex("5A"));
    // Opening for reading and writing must not create the missing file.
    if (error == ErrNo::FileNotFound)
        QVERIFY(!QFileInfo::exists(bad));
}

void TestSeemFile::openingAnotherFileReplacesTheFirst()
{
    const QString second = m_dir->filePath(QStringLiteral("0032_0002.seem"));
    QVERIFY(WriteFileBytes(second, QByteArray::fromHex("FFEE")));

    SeemFile file;
    file.open(m_path);
    file.open(second);
    QCOMPARE(file.path(), second);
    QCOMPARE(file.size(), 2);
    file.write(0, Hex("01"));
    file.close();
    QCOMPARE(FileBytes(second), QByteArray::fromHex("01EE"));
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("00112233445566778899"));
}

void TestSeemFile::readOnlyFileShowsButRefusesWrites()
{
    // Whether the user may not write it or the caller asked for reading only, the
    // image reads as usual and every way of writing into it is refused.
    const QString locked = m_dir->filePath(QStringLiteral("locked.seem"));
    QVERIFY(WriteFileBytes(locked, QByteArray::fromHex("AABB")));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner));
    QFile probe(locked);
    const bool userMayWriteAnyway = probe.open(QIODevice::ReadWrite);
    probe.close();

    SeemFile file;
    if (!userMayWriteAnyway) {
        file.open(locked);
        QVERIFY(file.isReadOnly());
    }
    file.openReadOnly(m_path);
    QVERIFY(file.isReadOnly());
    QCOMPARE(file.read(9, 1), Hex("99"));
    QVERIFY(ThrowsNumber(ErrNo::FileReadOnly, [&] { file.checkWritable(); }));
    QVERIFY(ThrowsNumber(ErrNo::FileReadOnly, [&] { file.write(0, Hex("01")); }));
    file.flush();
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("00112233445566778899"));
}

void TestSeemFile::writesOnlyIntoTheFileThatWasOpened_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("replaced by another file") << "replaced";
    QTest::newRow("rewritten in place") << "rewritten";
    QTest::newRow("grown") << "grown";
}

void TestSeemFile::writesOnlyIntoTheFileThatWasOpened()
{
    QFETCH(QString, change);

    SeemFile file;
    file.open(m_path);
    file.write(0, Hex("01"));   // our own writes never count as a change behind our back
    file.checkWritable();
    file.flush();
    file.checkWritable();

    const QByteArray other = QByteArray::fromHex("FFFFFFFFFFFFFFFFFFFF");
    if (change == QLatin1String("deleted")) {
        QVERIFY(QFile::remove(m_path));
    } else if (change == QLatin1String("replaced")) {
        const QString fresh = m_path + QStringLiteral(".new");
        QVERIFY(WriteFileBytes(fresh, other));
        QVERIFY(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(m_path).constData()) == 0);
    } else {
        QFile outside(m_path);
        QVERIFY(outside.open(QIODevice::ReadWrite));
        outside.write(change == QLatin1String("grown") ? other + "X" : other);
    }
    QVERIFY(ThrowsNumber(ErrNo::FileChanged, [&] { file.checkWritable(); }));
}

void TestSeemFile::closedFileHasNoBytes()
{
    SeemFile file;
    QVERIFY(!file.isOpen());
    QCOMPARE(file.size(), 0);
    QCOMPARE(file.read(0, 1), QByteArray());
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.write(0, Hex("01")); }));
    file.flush();   // nothing to push
}

void TestSeemFile::pendingWritesStayPendingUntilCommit()
{
    RecordingStore target(QByteArray::fromHex("00112233445566"));
    PendingWrites pending(target);
    QCOMPARE(pending.size(), 7);

    pending.write(5, Hex("A5"));
    pending.write(1, Hex("A1"));
    pending.write(4, Hex("A4B5"));   // the later write to a byte wins
    pending.write(2, Hex("22"));     // what the target holds already
    pending.write(6, Hex("66"));
    QCOMPARE(pending.pendingCount(), 5);
    QCOMPARE(pending.read(3, 4), Hex("33A4B566"));
    QCOMPARE(pending.read(5, 9), Hex("B566"));
    QCOMPARE(target.bytes(), QByteArray::fromHex("00112233445566"));

    // One write per run of neighbouring bytes; the run 1..2 and the run 4..6 with it.
    pending.commit();
    QCOMPARE(target.bytes(), QByteArray::fromHex("00A12233A4B566"));
    QCOMPARE(target.writes, (QList<QPair<qint64, QByteArray>>{{1, Hex("A122")}, {4, Hex("A4B566")}}));
    QCOMPARE(pending.pendingCount(), 0);

    // A run the target holds already is not written again.
    pending.write(2, Hex("2233"));
    pending.commit();
    QCOMPARE(target.writes.size(), 2);
}

void TestSeemFile::pendingWritesRefusePositionsBeyondEnd()
{
    MemoryByteStore target(QByteArray::fromHex("0011"));
    PendingWrites pending(target);
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.write(2, Hex("01")); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.write(1, Hex("0102")); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.write(-1, Hex("01")); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.read(-1, 1); }));
    QCOMPARE(pending.read(2, 1), QByteArray());
    QCOMPARE(pending.pendingCount(), 0);
}

void TestSeemFile::failedCommitPutsBackWhatItWrote()
{
    const QByteArray original = Hex("00112233445566778899");
    for (int failAt = 0; failAt < 3; ++failAt) {
        RecordingStore target(original);
        target.failAt = failAt;
        PendingWrites pending(target);
        pending.write(1, Hex("A1A2"));
        pending.write(5, Hex("A5"));
        pending.write(8, Hex("A8A9"));
        QVERIFY(ThrowsNumber(ErrNo::PathFileAccess, [&] { pending.commit(); }));
        QCOMPARE(target.bytes().toHex(' '), original.toHex(' '));
        // The runs before, the failing one, and the original bytes of all of them put back.
        QCOMPARE(target.writes.size(), 2 * failAt + 2);
        QCOMPARE(target.flushes, 1);
        // Still pending: the same commit can be repeated once the cause is gone.
        QCOMPARE(pending.pendingCount(), 5);
    }
}

void TestSeemFile::failedCommitIntoFilePutsBackWhatItWrote_data()
{
    QTest::addColumn<qint64>("fileSizeLimit");
    QTest::newRow("last run refused") << qint64(8);
    QTest::newRow("last run written in part") << qint64(9);
}

void TestSeemFile::failedCommitIntoFilePutsBackWhatItWrote()
{
    // A file-size limit makes every write at or beyond it fail, as a full disk does.
    QFETCH(qint64, fileSizeLimit);

    SeemFile file;
    file.open(m_path);
    PendingWrites pending(file);
    pending.write(1, Hex("A1"));
    pending.write(4, Hex("A4A5"));
    pending.write(8, Hex("A8A9"));

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(fileSizeLimit);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int error = BvlErrorOf([&] { pending.commit(); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(error, int(ErrNo::PathFileAccess));
    QCOMPARE(FileBytes(m_path), Hex("00112233445566778899"));
    file.checkWritable();   // putting back was our own write, not a change behind our back
}

QTEST_GUILESS_MAIN(TestSeemFile)
#include "tst_seemfile.moc"
