#include "core/BvlError.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"
#include "seem/MemoryByteStore.h"
#include "seem/SeemFile.h"

#include <QtTest>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <cstdio>

namespace {

// Remembers the order of writes that reach it.
class RecordingStore : public MemoryByteStore
{
public:
    using MemoryByteStore::MemoryByteStore;
    void writeByte(qint64 offset, quint8 value) override
    {
        MemoryByteStore::writeByte(offset, value);
        offsets.append(offset);
    }
    QList<qint64> offsets;
};

} // namespace

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
    QCOMPARE(file.readByte(0), quint8(0x00));
    QCOMPARE(file.readByte(9), quint8(0x99));

    file.writeByte(3, 0xAB);
    file.writeByte(9, 0xCD);
    QCOMPARE(file.readByte(3), quint8(0xAB)); // a read after a write sees it
    file.flush();
    // Another reader sees the bytes at once, the rest of the file as it was.
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("001122AB4455667788CD"));
    file.close();
    QVERIFY(!file.isOpen());
    QCOMPARE(FileBytes(m_path), QByteArray::fromHex("001122AB4455667788CD"));
}

void TestSeemFile::neverGrows_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::newRow("at size") << qint64(10);
    QTest::newRow("far beyond") << (qint64(1) << 40);
    QTest::newRow("negative") << qint64(-1);
}

void TestSeemFile::neverGrows()
{
    QFETCH(qint64, offset);

    SeemFile file;
    file.open(m_path);
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.readByte(offset); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.writeByte(offset, 0xEE); }));
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
    QCOMPARE(file.readByte(1), quint8(0x11));
    file.writeByte(1, 0x5A);
    QCOMPARE(file.readByte(1), quint8(0x5A));
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
    file.writeByte(0, 0x01);
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
    QCOMPARE(file.readByte(9), quint8(0x99));
    QVERIFY(ThrowsNumber(ErrNo::FileReadOnly, [&] { file.checkWritable(); }));
    QVERIFY(ThrowsNumber(ErrNo::FileReadOnly, [&] { file.writeByte(0, 1); }));
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
    file.writeByte(0, 0x01); // our own writes never count as a change behind our back
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
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.readByte(0); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { file.writeByte(0, 1); }));
    file.flush(); // nothing to push
}

void TestSeemFile::pendingWritesStayPendingUntilCommit()
{
    RecordingStore target(QByteArray::fromHex("0011223344"));
    PendingWrites pending(target);
    QCOMPARE(pending.size(), 5);

    pending.writeByte(4, 0xA4);
    pending.writeByte(1, 0xA1);
    pending.writeByte(4, 0xB4); // the later write to a byte wins
    QCOMPARE(pending.pendingCount(), 2);
    QCOMPARE(pending.readByte(4), quint8(0xB4));
    QCOMPARE(pending.readByte(2), quint8(0x22));
    QCOMPARE(target.bytes(), QByteArray::fromHex("0011223344"));

    pending.commit();
    QCOMPARE(target.bytes(), QByteArray::fromHex("00A12233B4"));
    QCOMPARE(target.offsets, (QList<qint64>{1, 4}));
    QCOMPARE(pending.pendingCount(), 0);
}

void TestSeemFile::pendingWritesRefusePositionsBeyondEnd()
{
    MemoryByteStore target(QByteArray::fromHex("0011"));
    PendingWrites pending(target);
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.writeByte(2, 1); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.writeByte(-1, 1); }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { pending.readByte(2); }));
    QCOMPARE(pending.pendingCount(), 0);
}

QTEST_GUILESS_MAIN(TestSeemFile)
#include "tst_seemfile.moc"
