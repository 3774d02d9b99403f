#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/CoreErrors.h"
#include "support/FileBytes.h"

#include <QtTest>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The one-checkbox file that this release saves: 68 bytes.
const QByteArray ExampleFile = QByteArray::fromHex("736563"
                                                   "03"
                                                   "0E00"
                                                   "312E30312E3530305F546176696B"
                                                   "3200"
                                                   "0100"
                                                   "0000"
                                                   "01000000"
                                                   "0000"
                                                   "0400"
                                                   "42656570"
                                                   "0000"
                                                   "00"
                                                   "00000000"
                                                   "0500"
                                                   "536F756E64"
                                                   "10000000"
                                                   "00000000"
                                                   "01"
                                                   "0000"
                                                   "0300"
                                                   "31A730");

SettingFileHeader exampleHeader()
{
    SettingFileHeader h;
    h.Magic = "sec";
    h.FileVersion = 3;
    h.ProgramVersion = VersionString();
    h.SEEMNr = 0x32;
    h.SEEMRec = 1;
    h.SettingCount = 1;
    return h;
}

SettingList exampleSettings()
{
    SettingStruct beep;
    beep.Name = "Beep";
    beep.Group = "Sound";
    beep.Type = quint8(SettingType::Checkbox);
    beep.Offset = 16;
    beep.BitMask = 0x01;
    beep.Values = "1§0";
    return {beep};
}

// Three settings using every field, negative numbers, an unknown type code and
// characters from the upper half of the code page.
SettingFileHeader richHeader()
{
    SettingFileHeader h = exampleHeader();
    h.ProgramVersion = "0.9_Old";
    h.SEEMNr = 0x7FFF;
    h.SEEMRec = -1;
    h.Phones = "Vaka 3, Vaka 3€";
    h.SettingCount = 3;
    h.Author = "Ånn";
    return h;
}

SettingList richSettings()
{
    SettingList list(3);
    list[0] = exampleSettings().first();
    list[0].Description = "Beeps when a key is pressed";
    list[1].Name = "Ring";
    list[1].Type = quint8(SettingType::ValueList);
    list[1].Group = "Sound\\Calls";
    list[1].BitMask = 0x30;
    list[1].ValueNames = "Soft§Loud§\u2019Off\u2019";
    list[1].Values = "0§16§48";
    list[1].UIIndex = 12345;
    list[2].Name = QString("Odd") + QChar(0x81);
    list[2].Type = 7;
    list[2].Group = "Misc";
    list[2].Offset = -2;
    list[2].MaxStringLength = 40;
    return list;
}

void readBytes(const QByteArray &bytes, SettingFileHeader &header, SettingList &settings)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ReadSettingStream(buffer, header, settings);
}

// What a caller holds before a read; a failed read must leave it exactly so.
SettingFileHeader callersHeader()
{
    SettingFileHeader h;
    h.Author = "previous file";
    return h;
}
const SettingList CallersList = SettingList(2);

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Hands out its bytes like a pipe: no size, no seeking.
class PipeDevice : public QIODevice
{
public:
    explicit PipeDevice(const QByteArray &bytes) : m_bytes(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = qMin<qint64>(maxSize, m_bytes.size() - m_next);
        memcpy(data, m_bytes.constData() + m_next, size_t(n));
        m_next += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_next = 0;
};

// A device that never ends, like /dev/zero.
class EndlessDevice : public QIODevice
{
public:
    EndlessDevice() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        memset(data, 0, size_t(maxSize));
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
};

}   // namespace

class TestSettingFile : public QObject
{
    Q_OBJECT
private slots:
    void encodesExampleByteForByte()
    {
        const QByteArray bytes = EncodeSettingFile(exampleHeader(), exampleSettings());
        QCOMPARE(bytes.size(), 68);
        QCOMPARE(bytes.toHex(' '), ExampleFile.toHex(' '));
    }

    void encodesEmptyTextsAndSeparator()
    {
        SettingFileHeader h = exampleHeader();
        h.ProgramVersion.clear();
        h.SettingCount = 3;
        QCOMPARE(EncodeSettingFile(h, SettingList(3)).size(), 90);

        SettingList one(1);
        one[0].ValueNames = "On§Off";
        QVERIFY(EncodeSettingFile(h, one).contains(QByteArray::fromHex("06004F6EA74F6666")));
    }

    void encodingRefusesWhatTheFormatCannotHold_data()
    {
        QTest::addColumn<SettingFileHeader>("header");
        QTest::addColumn<SettingList>("settings");
        QTest::addColumn<int>("error");
        const SettingFileHeader h = exampleHeader();
        const SettingList s = exampleSettings();
        SettingList cjk = s;
        cjk[0].Name = QString(QChar(0x4E2D));
        SettingFileHeader cjkAuthor = h;
        cjkAuthor.Author = QString(QChar(0x4E2D));
        SettingList longest = s;
        longest[0].Description = QString(65535, 'd');
        SettingList tooLong = s;
        tooLong[0].Description = QString(65536, 'd');
        SettingFileHeader shortMagic = h;
        shortMagic.Magic = "se";
        SettingFileHeader longMagic = h;
        longMagic.Magic = "secs";
        QTest::newRow("unencodable name") << h << cjk << 13;
        QTest::newRow("unencodable author") << cjkAuthor << s << 13;
        QTest::newRow("65535 bytes fit") << h << longest << 0;
        QTest::newRow("65536 bytes do not") << h << tooLong << 6;
        QTest::newRow("magic of 2") << shortMagic << s << 6;
        QTest::newRow("magic of 4") << longMagic << s << 6;
    }
    void encodingRefusesWhatTheFormatCannotHold()
    {
        QFETCH(SettingFileHeader, header);
        QFETCH(SettingList, settings);
        QFETCH(int, error);
        QCOMPARE(BvlErrorOf([&] { EncodeSettingFile(header, settings); }), error);
    }

    void readsExampleAndIgnoresTrailingBytes()
    {
        for (const QByteArray &bytes : {ExampleFile, ExampleFile + "trailing junk"}) {
            SettingFileHeader h;
            SettingList s;
            readBytes(bytes, h, s);
            QCOMPARE(h, exampleHeader());
            QCOMPARE(s, exampleSettings());
        }
    }

    // Saving a file read from disk changes nothing but the program version it carries.
    void readThenWriteChangesOnlyTheProgramVersion()
    {
        const QByteArray original = EncodeSettingFile(richHeader(), richSettings());
        SettingFileHeader h;
        SettingList s;
        readBytes(original, h, s);
        QCOMPARE(h, richHeader());
        QCOMPARE(s, richSettings());

        h.ProgramVersion = VersionString();
        QByteArray expected = original;
        expected.replace(QByteArray("\x07\x00"
                                    "0.9_Old",
                                    9),
                         QByteArray("\x0E\x00"
                                    "1.01.500_Tavik",
                                    16));
        QCOMPARE(EncodeSettingFile(h, s).toHex(' '), expected.toHex(' '));
    }

    void readsFromSequentialDevice()
    {
        PipeDevice pipe(ExampleFile);
        SettingFileHeader h;
        SettingList s;
        ReadSettingStream(pipe, h, s);
        QCOMPARE(s, exampleSettings());
    }

    void endlessDeviceIsRefusedNotReadForever()
    {
        EndlessDevice endless;
        SettingFileHeader h = callersHeader();
        SettingList s = CallersList;
        QCOMPARE(BvlErrorOf([&] { ReadSettingStream(endless, h, s); }), ErrNo::OutOfMemory);
        QCOMPARE(h, callersHeader());
    }

    // A file cut anywhere fails: with 7 when the records left cannot back the count,
    // with 62 when the header or a record runs past the end, naming the record the bytes
    // end in (0 for the header), or, cut where a record ends, that record and the count
    // the header promised. The caller's data stays.
    void everyTruncationFailsCleanly()
    {
        const QByteArray full = EncodeSettingFile(richHeader(), richSettings());
        const int headerSize = EncodeSettingFile(richHeader(), {}).size();
        QVector<int> recordEnds;
        for (int k = 1; k <= richSettings().size(); ++k)
            recordEnds << EncodeSettingFile(richHeader(), richSettings().mid(0, k)).size();
        for (int length = 0; length < full.size(); ++length) {
            const bool countCaught = length >= headerSize && (length - headerSize) / MinRecordSize < 3;
            const int whole =
                int(std::count_if(recordEnds.begin(), recordEnds.end(), [&](int end) { return end <= length; }));
            const bool atRecordEnd = recordEnds.contains(length);
            const int record = length < headerSize ? 0 : atRecordEnd ? whole : whole + 1;
            SettingFileHeader h = callersHeader();
            SettingList s = CallersList;
            int error = 0, cutRecord = -1, counted = -1;
            QString detail;
            try {
                readBytes(full.left(length), h, s);
            } catch (const SettingFileCutError &e) {
                error = e.number();
                cutRecord = e.record();
                counted = e.counted();
                detail = QString::fromUtf8(e.what());
            }
            QVERIFY2(error == (countCaught ? 7 : 62), qPrintable(QString("length %1 gave %2").arg(length).arg(error)));
            QVERIFY2(
                cutRecord == record && counted == (atRecordEnd ? 3 : 0),
                qPrintable(
                    QString("length %1: record %2 of %3, not %4").arg(length).arg(cutRecord).arg(counted).arg(record)));
            if (atRecordEnd)
                QCOMPARE(detail, QStringLiteral("the file ends after record %1 of the 3 its header counts").arg(whole));
            QCOMPARE(h, callersHeader());
            QCOMPARE(s, CallersList);
        }
    }

    // Patches of a 90-byte file with three empty records; SettingCount sits at byte 12,
    // the first record's Name count at byte 18.
    void hostileCountsFailWithoutAllocating_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<int>("error");
        QTest::newRow("count 3 is fine") << 12 << QByteArray::fromHex("03000000") << 0;
        QTest::newRow("count 0") << 12 << QByteArray::fromHex("00000000") << 7;
        QTest::newRow("count -1") << 12 << QByteArray::fromHex("FFFFFFFF") << 7;
        QTest::newRow("count most negative") << 12 << QByteArray::fromHex("00000080") << 7;
        QTest::newRow("count 7FFFFFFF") << 12 << QByteArray::fromHex("FFFFFF7F") << 7;
        QTest::newRow("count one too large") << 12 << QByteArray::fromHex("04000000") << 7;
        QTest::newRow("name count past end") << 18 << QByteArray::fromHex("FFFF") << 62;
        QTest::newRow("program version count past end") << 4 << QByteArray::fromHex("FFFF") << 62;
        QTest::newRow("last values count one past end") << 88 << QByteArray::fromHex("0100") << 62;
    }
    void hostileCountsFailWithoutAllocating()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, patch);
        QFETCH(int, error);
        SettingFileHeader header = exampleHeader();
        header.ProgramVersion.clear();
        header.SettingCount = 3;
        QByteArray bytes = EncodeSettingFile(header, SettingList(3));
        QCOMPARE(bytes.size(), 90);
        bytes.replace(offset, patch.size(), patch);

        SettingFileHeader h = callersHeader();
        SettingList s = CallersList;
        QCOMPARE(BvlErrorOf([&] { readBytes(bytes, h, s); }), error);
        if (error == 0) {
            QCOMPARE(s.size(), 3);
        } else {
            QCOMPARE(h, callersHeader());
            QCOMPARE(s, CallersList);
        }
    }

    void checksMagicThenVersion_data()
    {
        QTest::addColumn<QString>("magic");
        QTest::addColumn<int>("version");
        QTest::addColumn<HeaderCheck>("result");
        QTest::newRow("accepted") << "sec" << 3 << HeaderCheck::Accepted;
        QTest::newRow("upper case magic") << "SEC" << 3 << HeaderCheck::UnknownFile;
        QTest::newRow("empty magic") << "" << 3 << HeaderCheck::UnknownFile;
        QTest::newRow("version 2") << "sec" << 2 << HeaderCheck::UnsupportedVersion;
        QTest::newRow("version 4") << "sec" << 4 << HeaderCheck::UnsupportedVersion;
        QTest::newRow("magic before version") << "xyz" << 2 << HeaderCheck::UnknownFile;
    }
    void checksMagicThenVersion()
    {
        QFETCH(QString, magic);
        QFETCH(int, version);
        QFETCH(HeaderCheck, result);
        SettingFileHeader h;
        h.Magic = magic;
        h.FileVersion = quint8(version);
        QCOMPARE(CheckSettingHeader(h), result);
    }

    void readsFilesByPath()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.sec");
        const QString cut = dir.filePath("cut.sec");
        writeFile(good, ExampleFile);
        writeFile(cut, ExampleFile.left(20));

        SettingFileHeader h;
        SettingList s;
        ReadSettingFile(good, h, s);
        QCOMPARE(s, exampleSettings());

        h = callersHeader();
        s = CallersList;
        QCOMPARE(BvlErrorOf([&] { ReadSettingFile(dir.filePath("missing.sec"), h, s); }), 53);
        QCOMPARE(BvlErrorOf([&] { ReadSettingFile(dir.path(), h, s); }), ErrNo::NotRegularFile);
        QCOMPARE(BvlErrorOf([&] { ReadSettingFile(cut, h, s); }), 62);
        QCOMPARE(h, callersHeader());
        QCOMPARE(s, CallersList);

        // The header alone: a whole header suffices, any failure is just false.
        QVERIFY(ReadSettingHeader(good, h));
        QCOMPARE(h, exampleHeader());
        writeFile(cut, ExampleFile.left(32));
        QVERIFY(ReadSettingHeader(cut, h));
        h = callersHeader();
        writeFile(cut, ExampleFile.left(31));
        QVERIFY(!ReadSettingHeader(cut, h));
        QVERIFY(!ReadSettingHeader(dir.filePath("missing.sec"), h));
        QVERIFY(!ReadSettingHeader(dir.path(), h));
        QCOMPARE(h, callersHeader());
    }

    void writesFileAndReplacesOldOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.sec");
        writeFile(path, QByteArray(500, 'x'));
        WriteSettingFile(path, exampleHeader(), exampleSettings());
        QCOMPARE(FileBytes(path), ExampleFile);
    }

    // A failed save keeps the previous file byte for byte and leaves no stray files.
    void failedWriteKeepsExistingFile_data()
    {
        QTest::addColumn<QString>("target");   // relative to the test folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("unencodable name") << "old.sec" << QString(QChar(0x4E2D)) << 13;
        QTest::newRow("missing folder") << "missing/old.sec"
                                        << "Beep" << 75;
        QTest::newRow("folder is a file") << "old.sec/old.sec"
                                          << "Beep" << 75;
        QTest::newRow("target is a folder") << "sub"
                                            << "Beep" << 75;
    }
    void failedWriteKeepsExistingFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, name);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QByteArray old = EncodeSettingFile(richHeader(), richSettings());
        writeFile(dir.filePath("old.sec"), old);
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        SettingList settings = exampleSettings();
        settings[0].Name = name;

        QCOMPARE(BvlErrorOf([&] { WriteSettingFile(dir.filePath(target), exampleHeader(), settings); }), error);
        QCOMPARE(FileBytes(dir.filePath("old.sec")), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"old.sec", "sub"}));
    }

    void writeIntoReadOnlyFolderKeepsExistingFile()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("locked");
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QString path = folder + "/old.sec";
        writeFile(path, ExampleFile);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        auto unlock =
            qScopeGuard([&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        QFile probe(folder + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("this user may write into read-only folders");
        }

        SettingList settings = exampleSettings();
        settings[0].Name = "Changed";
        QCOMPARE(BvlErrorOf([&] { WriteSettingFile(path, exampleHeader(), settings); }), 75);
        QCOMPARE(FileBytes(path), ExampleFile);
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList({"old.sec"}));
    }
    // The save file buffers: a write error may show only when the buffer is flushed, and
    // the old file must survive it. A file-size limit makes the flush fail in a child.
    void writeErrorAtFlushKeepsExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.sec");
        writeFile(path, ExampleFile);
        SettingList settings = exampleSettings();
        settings[0].Description = QString(8000, 'd');   // fits the write buffer, not the limit

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);   // the write then fails with EFBIG instead
            const rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(BvlErrorOf([&] { WriteSettingFile(path, exampleHeader(), settings); }));
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), ErrNo::PathFileAccess);
        QCOMPARE(FileBytes(path), ExampleFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList({"old.sec"}));
    }

    // Only a regular file is replaced; a link to one is written through and stays a link.
    void writeRefusesTargetsThatAreNoRegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe.sec");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(BvlErrorOf([&] { WriteSettingFile(fifo, exampleHeader(), exampleSettings()); }), 75);
        struct stat info;
        QCOMPARE(lstat(QFile::encodeName(fifo).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
        QCOMPARE(BvlErrorOf([&] { WriteSettingFile("/dev/null", exampleHeader(), exampleSettings()); }), 75);

        const QString target = dir.filePath("target.sec");
        const QString link = dir.filePath("link.sec");
        writeFile(target, "old");
        QVERIFY(QFile::link(target, link));
        WriteSettingFile(link, exampleHeader(), exampleSettings());
        QCOMPARE(FileBytes(target), ExampleFile);
        QVERIFY(QFileInfo(link).isSymLink());
    }

    void findsGroupPathsBeyondTheLimits()
    {
        auto withGroup = [](const QString &group) {
            SettingList settings = exampleSettings() + exampleSettings();
            settings[1].Group = group;
            return settings;
        };
        const QString deepest = QStringList(MaxGroupLevels, "g").join(GroupSeparator);
        QCOMPARE(FirstOversizedGroupPath(withGroup(deepest)), 0);
        QCOMPARE(FirstOversizedGroupPath(withGroup(deepest + GroupSeparator + "g")), 2);
        QCOMPARE(FirstOversizedGroupPath(withGroup(QString(MaxGroupPathLength, 'g'))), 0);
        QCOMPARE(FirstOversizedGroupPath(withGroup(QString(MaxGroupPathLength + 1, 'g'))), 2);
    }
};

QTEST_GUILESS_MAIN(TestSettingFile)
#include "tst_settingfile.moc"
