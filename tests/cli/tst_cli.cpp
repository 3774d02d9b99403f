// Each command of brimvale-cli run in-process on fixture files, reading what it prints.
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/document/SettingLookup.h"
#include "support/CliRun.h"
#include "support/CliSample.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace MainFixtures;

namespace {
const QString DemoImage = QStringLiteral(BVL_DATA_DIR "/0032_0001.seem");
const QString DemoSec = QStringLiteral(BVL_DATA_DIR "/demo-phone.sec");

QJsonObject JsonOf(const CliResult &r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

// The "settings" entry of a show JSON with the given group path and name.
QJsonObject ShownSetting(const QJsonObject &show, const QString &path)
{
    for (const QJsonValue &v : show.value(QStringLiteral("settings")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("group")).toString() + QLatin1Char('\\') + o.value(QStringLiteral("name")).toString()
            == path)
            return o;
    }
    return {};
}
}   // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void helpAndUsage();
    void showDemoAsText();
    void showDemoAsJson();
    void showSaysWhyAValueCannotBeShown();
    void showWithoutMatchingSettingFile();
    void setEachType();
    void setIsAllOrNothing();
    void setDryRunWritesNothing();
    void setTouchesOwnedBitsOnly();
    void setFindsSettingsByBareNameOnlyWhenUnique();
    void applyShowOutputOfAnotherImage();
    void applyRefusesABadProfileWithItsPath();
    void applyTellsWhatAnEarlierEntryLeft();
    void diffBothWays();
    void checkFindsEachError();
    void checkFindsEachWarning();
    void checkTellsASharedByteOnce();
    void exportImportRoundTrip();
    void exportRefusesWhatImportWouldNotRead();
    void importRefusesWithTheJsonPath();

private:
    using Sample = CliSample;
};

void TestCli::helpAndUsage()
{
    QStringList helps = {RunCliCaptured({QStringLiteral("--help")}).out};
    for (const char *command : {"show", "set", "apply", "diff", "check", "export", "import"}) {
        const CliResult r = RunCliCaptured({command, QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("Usage: brimvale-cli ") + command), qPrintable(r.out));
        QVERIFY2(helps.first().contains(QStringLiteral("  ") + command + QLatin1Char(' ')), qPrintable(command));
        helps << r.out;
    }
    for (const QString &help : helps)
        for (const QString &line : help.split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 80, qPrintable(line));

    const CliResult version = RunCliCaptured({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("brimvale-cli ") + VersionString() + QLatin1Char('\n'));

    QCOMPARE(RunCliCaptured({}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("frob")}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("show")}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("diff"), DemoImage}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("show"), QStringLiteral("--bogus"), DemoImage}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("show"), QStringLiteral("--format=xml"), DemoImage}).status, 2);
    QCOMPARE(RunCliCaptured({QStringLiteral("import"), QStringLiteral("x.json")}).status, 2);
    const CliResult bad = RunCliCaptured({QStringLiteral("set"), DemoImage, QStringLiteral("no-equals-sign")});
    QCOMPARE(bad.status, 2);
    QVERIFY(bad.err.contains(QStringLiteral("no-equals-sign")));
}

void TestCli::showDemoAsText()
{
    // The automatic choice finds demo-phone.sec in the program folder.
    const CliResult r = RunCliCaptured({QStringLiteral("show"), DemoImage}, QStringLiteral(BVL_DATA_DIR));
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(DemoSec, header, settings);
    QCOMPARE(lines.size(), settings.size() + 1);
    QCOMPARE(lines.first().simplified(), QStringLiteral("GROUP NAME VALUE TYPE OFFSET BITS"));
    // Aligned: every column starts where its heading does.
    const int valueColumn = lines.first().indexOf(QStringLiteral("VALUE"));
    const int typeColumn = lines.first().indexOf(QStringLiteral("TYPE"));
    for (const QString &line : lines.mid(1)) {
        QVERIFY2(line.at(valueColumn - 1) == QLatin1Char(' ') && line.at(valueColumn) != QLatin1Char(' '),
                 qPrintable(line));
        QVERIFY2(line.at(typeColumn - 1) == QLatin1Char(' ') && line.at(typeColumn) != QLatin1Char(' '),
                 qPrintable(line));
    }
    QCOMPARE(lines.at(1).simplified(), QStringLiteral("Sound Key tones on Checkbox 16 (0x10) 00000001"));
    QCOMPARE(lines.at(2).simplified(), QStringLiteral("Sound Key tone volume Medium ValueList 16 (0x10) 00001110"));
    QCOMPARE(lines.at(4).simplified(), QStringLiteral("Sound Master volume 180 Int8 17 (0x11) 11111111"));
    QVERIFY(r.out.contains(QStringLiteral("Welcome – Καλώς ήρθατε")));
}

void TestCli::showDemoAsJson()
{
    const CliResult r = RunCliCaptured({QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"),
                                        QStringLiteral("--sec"), DemoSec, DemoImage});
    QCOMPARE(r.status, 0);
    const QJsonObject show = JsonOf(r);
    QCOMPARE(show.value(QStringLiteral("settingFile")).toString(), QStringLiteral("demo-phone.sec"));
    QCOMPARE(show.value(QStringLiteral("settings")).toArray().size(), 49);
    QCOMPARE(ShownSetting(show, QStringLiteral("Sound\\Key tones")).value(QStringLiteral("value")).toString(),
             QStringLiteral("on"));
    QCOMPARE(ShownSetting(show, QStringLiteral("Sound\\Master volume")).value(QStringLiteral("value")).toInt(), 180);
    const QJsonObject welcome = ShownSetting(show, QStringLiteral("Display\\Welcome text"));
    QCOMPARE(welcome.value(QStringLiteral("value")).toString(), QStringLiteral("Welcome – Καλώς ήρθατε"));
    QCOMPARE(welcome.value(QStringLiteral("type")).toString(), QStringLiteral("UnicodeString"));
    QCOMPARE(welcome.value(QStringLiteral("offset")).toInt(), 176);
    QCOMPARE(welcome.value(QStringLiteral("bits")).toString(), QStringLiteral("48 bytes"));
    // Stable: the same run prints the same text, so it diffs well.
    QCOMPARE(RunCliCaptured(
                 {QStringLiteral("show"), QStringLiteral("--format=json"), QStringLiteral("--sec"), DemoSec, DemoImage})
                 .out,
             r.out);
}

void TestCli::showSaysWhyAValueCannotBeShown()
{
    Sample sample;
    // Cut behind the owner field: the roaming check box at byte 18 lies outside.
    const QString cut = sample.folder.writeBytes(QStringLiteral("0032_0001.bin"), SampleImage().left(18));
    SettingList settings = SampleSettings();
    settings[1].ValueNames = JoinValues({QStringLiteral("Low"), QStringLiteral("Mid")});
    settings[1].Values = JoinValues({QStringLiteral("0"), QStringLiteral("x")});
    const QString sec = sample.folder.writeSec(QStringLiteral("broken.sec"), Header(0x32, 1), settings);

    const CliResult r =
        sample.run({QStringLiteral("show"), QStringLiteral("--format=json"), QStringLiteral("--sec"), sec, cut});
    // Printed all the same, but a setting that could not be read is no success.
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(cut + QStringLiteral(": 1 of 6 settings could not be read")), qPrintable(r.err));
    const QJsonObject show = JsonOf(r);
    const QJsonObject roaming = ShownSetting(show, QStringLiteral("Net\\Roaming"));
    QVERIFY(roaming.value(QStringLiteral("value")).isNull());
    QVERIFY(
        roaming.value(QStringLiteral("reason")).toString().contains(QStringLiteral("outside the image of 18 bytes")));
    const QJsonObject volume = ShownSetting(show, QStringLiteral("Sound\\Volume"));
    QVERIFY(volume.value(QStringLiteral("value")).isNull());
    QVERIFY(volume.value(QStringLiteral("reason")).toString().contains(QStringLiteral("\"x\" is not a number")));
    QCOMPARE(ShownSetting(show, QStringLiteral("Sound\\Beep")).value(QStringLiteral("value")).toString(),
             QStringLiteral("on"));
    QVERIFY(!ShownSetting(show, QStringLiteral("Sound\\Beep")).contains(QStringLiteral("reason")));
}

void TestCli::showWithoutMatchingSettingFile()
{
    Sample sample;
    const QString other = sample.folder.writeBytes(QStringLiteral("00A1_0002.seem"), SampleImage());
    const CliResult r = sample.run({QStringLiteral("show"), other});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("00A1_0002.seem")) && r.err.contains(QStringLiteral("SEEM 00A1_0002")),
             qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    const QString noName = sample.folder.writeBytes(QStringLiteral("phone.seem"), SampleImage());
    QCOMPARE(sample.run({QStringLiteral("show"), noName}).status, 1);
    // --sec-dir looks in another folder instead of the program folder.
    ProgramFolder empty;
    QCOMPARE(sample.run({QStringLiteral("show"), QStringLiteral("--sec-dir"), empty.dir.path(), sample.image}).status,
             1);
    QCOMPARE(
        RunCliCaptured({QStringLiteral("show"), QStringLiteral("--sec-dir"), sample.folder.dir.path(), sample.image})
            .status,
        0);
}

void TestCli::setEachType()
{
    Sample sample;
    const CliResult r =
        sample.run({QStringLiteral("set"), sample.image, QStringLiteral("Sound\\Beep=off"),
                    QStringLiteral("Volume=High"), QStringLiteral("Timeout=7"), QStringLiteral("Display\\Greeting=Q"),
                    QStringLiteral("Owner=\u00e9"), QStringLiteral("Roaming=false")});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    // Beep bit 0 and volume bits 4-5 share byte 0; strings keep their tails behind the terminator.
    QCOMPARE(FileBytes(sample.image).toHex(), QByteArray("2007"
                                                         "5100430058595a57"
                                                         "00e9000000000000"
                                                         "0000"));
    QVERIFY(r.out.contains(QStringLiteral("Sound\\Volume: \"Mid\" -> \"High\" (byte 0 (0x0): 10 -> 20)")));
    QVERIFY(r.out.contains(QStringLiteral("Display\\Timeout: \"200\" -> \"7\" (byte 1 (0x1): C8 -> 07)")));
}

void TestCli::setIsAllOrNothing()
{
    Sample sample;
    const QByteArray before = FileBytes(sample.image);
    struct Bad
    {
        QString assignment;
        QString reason;
    };
    const QList<Bad> bad = {
        {QStringLiteral("Nope=1"), QStringLiteral("no setting is named \"Nope\"")},
        {QStringLiteral("Volume=Loud"), QStringLiteral("not in the list (Low, Mid, High)")},
        {QStringLiteral("Timeout=256"), QStringLiteral("out of range 0..255")},
        {QStringLiteral("Timeout=ten"), QStringLiteral("not a number")},
        {QStringLiteral("Roaming=maybe"), QStringLiteral("not on or off")},
        {QStringLiteral("Greeting=12345678"), QStringLiteral("too long for its field (at most 7)")},
        {QStringLiteral("Owner=ABCD"), QStringLiteral("too long for its field (at most 3)")},
        {QStringLiteral("Greeting=\u03a9"), QStringLiteral("no byte in Windows-1252")},
        {QStringLiteral("Beep=on"), QStringLiteral("is set more than once")},
    };
    for (const Bad &b : bad) {
        const CliResult r = sample.run({QStringLiteral("set"), sample.image, QStringLiteral("Beep=off"), b.assignment,
                                        QStringLiteral("Timeout=1")});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(b.reason) && r.err.contains(b.assignment) && r.err.contains(sample.image),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("nothing was written")), qPrintable(r.err));
        QCOMPARE(FileBytes(sample.image), before);
    }
    // A setting past the end of the image is refused before anything is written.
    const QString shortImage = sample.folder.writeBytes(QStringLiteral("0032_0001.bin"), SampleImage().left(18));
    QCOMPARE(sample.run({QStringLiteral("set"), shortImage, QStringLiteral("Beep=off"), QStringLiteral("Roaming=off")})
                 .status,
             1);
    QCOMPARE(FileBytes(shortImage), SampleImage().left(18));
}

void TestCli::setDryRunWritesNothing()
{
    Sample sample;
    const CliResult r = sample.run({QStringLiteral("set"), QStringLiteral("--dry-run"), sample.image,
                                    QStringLiteral("Greeting=Q"), QStringLiteral("Beep=on")});
    QCOMPARE(r.status, 0);
    QCOMPARE(FileBytes(sample.image), SampleImage());
    QVERIFY(r.out.contains(
        QStringLiteral("Display\\Greeting: \"ABC\" -> \"Q\" (byte 2 (0x2): 41 -> 51, byte 3 (0x3): 42 -> 00)")));
    QVERIFY(r.out.contains(QStringLiteral("Sound\\Beep: \"on\" (unchanged)")));
    QVERIFY(r.err.contains(QStringLiteral("nothing was written")));
}

void TestCli::setTouchesOwnedBitsOnly()
{
    Sample sample;
    // Every bit the sample's settings do not own is set; none of them may change.
    QByteArray image = SampleImage();
    image[0] = char(0xCE | 0x11);    // owned: 0x31
    image[18] = char(0x7F | 0x80);   // owned: 0x80
    image[19] = char(0xFF);          // owned by nothing
    WriteFileBytes(sample.image, image);
    QCOMPARE(sample
                 .run({QStringLiteral("set"), sample.image, QStringLiteral("Beep=off"), QStringLiteral("Volume=Low"),
                       QStringLiteral("Roaming=off")})
                 .status,
             0);
    const QByteArray after = FileBytes(sample.image);
    QCOMPARE(quint8(after[0]), quint8(0xCE));
    QCOMPARE(quint8(after[18]), quint8(0x7F));
    QCOMPARE(after.mid(1, 17), image.mid(1, 17));
    QCOMPARE(quint8(after[19]), quint8(0xFF));
    QCOMPARE(after.size(), image.size());
}

void TestCli::setFindsSettingsByBareNameOnlyWhenUnique()
{
    Sample sample;
    SettingList settings = SampleSettings();
    settings.append(
        Named(SeemFixtures::Checkbox(19, 0x01, 1, 0), QStringLiteral("Beep"), QStringLiteral(" Net \\ GPRS ")));
    const QString sec = sample.folder.writeSec(QStringLiteral("twice.sec"), Header(0x32, 1), settings);
    const CliResult ambiguous =
        sample.run({QStringLiteral("set"), QStringLiteral("--sec"), sec, sample.image, QStringLiteral("Beep=off")});
    QCOMPARE(ambiguous.status, 1);
    QVERIFY2(ambiguous.err.contains(QStringLiteral("\"Sound\\Beep\", \"Net\\GPRS\\Beep\"\n")),
             qPrintable(ambiguous.err));
    // The group as the window's tree shows it, blanks around its elements trimmed.
    QCOMPARE(sample
                 .run({QStringLiteral("set"), QStringLiteral("--sec"), sec, sample.image,
                       QStringLiteral("Net\\GPRS\\Beep=on")})
                 .status,
             0);
    QCOMPARE(quint8(FileBytes(sample.image)[19]), quint8(0x01));
}

void TestCli::applyShowOutputOfAnotherImage()
{
    Sample sample;
    QByteArray other = SampleImage();
    other[0] = char(0x20);   // beep off, volume High
    other[1] = char(42);
    other.replace(2, 4, QByteArray("Hi\0\0", 4));
    const QString otherImage = sample.folder.writeBytes(QStringLiteral("0032_0001.sch"), other);
    const CliResult shown = sample.run({QStringLiteral("show"), QStringLiteral("--format=json"), otherImage});
    QCOMPARE(shown.status, 0);
    const QString profile = sample.folder.writeBytes(QStringLiteral("profile.json"), shown.out.toUtf8());

    const CliResult dry = sample.run({QStringLiteral("apply"), QStringLiteral("--dry-run"), sample.image, profile});
    QCOMPARE(dry.status, 0);
    QCOMPARE(FileBytes(sample.image), SampleImage());
    // Only the values that differ are listed: beep, volume, timeout, greeting.
    QCOMPARE(dry.out.count(QLatin1Char('\n')), 4);

    const CliResult applied = sample.run({QStringLiteral("apply"), sample.image, profile});
    QCOMPARE(applied.status, 0);
    QCOMPARE(sample.run({QStringLiteral("diff"), sample.image, otherImage}).status, 0);
}

void TestCli::applyRefusesABadProfileWithItsPath()
{
    Sample sample;
    const QList<QPair<QByteArray, QString>> profiles = {
        {"{\"settings\": [", "$: not JSON"},
        {"[]", "$: expected an object"},
        // Not JSON, though QJsonDocument reads "C:quotes" into it.
        {"{\"settings\": [{\"group\": \"Display\", \"name\": \"Greeting\", \"value\": \"C:\\quotes\"}]}",
         "$: not JSON at line 1, column 68: unknown escape \\q"},
        {"{}", "$.settings: missing"},
        {"{\"settings\": [{\"group\": \"Sound\", \"value\": \"on\"}]}", "$.settings[0].name: missing"},
        {"{\"settings\": [{\"name\": \"Beep\", \"value\": [1]}]}", "$.settings[0].value: expected"},
        {"{\"settings\": [{\"name\": \"Beep\", \"value\": \"on\"}, {\"group\": \"Sound\", \"name\": \"Volume\", "
         "\"value\": \"Loud\"}]}",
         "$.settings[1]: \"Sound\\Volume\": \"Loud\" is not in the list"},
    };
    for (const auto &p : profiles) {
        const QString profile = sample.folder.writeBytes(QStringLiteral("bad.json"), p.first);
        const CliResult r = sample.run({QStringLiteral("apply"), sample.image, profile});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(p.second), qPrintable(r.err));
        QCOMPARE(FileBytes(sample.image), SampleImage());
    }
}

void TestCli::applyTellsWhatAnEarlierEntryLeft()
{
    // Raw owns all of byte 0, where the volume's bits are: the volume's change starts from
    // what Raw's entry left there, not from what the file held.
    Sample sample;
    SettingList settings = SampleSettings();
    settings.append(Named(SeemFixtures::Int8(0), QStringLiteral("Raw"), QStringLiteral("Sound")));
    const QString sec = sample.folder.writeSec(QStringLiteral("raw.sec"), Header(0x32, 1), settings);
    const QString profile = sample.folder.writeBytes(
        QStringLiteral("raw.json"),
        R"({"settings":[{"group":"Sound","name":"Raw","value":48},{"group":"Sound","name":"Volume","value":"Low"}]})");
    const CliResult r = sample.run({QStringLiteral("apply"), QStringLiteral("--sec"), sec, sample.image, profile});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QStringLiteral("Sound\\Raw: \"17\" -> \"48\" (byte 0 (0x0): 11 -> 30)")),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral(
                 "Sound\\Volume: (its bits 00110000 match no entry) -> \"Low\" (byte 0 (0x0): 30 -> 00)")),
             qPrintable(r.out));
    QCOMPARE(quint8(FileBytes(sample.image)[0]), quint8(0x00));
}

void TestCli::diffBothWays()
{
    Sample sample;
    QByteArray other = SampleImage();
    other[0] = char(0x10);                            // beep off, volume still Mid
    other.replace(10, 4, QByteArray("\0B\0\0", 4));   // owner "B"
    other[7] = 'X';                                   // behind the greeting's terminator: no difference
    const QString otherImage = sample.folder.writeBytes(QStringLiteral("0032_0001.bin"), other);

    const CliResult ab = sample.run({QStringLiteral("diff"), sample.image, otherImage});
    const CliResult ba =
        sample.run({QStringLiteral("diff"), QStringLiteral("--format=json"), otherImage, sample.image});
    QCOMPARE(ab.status, 1);
    QCOMPARE(ba.status, 1);
    const QStringList rows = ab.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).simplified(), QStringLiteral("Sound\\Beep on off"));
    QCOMPARE(rows.at(2).simplified(), QStringLiteral("Net\\GPRS\\Owner AB B"));
    const QJsonArray differences = JsonOf(ba).value(QStringLiteral("differences")).toArray();
    QCOMPARE(differences.size(), 2);
    QCOMPARE(differences.at(0).toObject().value(QStringLiteral("a")).toString(), QStringLiteral("off"));
    QCOMPARE(differences.at(0).toObject().value(QStringLiteral("b")).toString(), QStringLiteral("on"));
    QCOMPARE(differences.at(1).toObject().value(QStringLiteral("a")).toString(), QStringLiteral("B"));

    const CliResult same = sample.run({QStringLiteral("diff"), sample.image, sample.image});
    QCOMPARE(same.status, 0);
    QVERIFY(same.out.isEmpty());
}

void TestCli::checkFindsEachError()
{
    Sample sample;
    using namespace SeemFixtures;
    SettingStruct unknownType = Named(Int8(1), QStringLiteral("Odd"), QStringLiteral("G"));
    unknownType.Type = 5;
    SettingStruct notNumbers = Named(ValueList(0, 0x03, {0, 1}), QStringLiteral("Words"), QStringLiteral("G"));
    notNumbers.Values = JoinValues({QStringLiteral("0"), QStringLiteral("one")});
    SettingStruct fewValues = Named(ValueList(5, 0x03, {0}), QStringLiteral("Few"), QStringLiteral("G"));
    fewValues.ValueNames = JoinValues({QStringLiteral("A"), QStringLiteral("B")});
    SettingStruct noMask = Named(Checkbox(1, 0x01, 1, 0), QStringLiteral("NoMask"), QStringLiteral("G"));
    noMask.BitMask = 0;
    const SettingList settings = {unknownType,
                                  notNumbers,
                                  fewValues,
                                  Named(AnsiString(2, 0), QStringLiteral("Tiny"), QStringLiteral("G")),
                                  Named(UnicodeString(4, 1), QStringLiteral("TinyWide"), QStringLiteral("G")),
                                  noMask,
                                  Named(Int8(64), QStringLiteral("Far"), QStringLiteral("G"))};
    const QString sec = sample.folder.writeSec(QStringLiteral("errors.sec"), Header(0x32, 1), settings);

    const CliResult r = sample.run({QStringLiteral("check"), sec, sample.image});
    QCOMPARE(r.status, 1);
    for (const QString &expected : {
             QStringLiteral("error: G\\Odd (#1): type code 5 is not a setting type"),
             QStringLiteral("error: G\\Words (#2): value 2 \"one\" is not a number"),
             QStringLiteral("error: G\\Few (#3): it has 2 names but only 1 values"),
             QStringLiteral("error: G\\Tiny (#4): its field of 0 bytes has no room for the terminator"),
             QStringLiteral("error: G\\TinyWide (#5): its field of 1 bytes has no room for the terminator"),
             QStringLiteral("error: G\\NoMask (#6): its bit mask is empty"),
             QStringLiteral("error: G\\Far (#7): its bytes 64 (0x40) lie outside the image of 20 bytes"),
         })
        QVERIFY2(r.out.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + r.out));
    // The check box of no bits has its value 1 outside them too, which keeps it from the dialog.
    QVERIFY(r.out.contains(QStringLiteral("warning: G\\NoMask (#6): value 1 (00000001) has bits outside its mask")));
    QVERIFY(r.out.endsWith(QStringLiteral("7 settings, 7 errors, 1 warning\n")));

    // A header the windows refuse is an error too.
    SettingFileHeader wrongVersion = Header(0x32, 1);
    wrongVersion.FileVersion = 2;
    const QString old = sample.folder.writeSec(QStringLiteral("old.sec"), wrongVersion, SampleSettings());
    const CliResult header = sample.run({QStringLiteral("check"), old});
    QCOMPARE(header.status, 1);
    QVERIFY(header.out.contains(QStringLiteral("error: format version 2 is not 3")));
    // So is a group path the windows refuse the whole file for.
    const SettingList deep = {Named(Int8(1), QStringLiteral("Deep"), QStringLiteral("G\\").repeated(65))};
    const CliResult tooDeep = sample.run(
        {QStringLiteral("check"), sample.folder.writeSec(QStringLiteral("deep.sec"), Header(0x32, 1), deep)});
    QCOMPARE(tooDeep.status, 1);
    QVERIFY2(tooDeep.out.contains(QStringLiteral("its group path has more than 64 levels")), qPrintable(tooDeep.out));
    QCOMPARE(sample.run({QStringLiteral("check"), sample.sec, sample.image}).status, 0);
}

void TestCli::checkFindsEachWarning()
{
    Sample sample;
    using namespace SeemFixtures;
    SettingStruct outsideMask = Named(Checkbox(1, 0x01, 3, 0), QStringLiteral("Wide"), QStringLiteral("G"));
    const SettingList settings = {
        Named(Checkbox(0, 0x01, 1, 0), QStringLiteral("A"), QStringLiteral("G")),
        Named(Checkbox(0, 0x03, 2, 0), QStringLiteral("B"), QStringLiteral("G")),   // shares bit 0 with A
        Named(Checkbox(0, 0x04, 4, 0), QStringLiteral("C"), QStringLiteral("G")),   // shares the byte only
        outsideMask,
        Named(Checkbox(18, 0x03, 1, 2), QStringLiteral("Neither"), QStringLiteral("H")),   // image holds 0x80 & 3 = 0
        Named(ValueList(18, 0x70, {16, 32}), QStringLiteral("NoEntry"), QStringLiteral("H")),
        Named(AnsiString(2, 3), QStringLiteral("Open"), QStringLiteral("H")),   // "ABC" fills all 3 bytes
        Named(Int8(19), QStringLiteral("Twin"), QStringLiteral("H")),
        Named(Int8(17), QStringLiteral("Twin"), QStringLiteral(" H ")),
    };
    const QString sec = sample.folder.writeSec(QStringLiteral("warnings.sec"), Header(0x32, 1), settings);
    const CliResult r = sample.run({QStringLiteral("check"), sec, sample.image});
    QCOMPARE(r.status, 0);
    for (const QString &expected : {
             QStringLiteral("warning: G\\A (#1) and G\\B (#2): share bits 00000001 of byte 0 (0x0)"),
             QStringLiteral("warning: G\\Wide (#4): value 1 (00000011) has bits outside its mask 00000001"),
             QStringLiteral("warning: H\\Twin (#8) and H\\Twin (#9): have the same name in one group"),
             QStringLiteral("warning: H\\Neither (#5): its bits 00000000 match neither value"),
             QStringLiteral("warning: G\\B (#2): its bits 00000001 match neither value"),
             QStringLiteral("warning: H\\NoEntry (#6): its bits 00000000 match no entry"),
             QStringLiteral("warning: H\\Open (#7): its text has no terminator in its 3 bytes"),
         })
        QVERIFY2(r.out.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + r.out));
    QVERIFY2(!r.out.contains(QStringLiteral("(#3)")), qPrintable(r.out));
    QVERIFY(r.out.endsWith(QStringLiteral("9 settings, 0 errors, 7 warnings\n")));
}

// Thousands of settings on one byte, in one text field and of one name: one warning each,
// naming the first eight, where every pair was a warning of its own.
void TestCli::checkTellsASharedByteOnce()
{
    using namespace SeemFixtures;
    Sample sample;
    for (const int count : {2000, 8000}) {
        SettingList settings;
        for (int i = 0; i < count; ++i) {
            settings << Named(Checkbox(0, 0x01, 1, 0), QStringLiteral("B%1").arg(i), QStringLiteral("G"))
                     << Named(AnsiString(100 + i % 7, 10), QStringLiteral("T%1").arg(i), QStringLiteral("G"))
                     << Named(Int8(200 + i), QStringLiteral("Twin"), QStringLiteral("H"));
        }
        const QString sec = sample.folder.writeSec(QStringLiteral("crowd.sec"), Header(0x32, 1), settings);
        const CliResult r = sample.run({QStringLiteral("check"), sec});
        QCOMPARE(r.status, 0);
        const QString more = QStringLiteral(" and %1 more: ").arg(count - 8);
        const QStringList expected = {
            sec
                + QStringLiteral(
                    ": warning: G\\B0 (#1) and G\\B1 (#4) and G\\B2 (#7) and G\\B3 (#10) and G\\B4 (#13) and "
                    "G\\B5 (#16) and G\\B6 (#19) and G\\B7 (#22)")
                + more + QStringLiteral("share bits 00000001 of byte 0 (0x0)"),
            sec
                + QStringLiteral(
                    ": warning: G\\T0 (#2) and G\\T1 (#5) and G\\T2 (#8) and G\\T3 (#11) and G\\T4 (#14) and "
                    "G\\T5 (#17) and G\\T6 (#20) and G\\T7 (#23)")
                + more + QStringLiteral("share bytes 100-115 (0x64-0x73)"),
            sec
                + QStringLiteral(
                    ": warning: H\\Twin (#3) and H\\Twin (#6) and H\\Twin (#9) and H\\Twin (#12) and H\\Twin (#15) and "
                    "H\\Twin (#18) and H\\Twin (#21) and H\\Twin (#24)")
                + more + QStringLiteral("have the same name in one group"),
            QStringLiteral("%1 settings, 0 errors, 3 warnings").arg(3 * count),
        };
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    }

    // Where fields overlap by one byte the warning is about its bits; bits of one byte
    // owned by one setting each are no warning.
    const SettingList settings = {
        Named(AnsiString(0, 10), QStringLiteral("Text"), QStringLiteral("G")),
        Named(Checkbox(3, 0x06, 2, 0), QStringLiteral("Inside"), QStringLiteral("G")),
        Named(AnsiString(20, 5), QStringLiteral("Left"), QStringLiteral("G")),
        Named(AnsiString(24, 5), QStringLiteral("Right"), QStringLiteral("G")),
        Named(Checkbox(40, 0x01, 1, 0), QStringLiteral("Low"), QStringLiteral("G")),
        Named(Checkbox(40, 0x02, 2, 0), QStringLiteral("High"), QStringLiteral("G")),
    };
    const CliResult r = sample.run(
        {QStringLiteral("check"), sample.folder.writeSec(QStringLiteral("few.sec"), Header(0x32, 1), settings)});
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).endsWith(
                 QStringLiteral("warning: G\\Text (#1) and G\\Inside (#2): share bits 00000110 of byte 3 (0x3)")),
             qPrintable(r.out));
    QVERIFY2(lines.at(1).endsWith(
                 QStringLiteral("warning: G\\Left (#3) and G\\Right (#4): share bits 11111111 of byte 24 (0x18)")),
             qPrintable(r.out));
}

void TestCli::exportImportRoundTrip()
{
    Sample sample;
    const QString json = sample.folder.file(QStringLiteral("demo.json"));
    const QString back = sample.folder.file(QStringLiteral("back.sec"));
    QCOMPARE(sample.run({QStringLiteral("export"), DemoSec, QStringLiteral("-o"), json}).status, 0);
    const CliResult imported = sample.run({QStringLiteral("import"), json, QStringLiteral("-o"), back});
    QCOMPARE(imported.status, 0);
    QCOMPARE(FileBytes(back), FileBytes(DemoSec));
    // Without -o the JSON goes to standard output, the same as into the file.
    QCOMPARE(sample.run({QStringLiteral("export"), DemoSec}).out.toUtf8(), FileBytes(json));
    // A program version of another release survives: import writes what the JSON holds.
    SettingFileHeader older = Header(0x32, 1);
    older.ProgramVersion = QStringLiteral("0.9.1_Tavik");
    const QString olderSec = sample.folder.writeSec(QStringLiteral("older.sec"), older, SampleSettings());
    QCOMPARE(sample.run({QStringLiteral("export"), olderSec, QStringLiteral("-o"), json}).status, 0);
    QCOMPARE(sample.run({QStringLiteral("import"), json, QStringLiteral("-o"), back}).status, 0);
    QCOMPARE(FileBytes(back), FileBytes(olderSec));
    // Bytes behind the last record are not part of the JSON, and export says so.
    WriteFileBytes(olderSec, FileBytes(olderSec) + "junk");
    const CliResult trailing = sample.run({QStringLiteral("export"), olderSec});
    QCOMPARE(trailing.status, 0);
    QVERIFY2(trailing.err.contains(QStringLiteral("4 bytes after the last record")), qPrintable(trailing.err));
    QCOMPARE(sample.run({QStringLiteral("export"), sample.image}).status, 1);
}

void TestCli::exportRefusesWhatImportWouldNotRead()
{
    // A control character takes 6 bytes as JSON ("\u0001"): 172 of the longest descriptions
    // (11 MB of setting file) make more than the 64 MiB import reads.
    Sample sample;
    SettingStruct s = SampleSettings().first();
    s.Description = QString(65535, QChar(1));
    const QString sec = sample.folder.writeSec(QStringLiteral("large.sec"), Header(0x32, 1), SettingList(172, s));
    const QString json = sample.folder.file(QStringLiteral("large.json"));
    const CliResult r = sample.run({QStringLiteral("export"), sec, QStringLiteral("-o"), json});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, QStringLiteral("brimvale-cli: %1: its JSON would be more than the 67108864 bytes import reads; "
                                   "nothing was written\n")
                        .arg(sec));
    QVERIFY(!QFile::exists(json));
}

void TestCli::importRefusesWithTheJsonPath()
{
    Sample sample;
    const CliResult exported = sample.run({QStringLiteral("export"), sample.sec});
    const QString back = sample.folder.file(QStringLiteral("back.sec"));
    const QList<QPair<QString, QString>> edits = {
        {QStringLiteral("\"Offset\": 10,"), QStringLiteral("$.settings[4].Offset: 4294967296 is out of range")},
        {QStringLiteral("\"BitMask\": 48,"), QStringLiteral("$.settings[1].BitMask: 256 is out of range")},
        {QStringLiteral("\"How loud\""),
         QStringLiteral("$: not JSON at line 32, column 32: a control character (U+0009) in a string")},
        {QStringLiteral("\"Author\": \"Ann\""),
         QStringLiteral("$.header.Author: the author has the character \"\u0394\" (U+0394), which Windows-1252 "
                        "cannot hold; nothing was written")},
    };
    const QStringList replacements = {QStringLiteral("\"Offset\": 4294967296,"), QStringLiteral("\"BitMask\": 256,"),
                                      QStringLiteral("\"How\tloud\""), QStringLiteral("\"Author\": \"\u0394nn\"")};
    for (int i = 0; i < edits.size(); ++i) {
        QString json = exported.out;
        QVERIFY(json.contains(edits.at(i).first));
        json.replace(edits.at(i).first, replacements.at(i));
        const QString path = sample.folder.writeBytes(QStringLiteral("edited.json"), json.toUtf8());
        const CliResult r = sample.run({QStringLiteral("import"), path, QStringLiteral("-o"), back});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(edits.at(i).second) && r.err.contains(QStringLiteral("edited.json")),
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(back));
    }
    // A refused import leaves an existing setting file as it was.
    const QByteArray before = FileBytes(sample.sec);
    const QString garbage = sample.folder.writeBytes(QStringLiteral("garbage.json"), "{\"format\": ");
    const CliResult r = sample.run({QStringLiteral("import"), garbage, QStringLiteral("-o"), sample.sec});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains(QStringLiteral("$: not JSON")));
    QCOMPARE(FileBytes(sample.sec), before);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
