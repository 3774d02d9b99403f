// brimvale-cli in words a person understands: a setting file for another record refused
// or told, a missing file or one that is no setting file said so, a misspelt setting name
// answered with the nearest ones.
#include "core/FileNames.h"
#include "core/SettingFile.h"
#include "support/CliRun.h"
#include "support/CliSample.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"

#include <QtTest>

using namespace MainFixtures;

class TestCliWords : public QObject
{
    Q_OBJECT

private slots:
    void otherRecordIsRefusedByWritersAndToldByReaders();
    void missingAndForeignFilesAreNamedForWhatTheyAre();
    void unknownNameGetsTheNearestNames();
    void listValuesAreMatchedAsPeopleWriteThem();
    void countsAreWordedForOneAndMany();
    void thousandsOfRefusalsStayShort();
    void manualPageListsTheCommandsOfTheHelp();

private:
    using Sample = CliSample;
};

void TestCliWords::otherRecordIsRefusedByWritersAndToldByReaders()
{
    Sample s;
    const QString other = s.folder.writeSec(QStringLiteral("other.sec"), Header(0x33, 2), SampleSettings());
    const QString profile =
        s.folder.writeBytes(QStringLiteral("p.json"), R"({"settings": [{"name": "Timeout", "value": 7}]})");
    const QString both = QStringLiteral("describes SEEM 0033_0002, but the name of the SEEM file says SEEM 0032_0001");
    const QList<QStringList> writers = {
        {QStringLiteral("set"), QStringLiteral("--sec"), other, s.image, QStringLiteral("Timeout=7")},
        {QStringLiteral("apply"), QStringLiteral("--sec"), other, s.image, profile},
    };
    for (const QStringList &writer : writers) {
        const CliResult refused = s.run(writer);
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(both) && refused.err.contains(QStringLiteral("Nothing was written"))
                     && refused.err.contains(QStringLiteral("--any-record")),
                 qPrintable(refused.err));
        QCOMPARE(FileBytes(s.image), SampleImage());
        const CliResult meant = s.run(QStringList(writer) << QStringLiteral("--any-record"));
        QVERIFY2(meant.status == 0 && meant.err.isEmpty(), qPrintable(meant.err));
        QVERIFY(FileBytes(s.image) != SampleImage());
        s.folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
    }
    // The image's own setting file, chosen or named, says nothing.
    QVERIFY(s.run({QStringLiteral("set"), QStringLiteral("--sec"), s.sec, s.image, QStringLiteral("Timeout=7")})
                .err.isEmpty());

    const QString second = s.folder.writeBytes(QStringLiteral("0032_0001-b.seem"), SampleImage());
    const QList<QStringList> readers = {
        {QStringLiteral("show"), QStringLiteral("--sec"), other, s.image},
        {QStringLiteral("diff"), QStringLiteral("--sec"), other, s.image, second},
        {QStringLiteral("propose"), QStringLiteral("--sec"), other, s.image, second},
        {QStringLiteral("map"), QStringLiteral("--sec"), other, s.image},
    };
    for (const QStringList &reader : readers) {
        const CliResult told = s.run(reader);
        QVERIFY2(told.status == 0 || (reader.first() == QLatin1String("diff") && told.status == 1),
                 qPrintable(told.err));
        QVERIFY2(told.err.contains(QStringLiteral("warning: ") + s.image + QStringLiteral(": the setting file "))
                     && told.err.contains(both),
                 qPrintable(reader.first() + QLatin1Char('\n') + told.err));
    }
}

void TestCliWords::missingAndForeignFilesAreNamedForWhatTheyAre()
{
    Sample s;
    const QString missing = s.folder.file(QStringLiteral("nosuch.seem"));
    for (const QStringList &command : {QStringList{QStringLiteral("show"), missing},
                                       QStringList{QStringLiteral("set"), missing, QStringLiteral("Timeout=7")}}) {
        const CliResult r = s.run(command);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, QStringLiteral("brimvale-cli: %1: does not exist\n").arg(missing));
    }
    const QString text = s.folder.writeBytes(QStringLiteral("notes.txt"), "Some notes about the phone.\n");
    const CliResult r = s.run({QStringLiteral("show"), QStringLiteral("--sec"), text, s.image});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, QStringLiteral("brimvale-cli: %1: is not a setting file\n").arg(text));
    // A setting file cut short is still told as damaged, not as something else.
    const QString damaged = s.folder.writeBytes(QStringLiteral("cut.sec"), FileBytes(s.sec).left(60));
    const CliResult cutShort = s.run({QStringLiteral("show"), QStringLiteral("--sec"), damaged, s.image});
    QVERIFY2(cutShort.status == 1
                 && cutShort.err.contains(QStringLiteral("holds a setting count that its size cannot back"))
                 && cutShort.err.contains(QStringLiteral("it ends inside record ")),
             qPrintable(cutShort.err));
    // Cut where its second record ends: the file says how many whole records it holds.
    const SettingList settings = MainFixtures::SampleSettings();
    const QByteArray twoRecords = EncodeSettingFile(MainFixtures::Header(0x32, 1), settings.mid(0, 2));
    const QString atRecord = s.folder.writeBytes(QStringLiteral("two.sec"), FileBytes(s.sec).left(twoRecords.size()));
    const CliResult cutAtRecord = s.run({QStringLiteral("check"), atRecord});
    QVERIFY2(cutAtRecord.status == 1
                 && cutAtRecord.err.endsWith(
                     QStringLiteral("it ends after record 2 of the %1 its header counts\n").arg(settings.size())),
             qPrintable(cutAtRecord.err));
}

void TestCliWords::unknownNameGetsTheNearestNames()
{
    Sample s;
    const QList<QPair<QString, QString>> cases = {
        // Letter case alone comes first, before a name one letter away ("Owner").
        {QStringLiteral("OWNER"), QStringLiteral("did you mean \"Net\\GPRS\\Owner\"?")},
        {QStringLiteral("Volme"), QStringLiteral("did you mean \"Sound\\Volume\"?")},
        {QStringLiteral("sound\\volume"), QStringLiteral("did you mean \"Sound\\Volume\"?")},
        {QStringLiteral("Timeot"), QStringLiteral("did you mean \"Display\\Timeout\"?")},
    };
    for (const auto &c : cases) {
        const CliResult r = s.run({QStringLiteral("set"), s.image, c.first + QStringLiteral("=1")});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("no setting is named \"%1\"; %2").arg(c.first, c.second)),
                 qPrintable(r.err));
    }
    const CliResult far = s.run({QStringLiteral("set"), s.image, QStringLiteral("Brightness=1")});
    QVERIFY2(far.err.contains(QStringLiteral("no setting is named \"Brightness\"\n")), qPrintable(far.err));
    QCOMPARE(FileBytes(s.image), SampleImage());
}

// Volume is a list of Low, Mid and High (0, 16, 32), Mid in the sample image.
void TestCliWords::listValuesAreMatchedAsPeopleWriteThem()
{
    Sample s;
    const auto set = [&s](const QString &assignment) { return s.run({QStringLiteral("set"), s.image, assignment}); };
    CliResult r = set(QStringLiteral("Sound\\Volume=high"));
    QCOMPARE(r.status, 0);
    QCOMPARE(quint8(FileBytes(s.image).at(0)), quint8(0x21));
    r = set(QStringLiteral("Sound\\Volume=0x10"));   // an entry's value stands for the entry
    QCOMPARE(r.status, 0);
    QCOMPARE(quint8(FileBytes(s.image).at(0)), quint8(0x11));

    const QList<QPair<QString, QString>> refused = {
        {QStringLiteral("Sound\\Volume=Hig"),
         QStringLiteral("\"Sound\\Volume\": \"Hig\" is not in the list (Low, Mid, High); did you mean \"High\"?")},
        {QStringLiteral("Sound\\Volume=119"),
         QStringLiteral("\"Sound\\Volume\": 0x77 (119) is not one of the list's values (Low, Mid, High)")},
        // The tree's continuation page is no group of the setting file.
        {QStringLiteral("Sound (2) (2)\\Volume=High"),
         QStringLiteral("no setting is named \"Sound (2) (2)\\Volume\"; did you mean \"Sound\\Volume\"?")},
    };
    for (const auto &c : refused) {
        r = set(c.first);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(c.second), qPrintable(r.err));
    }
    QCOMPARE(quint8(FileBytes(s.image).at(0)), quint8(0x11));
}

void TestCliWords::countsAreWordedForOneAndMany()
{
    Sample s;
    // Two check boxes on one bit: one warning.
    SettingList settings{
        Named(SeemFixtures::Checkbox(0, 0x01, 1, 0), QStringLiteral("Beep"), QStringLiteral("Sound")),
        Named(SeemFixtures::Checkbox(0, 0x01, 1, 0), QStringLiteral("Click"), QStringLiteral("Sound"))};
    const QString shared = s.folder.writeSec(QStringLiteral("shared.sec"), Header(0x32, 1), settings);
    const CliResult check = s.run({QStringLiteral("check"), shared});
    QVERIFY2(check.out.endsWith(QStringLiteral("2 settings, 0 errors, 1 warning\n")), qPrintable(check.out));
    const CliResult list = s.run({QStringLiteral("list")});
    QVERIFY2(list.out.contains(QRegularExpression(QStringLiteral("shared.sec .* 1 warning\n"))), qPrintable(list.out));
    settings.resize(1);
    const CliResult one =
        s.run({QStringLiteral("check"), s.folder.writeSec(QStringLiteral("one.sec"), Header(0x32, 1), settings)});
    QVERIFY2(one.out.endsWith(QStringLiteral("1 setting, 0 errors, 0 warnings\n")), qPrintable(one.out));
}

// A profile of another phone names thousands of settings this file lacks, or a name
// thousands share: the first twenty unknown names get suggestions, and each ambiguous
// name lists the first eight settings it names.
void TestCliWords::thousandsOfRefusalsStayShort()
{
    ProgramFolder folder;
    SettingList settings;
    for (int i = 0; i < 3000; ++i)
        settings << Named(SeemFixtures::Int8(i), QStringLiteral("Owner"), QStringLiteral("G%1").arg(i));
    settings << Named(SeemFixtures::Int8(3000), QStringLiteral("Volume"), QStringLiteral("Sound"));
    folder.writeSec(QStringLiteral("crowd.sec"), Header(0x32, 1), settings);
    const QString image = folder.writeBytes(QStringLiteral("0032_0001.seem"), QByteArray(3001, '\0'));
    QByteArray profile = "{\"settings\": [";
    for (int i = 0; i < 3000; ++i)
        profile += "{\"name\": \"Volme\", \"value\": 1}, {\"name\": \"Owner\", \"value\": 1}, ";
    profile += "{\"name\": \"Volme\", \"value\": 1}]}";
    const CliResult r = RunCliCaptured(
        {QStringLiteral("apply"), image, folder.writeBytes(QStringLiteral("p.json"), profile)}, folder.dir.path());
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err.count(QStringLiteral(": no setting is named \"Volme\"")), 3001);
    QCOMPARE(r.err.count(QStringLiteral("no setting is named \"Volme\"; did you mean \"Sound\\Volume\"?\n")), 20);
    QCOMPARE(
        r.err.count(QStringLiteral(": \"Owner\" names more than one setting; write the group before the name, as in "
                                   "Group\\Name: \"G0\\Owner\", \"G1\\Owner\", \"G2\\Owner\", \"G3\\Owner\", "
                                   "\"G4\\Owner\", \"G5\\Owner\", \"G6\\Owner\", \"G7\\Owner\" and 2992 more\n")),
        3000);
    QVERIFY2(r.err.size() < 6001 * 200, qPrintable(r.err.left(2000)));
    QCOMPARE(FileBytes(image), QByteArray(3001, '\0'));
}

// The manual page is --help plus packaging/brimvale-cli.h2m; its COMMANDS section, written
// by hand, must name the commands --help lists, in the same order.
void TestCliWords::manualPageListsTheCommandsOfTheHelp()
{
    const CliResult help = RunCliCaptured({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    const QString commandsPart =
        help.out.section(QStringLiteral("\nCommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList helpCommands;
    for (const QString &line : commandsPart.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("  ")) && !line.startsWith(QStringLiteral("   ")))
            helpCommands << line.simplified().section(QLatin1Char(' '), 0, 0);
    QVERIFY2(helpCommands.size() >= 10, qPrintable(help.out));

    QFile page(QStringLiteral(BVL_SOURCE_DIR "/packaging/brimvale-cli.h2m"));
    QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString include = QString::fromUtf8(page.readAll());
    const QString commandsSection =
        include.section(QStringLiteral("[COMMANDS]"), 1).section(QStringLiteral("\n["), 0, 0);
    QStringList pageCommands;
    for (const QString &line : commandsSection.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral(".B ")))
            pageCommands << line.mid(3).trimmed().replace(QStringLiteral("\\-"),
                                                          QStringLiteral("-"));   // groff's hyphen
    QCOMPARE(pageCommands, helpCommands);

    // What set and apply are told to write anyway is in the page as in their help.
    for (const QString &command : {QStringLiteral("set"), QStringLiteral("apply")})
        QVERIFY(RunCliCaptured({command, QStringLiteral("--help")}).out.contains(QStringLiteral("--any-record")));
    QVERIFY(include.contains(QStringLiteral("\\-\\-any\\-record")));
}

QTEST_MAIN(TestCliWords)
#include "tst_cliwords.moc"
