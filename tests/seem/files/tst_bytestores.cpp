// Every byte store keeps one contract, whatever holds its bytes: reads are cut short at
// the end and refuse a negative offset, writes inside the image land and read back,
// writes that reach past it throw 62 having written nothing, and the image never grows.
#include "core/BvlError.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/RecordingByteStore.h"
#include "seem/files/SeemFile.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QByteArray Image = QByteArray::fromHex("00112233445566778899AABBCCDDEEFF");

// A store of each kind over Image, with what it needs kept alive beside it.
struct Stores
{
    QTemporaryDir dir;
    SeemFile file;
    MemoryByteStore memory{Image};
    MemoryByteStore underPending{Image};
    MemoryByteStore underRecorder{Image};
    std::unique_ptr<PendingWrites> pending;
    std::unique_ptr<RecordingByteStore> recorder;

    ByteStore &make(const QString &kind)
    {
        if (kind == QLatin1String("SeemFile")) {
            const QString path = dir.filePath(QStringLiteral("0032_0001.seem"));
            WriteFileBytes(path, Image);
            file.open(path);
            return file;
        }
        if (kind == QLatin1String("PendingWrites")) {
            pending = std::make_unique<PendingWrites>(underPending);
            return *pending;
        }
        if (kind == QLatin1String("RecordingByteStore")) {
            recorder = std::make_unique<RecordingByteStore>(underRecorder);
            return *recorder;
        }
        return memory;
    }
};

}   // namespace

class TestByteStores : public QObject
{
    Q_OBJECT

private slots:
    void everyStoreKeepsTheContract_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"SeemFile", "PendingWrites", "MemoryByteStore", "RecordingByteStore"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void everyStoreKeepsTheContract()
    {
        QFETCH(QString, kind);
        Stores stores;
        ByteStore &store = stores.make(kind);

        QCOMPARE(store.size(), qint64(16));
        QCOMPARE(store.read(0, 16), Image);
        QCOMPARE(store.read(14, 8), Image.mid(14));   // cut short at the end
        QCOMPARE(store.read(16, 1), QByteArray());
        QCOMPARE(store.read(40, 1), QByteArray());
        QCOMPARE(store.read(3, 0), QByteArray());
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { store.read(-1, 2); }));
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { store.readByte(16); }));
        QCOMPARE(store.readByte(15), quint8(0xFF));

        store.write(2, QByteArray("\x01\x02", 2));
        store.write(15, QByteArray("\x7F", 1));
        store.write(4, QByteArray());
        QByteArray expected = Image;
        expected.replace(2, 2, QByteArray("\x01\x02", 2));
        expected[15] = '\x7F';
        QCOMPARE(store.read(0, 16), expected);

        // A write reaching past the end, or before the start, writes none of its bytes.
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { store.write(15, QByteArray("\x01\x02", 2)); }));
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { store.write(16, QByteArray("\x01", 1)); }));
        QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { store.write(-1, QByteArray("\x01\x02", 2)); }));
        QCOMPARE(store.read(0, 16), expected);
        store.flush();
        QCOMPARE(store.size(), qint64(16));
        QCOMPARE(store.read(0, 32), expected);
    }
};

QTEST_GUILESS_MAIN(TestByteStores)
#include "tst_bytestores.moc"
