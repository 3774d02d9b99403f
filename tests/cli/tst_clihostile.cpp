// brimvale-cli given hostile input: special files, huge files, outputs that are inputs,
// JSON that QJsonDocument would half-read, settings by the ten thousand, giant fields.
#include "core/FileNames.h"
#include "core/RegularFile.h"
#include "support/CliRun.h"
#include "support/FifoFiles.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"

#include <QElapsedTimer>
#include <QtTest>

#include <unistd.h>

using namespace MainFixtures;

class TestCliHostile : public QObject
{
    Q_OBJECT

private slots:
    // A command that blocked would hang the run; the alarm ends it as a failure instead.
    void init() { alarm(120); }
    void cleanup() { alarm(0); }

    void everyReaderRefusesSpecialFiles();
    void sparseSettingFileIsRefused();
    void outputMustNotBeASpecialFileOrTheInput();
    void jsonThatWouldBeHalfReadIsRefused_data();
    void jsonThatWouldBeHalfReadIsRefused();
    void importWritesOnlyFilesTheProgramOpens();
    void showFailsWhenSettingsCannotBeRead();
    void applyTwentyThousandSettings();
    void setGiantStringFieldCostsOnlyItsText();
    void namesThatAreNotUtf8();

private:
    struct Sample
    {
        ProgramFolder folder;
        QString sec;
        QString image;
        QString fifo;
        Sample()
        {
            sec = folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), SampleSettings());
            image = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
            fifo = MakeFifo(folder.file(QStringLiteral("pipe")));
        }
        CliResult run(const QStringList &arguments) const { return RunCliCaptured(arguments, folder.dir.path()); }
    };
};

void TestCliHostile::everyReaderRefusesSpecialFiles()
{
    Sample s;
    const QString json = s.folder.file(QStringLiteral("out.json"));
    const QString out = s.folder.file(QStringLiteral("out.sec"));
    for (const QString &special : {s.fifo, QStringLiteral("/dev/zero")}) {
        const QString kind = special == s.fifo ? QStringLiteral("is a FIFO") : QStringLiteral("is a character device");
        const QList<QStringList> commands = {
            {QStringLiteral("check"), special},
            {QStringLiteral("show"), QStringLiteral("--sec"), special, s.image},
            {QStringLiteral("export"), special, QStringLiteral("-o"), json},
            {QStringLiteral("import"), special, QStringLiteral("-o"), out},
            {QStringLiteral("apply"), s.image, special},
            {QStringLiteral("set"), QStringLiteral("--sec"), special, s.image, QStringLiteral("Beep=off")},
        };
        for (const QStringList &command : commands) {
            const CliResult r = s.run(command);
            QCOMPARE(r.status, 1);
            QVERIFY2(r.err.contains(special + QStringLiteral(": ") + kind + QStringLiteral(", not a regular file")),
                     qPrintable(r.err));
        }
    }
    QVERIFY(!QFile::exists(json) && !QFile::exists(out));
    QCOMPARE(FileBytes(s.image), SampleImage());
}

void TestCliHostile::sparseSettingFileIsRefused()
{
    Sample s;
    // The matching setting file of the program folder: a real header, then a 64 GB hole.
    QCOMPARE(::truncate(QFile::encodeName(s.sec).constData(), 64LL * 1024 * 1024 * 1024), 0);
    for (const QStringList &command :
         {QStringList{QStringLiteral("check"), s.sec}, QStringList{QStringLiteral("show"), s.image},
          QStringList{QStringLiteral("set"), s.image, QStringLiteral("Beep=off")},
          QStringList{QStringLiteral("export"), s.sec}}) {
        const CliResult r = s.run(command);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(s.sec + QStringLiteral(": is 68719476736 bytes long, more than")), qPrintable(r.err));
    }
    QCOMPARE(FileBytes(s.image), SampleImage());
}

void TestCliHostile::outputMustNotBeASpecialFileOrTheInput()
{
    Sample s;
    const QByteArray sec = FileBytes(s.sec);
    const CliResult ontoFifo = s.run({QStringLiteral("export"), s.sec, QStringLiteral("-o"), s.fifo});
    QCOMPARE(ontoFifo.status, 1);
    QVERIFY2(ontoFifo.err.contains(s.fifo + QStringLiteral(": is a FIFO, not a regular file; nothing was written")),
             qPrintable(ontoFifo.err));
    QVERIFY(!QFileInfo(s.fifo).isFile());

    const QString link = s.folder.file(QStringLiteral("link.sec"));
    QVERIFY(QFile::link(s.sec, link));
    for (const QString &output : {s.sec, link}) {
        const CliResult r = s.run({QStringLiteral("export"), s.sec, QStringLiteral("-o"), output});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(output + QStringLiteral(": is the input ")), qPrintable(r.err));
        QCOMPARE(FileBytes(s.sec), sec);
    }

    const QString json = s.folder.file(QStringLiteral("sample.json"));
    QCOMPARE(s.run({QStringLiteral("export"), s.sec, QStringLiteral("-o"), json}).status, 0);
    const QByteArray jsonBytes = FileBytes(json);
    for (const QString &output : {json, s.fifo}) {
        const CliResult r = s.run({QStringLiteral("import"), json, QStringLiteral("-o"), output});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("nothing was written")), qPrintable(r.err));
    }
    QCOMPARE(FileBytes(json), jsonBytes);
    QVERIFY(!QFileInfo(s.fifo).isFile());

    // propose names two images and a setting file: none of them is an output.
    for (const QString &output : {s.image, s.sec}) {
        const CliResult r = s.run({QStringLiteral("propose"), s.image, s.image, QStringLiteral("--sec"), s.sec,
                                   QStringLiteral("-o"), output});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(output + QStringLiteral(": is the input ")), qPrintable(r.err));
        // The refusal is all it says: no count of drafts before it.
        QVERIFY2(r.out.isEmpty() && !r.err.contains(QStringLiteral("proposed")), qPrintable(r.out + r.err));
    }
    QCOMPARE(FileBytes(s.sec), sec);
    QCOMPARE(FileBytes(s.image), SampleImage());
    // A failed write says why in the system's words.
    const CliResult r = s.run({QStringLiteral("export"), s.sec, QStringLiteral("-o"),
                               s.folder.file(QStringLiteral("no-such-folder/out.json"))});
    QVERIFY2(r.status == 1 && r.err.contains(QStringLiteral("(No such file or directory)")), qPrintable(r.err));
}

void TestCliHostile::jsonThatWouldBeHalfReadIsRefused_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QString>("problem");
    QTest::newRow("settings given twice")
        << QByteArray(R"({"settings": [{"name": "Beep", "value": "off"}], "settings": []})")
        << "$.settings: appears twice in its object";
    QTest::newRow("key twice in an entry")
        << QByteArray(R"({"settings": [{"name": "Beep", "value": "off", "value": "on"}]})")
        << "$.settings[0].value: appears twice";
    QTest::newRow("same key, escaped") << QByteArray(
        R"({"settings": [{"name": "Beep", "n\u0061me": "Roaming", "value": "off"}]})")
                                       << "$.settings[0].name: appears twice";
    // A SEEM string ends at its first zero byte: the value could not be stored.
    QTest::newRow("NUL in a string's value")
        << QByteArray(R"({"settings": [{"name": "Greeting", "value": "A\u0000B"}]})")
        << "a zero character would end the text early";
}

void TestCliHostile::jsonThatWouldBeHalfReadIsRefused()
{
    QFETCH(QByteArray, profile);
    QFETCH(QString, problem);
    Sample s;
    const QString path = s.folder.writeBytes(QStringLiteral("profile.json"), profile);
    const CliResult r = s.run({QStringLiteral("apply"), s.image, path});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(problem), qPrintable(r.err));
    QCOMPARE(FileBytes(s.image), SampleImage());
}

void TestCliHostile::importWritesOnlyFilesTheProgramOpens()
{
    Sample s;
    const QString exported = s.run({QStringLiteral("export"), s.sec}).out;
    const QString out = s.folder.file(QStringLiteral("out.sec"));
    const QList<QPair<QPair<QString, QString>, QString>> edits = {
        {{QStringLiteral("\"Magic\": \"sec\""), QStringLiteral("\"Magic\": \"SEC\"")},
         QStringLiteral("$.header.Magic: is \"SEC\"")},
        {{QStringLiteral("\"FileVersion\": 3"), QStringLiteral("\"FileVersion\": 2")},
         QStringLiteral("$.header.FileVersion: is 2")},
        {{QStringLiteral("\"FileVersion\": 3"), QStringLiteral("\"FileVersion\": 4")},
         QStringLiteral("$.header.FileVersion: is 4")},
        {{QStringLiteral("\"Name\": \"Beep\""), QStringLiteral("\"Name\": \"Beep\", \"N\\u0000\": 1")},
         QStringLiteral("$.settings[0]: a key contains a NUL character")},
        {{QStringLiteral("\"Author\": \"Ann\""), QStringLiteral("\"Author\": \"Ann\", \"Author\": \"Bob\"")},
         QStringLiteral("$.header.Author: appears twice")},
        {{QStringLiteral("\"Group\": \"Sound\""),
          QStringLiteral("\"Group\": \"%1\"").arg(QStringLiteral("a\\\\").repeated(65))},
         QStringLiteral("$.settings[0].Group: has more than 64 levels")},
    };
    for (const auto &edit : edits) {
        QString json = exported;
        QVERIFY2(json.contains(edit.first.first), qPrintable(edit.first.first));
        json.replace(json.indexOf(edit.first.first), edit.first.first.size(), edit.first.second);
        const QString path = s.folder.writeBytes(QStringLiteral("edited.json"), json.toUtf8());
        const CliResult r = s.run({QStringLiteral("import"), path, QStringLiteral("-o"), out});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(edit.second) && r.err.contains(QStringLiteral("nothing was written")),
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(out));
    }
}

void TestCliHostile::showFailsWhenSettingsCannotBeRead()
{
    Sample s;
    QCOMPARE(s.run({QStringLiteral("show"), s.image}).status, 0);
    // Empty, then cut after the greeting: the settings beyond the end cannot be read.
    const QList<QPair<QByteArray, QString>> images = {{QByteArray(), QStringLiteral("6 of 6 settings")},
                                                      {SampleImage().left(10), QStringLiteral("2 of 6 settings")}};
    for (const auto &image : images) {
        s.folder.writeBytes(QStringLiteral("0032_0001.seem"), image.first);
        for (const QString &format : {QStringLiteral("text"), QStringLiteral("json")}) {
            const CliResult r = s.run({QStringLiteral("show"), QStringLiteral("--format"), format, s.image});
            QCOMPARE(r.status, 1);
            QVERIFY2(
                r.err.contains(s.image + QStringLiteral(": ") + image.second + QStringLiteral(" could not be read")),
                qPrintable(r.err));
            QVERIFY(r.out.contains(QStringLiteral("Greeting")));   // the table is still printed
        }
    }
}

void TestCliHostile::applyTwentyThousandSettings()
{
    // One lookup rebuilding every setting's path made this quadratic: hours here.
    constexpr int Count = 20000;
    ProgramFolder folder;
    SettingList settings;
    QByteArray profile = "{\"settings\": [";
    for (int i = 0; i < Count; ++i) {
        settings << Named(SeemFixtures::Int8(i), QStringLiteral("S%1").arg(i), QStringLiteral("G%1").arg(i / 100));
        profile += QStringLiteral("%1{\"group\": \"G%2\", \"name\": \"S%3\", \"value\": %4}")
                       .arg(i ? QStringLiteral(",") : QString())
                       .arg(i / 100)
                       .arg(i)
                       .arg((i * 7 + 1) % 256)
                       .toUtf8();
    }
    profile += "]}";
    folder.writeSec(QStringLiteral("many.sec"), Header(0x32, 1), settings);
    const QString image = folder.writeBytes(QStringLiteral("0032_0001.seem"), QByteArray(Count, '\0'));
    const QString path = folder.writeBytes(QStringLiteral("profile.json"), profile);
    const CliResult r = RunCliCaptured({QStringLiteral("apply"), image, path}, folder.dir.path());
    QCOMPARE(r.status, 0);
    const QByteArray written = FileBytes(image);
    for (int i = 0; i < Count; ++i)
        QCOMPARE(quint8(written.at(i)), quint8((i * 7 + 1) % 256));
}

void TestCliHostile::setGiantStringFieldCostsOnlyItsText()
{
    // A field that claims nearly 2 GB in a sparse image of that size: setting a short text
    // reads and writes a few bytes, where reading the whole field took minutes and gigabytes.
    constexpr qint32 FieldSize = 0x7FFFFFF0;
    ProgramFolder folder;
    folder.writeSec(QStringLiteral("giant.sec"), Header(0x32, 1),
                    {Named(SeemFixtures::AnsiString(16, FieldSize), QStringLiteral("Text"), QStringLiteral("Big")),
                     Named(SeemFixtures::UnicodeString(16, FieldSize), QStringLiteral("Wide"), QStringLiteral("Big"))});
    const QString image = folder.writeBytes(QStringLiteral("0032_0001.seem"), QByteArray(16, 'x') + "old");
    QCOMPARE(::truncate(QFile::encodeName(image).constData(), qint64(FieldSize) + 16), 0);
    // No phone record comes near that size: the image is refused at once, nothing read or written.
    QElapsedTimer timer;
    timer.start();
    const CliResult ansi = RunCliCaptured({QStringLiteral("set"), image, QStringLiteral("Text=Hi")}, folder.dir.path());
    QCOMPARE(ansi.status, 1);
    QVERIFY2(ansi.err.contains(QStringLiteral("is larger than any SEEM image")), qPrintable(ansi.err));
    QVERIFY(timer.elapsed() < 5000);
    QFile file(image);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(24), QByteArray(16, 'x') + QByteArray("old\0\0\0\0\0", 8));
}

void TestCliHostile::namesThatAreNotUtf8()
{
    // Qt's own argument list would make the byte E9 a U+FFFD, naming another file.
    Sample s;
    const QByteArray nativeName = QFile::encodeName(s.folder.dir.path()) + "/caf\xe9.sec";
    QVERIFY(QFile::copy(s.sec, QStringLiteral("%1/cafe.sec").arg(s.folder.dir.path())));
    QCOMPARE(::rename(QFile::encodeName(s.folder.file(QStringLiteral("cafe.sec"))).constData(), nativeName.constData()),
             0);
    const char *argv[] = {"brimvale-cli", "check", nativeName.constData()};
    const QStringList arguments = NativeArguments(3, argv);
    const CliResult r = s.run(arguments.mid(1));
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QStringLiteral("6 settings")), qPrintable(r.out + r.err));
    const QString json = s.folder.file(QStringLiteral("cafe.json"));
    QCOMPARE(s.run({QStringLiteral("export"), arguments.at(2), QStringLiteral("-o"), json}).status, 0);
    QVERIFY(FileBytes(json).contains("\"Beep\""));
    ::unlink(nativeName.constData());   // QTemporaryDir cannot name it to remove it

    // An image by such a name is read, saved (journal and lock by its bytes too) and read again.
    const QByteArray nativeImage = QFile::encodeName(s.folder.dir.path()) + "/0032_0001-\xe9.seem";
    QCOMPARE(::rename(QFile::encodeName(s.image).constData(), nativeImage.constData()), 0);
    const char *imageArgv[] = {"brimvale-cli", nativeImage.constData()};
    const QString image = NativeArguments(2, imageArgv).at(1);
    const CliResult shown = s.run({QStringLiteral("show"), image});
    QVERIFY2(shown.status == 0 && shown.out.contains(QStringLiteral("Beep")), qPrintable(shown.out + shown.err));
    const CliResult set = s.run({QStringLiteral("set"), image, QStringLiteral("Beep=off")});
    QVERIFY2(set.status == 0, qPrintable(set.err));
    QCOMPARE(s.run({QStringLiteral("show"), image}).status, 0);

    // Such a byte in a value has no place in UTF-16, and neither has an escaped half pair.
    const char *valueArgv[] = {"brimvale-cli", "Owner=A\xff"
                                               "B"};
    const CliResult lone = s.run({QStringLiteral("set"), image, NativeArguments(2, valueArgv).at(1)});
    QCOMPARE(lone.status, 1);
    QVERIFY2(lone.err.contains(QStringLiteral("\"Owner\": U+DCFF")), qPrintable(lone.err));
    const QString profile = s.folder.file(QStringLiteral("lone.json"));
    QVERIFY(WriteFileBytes(profile, R"({"settings": [{"group": "Net\\GPRS", "name": "Owner", "value": "\ud800"}]})"));
    const QByteArray before = ReadRegularFile(image, 1 << 20);
    const CliResult applied = s.run({QStringLiteral("apply"), image, profile});
    QVERIFY2(applied.status == 1 && applied.err.contains(QStringLiteral("U+D800")), qPrintable(applied.err));
    QCOMPARE(ReadRegularFile(image, 1 << 20), before);
    ::unlink(nativeImage.constData());
}

QTEST_GUILESS_MAIN(TestCliHostile)
#include "tst_clihostile.moc"
