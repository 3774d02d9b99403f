// Every reader given what is no regular file, or far more of one than its format holds:
// refused at once with the reason, never blocking and never allocating the size.
#include "core/BvlError.h"
#include "core/FileNames.h"
#include "core/OutputTarget.h"
#include "core/RegularFile.h"
#include "core/SettingFile.h"
#include "lang/LangTable.h"
#include "seem/authoring/AutoSelect.h"
#include "support/FifoFiles.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"
#include "support/ScriptedPlatform.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace MainFixtures;

namespace {
constexpr qint64 SparseSize = 64LL * 1024 * 1024 * 1024;

// What a reader threw, or 0 when it read.
template<typename Read> int FailureOf(Read read)
{
    try {
        read();
        return 0;
    } catch (const BvlError &e) {
        return e.number();
    }
}
}   // namespace

class TestRegularFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // A reader that blocked would hang the whole run; the alarm ends it as a failure instead.
    void init() { alarm(30); }
    void cleanup() { alarm(0); }

    void everyReaderRefusesWhatIsNoRegularFile_data();
    void everyReaderRefusesWhatIsNoRegularFile();
    void sparseSettingFileIsRefusedBySize();
    void regularFilesReadThroughLinks();
    void writerRefusesATargetThatIsNoRegularFile();
    void automaticChoiceSkipsHostileEntries();
    void namesThatAreNotUtf8KeepTheirBytes();

private:
    ProgramFolder m_folder;
    QString m_fifo;
};

void TestRegularFile::initTestCase()
{
    m_fifo = MakeFifo(m_folder.file(QStringLiteral("pipe")));
}

void TestRegularFile::everyReaderRefusesWhatIsNoRegularFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind");
    const QString link = m_folder.file(QStringLiteral("link.sec"));
    QFile::link(m_fifo, link);
    QTest::newRow("FIFO") << m_fifo << "a FIFO";
    QTest::newRow("link to a FIFO") << link << "a FIFO";
    QTest::newRow("/dev/zero") << "/dev/zero"
                               << "a character device";
    QTest::newRow("folder") << m_folder.dir.path() << "a folder";
}

void TestRegularFile::everyReaderRefusesWhatIsNoRegularFile()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    try {
        RegularFile file(path);
        QFAIL("opened");
    } catch (const BvlError &e) {
        QCOMPARE(e.number(), ErrNo::NotRegularFile);
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("is %1, not a regular file").arg(kind));
    }
    SettingFileHeader header;
    SettingList settings;
    QCOMPARE(FailureOf([&] { ReadSettingFile(path, header, settings); }), ErrNo::NotRegularFile);
    QVERIFY(!ReadSettingHeader(path, header));
    QVERIFY(!HasSettingFileMagic(path));
    QString name;
    QVERIFY(!LangTable::GetLanguageName(path, name));
    ScriptedPlatform platform;
    LangTable table(platform);
    QVERIFY(!table.LoadLanguageFile(path));
}

void TestRegularFile::sparseSettingFileIsRefusedBySize()
{
    // A real header, then a hole: the size on disk is nothing, the size it claims is 64 GB.
    const QString path = m_folder.writeSec(QStringLiteral("sparse.sec"), Header(0x32, 1), SampleSettings());
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), SparseSize), 0);
    SettingFileHeader header;
    SettingList settings;
    QCOMPARE(FailureOf([&] { ReadSettingFile(path, header, settings); }), ErrNo::FileTooLarge);
    QVERIFY(settings.isEmpty());
    // Its header alone is small, and reads.
    QVERIFY(ReadSettingHeader(path, header));
    QCOMPARE(header.SEEMNr, qint16(0x32));
    // One byte above the limit is too much; the limit itself is not.
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), MaxSettingFileBytes + 1), 0);
    QCOMPARE(FailureOf([&] { ReadRegularFile(path, MaxSettingFileBytes); }), ErrNo::FileTooLarge);
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), MaxSettingFileBytes), 0);
    QCOMPARE(ReadRegularFile(path, MaxSettingFileBytes).size(), MaxSettingFileBytes);
    QFile::remove(path);
}

void TestRegularFile::regularFilesReadThroughLinks()
{
    const QString sec = m_folder.writeSec(QStringLiteral("real.sec"), Header(0x32, 1), SampleSettings());
    const QString link = m_folder.file(QStringLiteral("to-real.sec"));
    QVERIFY(QFile::link(sec, link));
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(link, header, settings);
    QCOMPARE(settings.size(), SampleSettings().size());
    // The same file by either name; a copy is another file.
    QVERIFY(IsSameFile(sec, link));
    QVERIFY(!IsSameFile(sec, m_folder.writeBytes(QStringLiteral("copy.sec"), FileBytes(sec))));
    QVERIFY(!IsSameFile(sec, m_folder.file(QStringLiteral("missing.sec"))));
}

void TestRegularFile::writerRefusesATargetThatIsNoRegularFile()
{
    QCOMPARE(FailureOf([&] { m_folder.writeSec(QStringLiteral("pipe"), Header(0x32, 1), SampleSettings()); }),
             ErrNo::PathFileAccess);
    QVERIFY(QFileInfo(m_fifo).exists() && !QFileInfo(m_fifo).isFile());
    QCOMPARE(FailureOf([] { RequireRegularTarget(QStringLiteral("/dev/null")); }), ErrNo::NotRegularFile);
    RequireRegularTarget(m_folder.file(QStringLiteral("not-yet-there.sec")));   // a new file is fine

    // The one output check: no input under another name, no special file; the replaced
    // file keeps its permissions, and a failure gives the system's reason.
    const QString input = m_folder.writeBytes(QStringLiteral("input.seem"), "in");
    const QString link = m_folder.file(QStringLiteral("input-link.seem"));
    QCOMPARE(::link(QFile::encodeName(input).constData(), QFile::encodeName(link).constData()), 0);
    QCOMPARE(FailureOf([&] { WriteOutputFile(link, "out", {input}); }), ErrNo::TargetIsInput);
    QCOMPARE(FailureOf([&] { WriteOutputFile(m_fifo, "out", {input}); }), ErrNo::NotRegularFile);
    QCOMPARE(FileBytes(input), QByteArray("in"));
    const QString output = m_folder.writeBytes(QStringLiteral("output.json"), "old");
    QVERIFY(QFile::setPermissions(output, QFile::ReadOwner | QFile::WriteOwner));
    WriteOutputFile(output, "new", {input});
    QCOMPARE(FileBytes(output), QByteArray("new"));
    QCOMPARE(QFile::permissions(output), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    try {
        WriteOutputFile(m_folder.file(QStringLiteral("missing/out.json")), "x");
        QFAIL("written into a folder that does not exist");
    } catch (const BvlError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("No such file or directory"));
    }
}

void TestRegularFile::automaticChoiceSkipsHostileEntries()
{
    ProgramFolder folder;
    // Listed in name order: the FIFO link and the device link come before the real match.
    QVERIFY(QFile::link(m_fifo, folder.file(QStringLiteral("a-pipe.sec"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("b-zero.sec"))));
    QVERIFY(QDir().mkdir(folder.file(QStringLiteral("c-folder.sec"))));
    const QString match = folder.writeSec(QStringLiteral("d-match.sec"), Header(0x32, 1), SampleSettings());
    QCOMPARE(AutoSelectSettingFile(folder.dir.path(), QStringLiteral("0032_0001.seem")), match);
}

void TestRegularFile::namesThatAreNotUtf8KeepTheirBytes()
{
    const QByteArray latin1Name("caf\xe9.sec");
    const QString name = FileNameFromNative(latin1Name);
    QCOMPARE(name.size(), latin1Name.size());
    QCOMPARE(NativeFileName(name), latin1Name);
    // Well-formed UTF-8 is plain text, and no escape is needed to give it back.
    const QByteArray utf8Name("caf\xc3\xa9 \xf0\x9f\x93\xb1.sec");
    QCOMPARE(FileNameFromNative(utf8Name), QString::fromUtf8(utf8Name));
    QCOMPARE(NativeFileName(QString::fromUtf8(utf8Name)), utf8Name);
    // Overlong forms, encoded surrogates and cut sequences are bytes, not characters.
    for (const QByteArray &bad : {QByteArray("\xc0\xaf"), QByteArray("\xed\xa0\x80"), QByteArray("ab\xe2\x82")})
        QCOMPARE(NativeFileName(FileNameFromNative(bad)), bad);

    // A setting file under such a name reads as any other.
    const QByteArray nativePath = QFile::encodeName(m_folder.dir.path()) + '/' + latin1Name;
    const QByteArray bytes = EncodeSettingFile(
        [] {
            SettingFileHeader h = Header(0x32, 1);
            h.SettingCount = 6;
            return h;
        }(),
        SampleSettings());
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(FileNameFromNative(nativePath), header, settings);
    QCOMPARE(settings.size(), 6);
    ::unlink(nativePath.constData());
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
