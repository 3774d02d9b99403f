// brimvale-cli survey: many images through one setting file, as text, CSV and JSON, and
// the images it leaves out with the exit status that says so.
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"
#include "support/CliRun.h"
#include "support/FifoFiles.h"
#include "support/MainFixtures.h"
#include "support/SeemFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

// A check box with a comma and a quote in its name, a number, and a text; byte 16 is
// owned by none.
SettingList Settings()
{
    using namespace SeemFixtures;
    return {Named(Checkbox(0, 0x01, 1, 0), "Calls, \"loud\"", "Sound"), Named(Int8(1), "Timeout", "Display"),
            Named(AnsiString(2, 12), "Greeting", "Display")};
}

QByteArray Image(bool loud, int timeout, const QString &greeting, quint8 byte16 = 0)
{
    const SettingList s = Settings();
    MemoryByteStore image(QByteArray(20, '\0'));
    SettingCodec::EncodeChecked(image, s.at(0), loud);
    SettingCodec::EncodeText(image, s.at(1), QString::number(timeout));
    SettingCodec::EncodeText(image, s.at(2), greeting);
    QByteArray bytes = image.bytes();
    bytes[16] = char(byte16);
    return bytes;
}

struct Survey
{
    MainFixtures::ProgramFolder folder;
    QString sec = folder.writeSec("survey.sec", MainFixtures::Header(0x32, 1), Settings());
    QString a = folder.writeBytes("0032_0001_a.seem", Image(true, 5, "Hi, \"you\""));
    QString b = folder.writeBytes("0032_0001_b.seem", Image(false, 5, "Hello", 0x02));
    QString c = folder.writeBytes("0032_0001_c.seem", Image(true, 9, "Hello", 0x04));

    CliResult run(QStringList arguments) const
    {
        return RunCliCaptured(QStringList{"survey"} + arguments, folder.dir.path());
    }
};

}   // namespace

class TestCliSurvey : public QObject
{
    Q_OBJECT
private slots:
    void textSummaryAndExitStatus();
    void imagesLeftOutAreNamed();
    void csvHasARowPerSettingAndAColumnPerImage();
    void jsonCarriesTheStatistics();
    void oneSettingAndUnknownNames();
};

void TestCliSurvey::textSummaryAndExitStatus()
{
    Survey s;
    // Without --sec the setting file is chosen from the first image's name.
    const CliResult text = s.run({s.a, s.b, s.c});
    QCOMPARE(text.status, 0);
    QCOMPARE(text.err, QString());
    QVERIFY2(text.out.contains("Images: 3 of 3 used, 20 bytes each"), qPrintable(text.out));
    QVERIFY(text.out.contains("Settings that vary: 3 of 3"));
    QVERIFY(text.out.contains("Sound\\Calls, \"loud\"\n"));
    QVERIFY(text.out.contains(QRegularExpression(" on +2 +0032_0001_a.seem, 0032_0001_c.seem\n")));
    QVERIFY(text.out.contains(QRegularExpression(" Hello +2 +0032_0001_b.seem, 0032_0001_c.seem\n")));
    QVERIFY(text.out.contains("Bytes with varying bits that no setting describes: 1\n  16 (0x10): bits 00000110\n"));

    for (const QStringList &bad : {QStringList{}, QStringList{"--format", "xml", s.a}, QStringList{"--bogus", s.a}}) {
        const CliResult usage = s.run(bad);
        QCOMPARE(usage.status, 2);
        QVERIFY(usage.err.contains("See 'brimvale-cli survey --help'"));
    }
}

void TestCliSurvey::imagesLeftOutAreNamed()
{
    Survey s;
    const QString big = s.folder.writeBytes("0032_0001_big.seem", Image(true, 1, "x") + "more");
    const QString other = s.folder.writeBytes("0032_0002.seem", Image(true, 1, "x"));
    const QString fifo = MakeFifo(s.folder.file("0032_0001_fifo.seem"));
    const QString missing = s.folder.file("0032_0001_gone.seem");
    const CliResult run = s.run({"--sec", s.sec, s.a, big, other, fifo, missing, s.b});
    QCOMPARE(run.status, 1);
    const QStringList warnings = run.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(warnings.size(), 4);
    QCOMPARE(warnings.at(0),
             "brimvale-cli: warning: " + big + ": holds 24 bytes where the first image used holds 20, left out");
    QCOMPARE(warnings.at(1),
             "brimvale-cli: warning: " + other
                 + ": its name says SEEM 0032_0002, the setting file describes SEEM 0032_0001, left out");
    QCOMPARE(warnings.at(2), "brimvale-cli: warning: " + fifo + ": is not a regular file, left out");
    QCOMPARE(warnings.at(3), "brimvale-cli: warning: " + missing + ": does not exist, left out");
    QVERIFY(run.out.contains("Images: 2 of 6 used"));
    QVERIFY(run.out.contains("  left out: " + missing + ": does not exist\n"));

    // A folder's images count as given one by one: all used, status 0.
    MainFixtures::ProgramFolder only;
    only.writeBytes("0032_0001_1.seem", Image(true, 1, "x"));
    only.writeBytes("0032_0001_2.seem", Image(true, 2, "x"));
    const CliResult folder = s.run({"--sec", s.sec, "--format", "csv", only.dir.path()});
    QCOMPARE(folder.status, 0);
    QVERIFY(folder.out.startsWith("setting,0032_0001_1.seem,0032_0001_2.seem\r\n"));
}

void TestCliSurvey::csvHasARowPerSettingAndAColumnPerImage()
{
    Survey s;
    const CliResult csv = s.run({"--format", "csv", s.a, s.b, s.c});
    QCOMPARE(csv.status, 0);
    QCOMPARE(csv.out, QStringLiteral("setting,0032_0001_a.seem,0032_0001_b.seem,0032_0001_c.seem\r\n"
                                     "\"Sound\\Calls, \"\"loud\"\"\",on,off,on\r\n"
                                     "Display\\Timeout,5,5,9\r\n"
                                     "Display\\Greeting,\"Hi, \"\"you\"\"\",Hello,Hello\r\n"));
    // --varying keeps the rows that differ.
    const CliResult varying = s.run({"--format", "csv", "--varying", s.a, s.b});
    QCOMPARE(varying.out.count("\r\n"), 3);
    QVERIFY(!varying.out.contains("Timeout"));
}

void TestCliSurvey::jsonCarriesTheStatistics()
{
    Survey s;
    const QString missing = s.folder.file("0032_0001_gone.seem");
    const CliResult run = s.run({"--format", "json", s.a, missing, s.b, s.c});
    QCOMPARE(run.status, 1);
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(json["imagesUsed"].toInt(), 3);
    const QJsonArray images = json["images"].toArray();
    QCOMPARE(images.size(), 4);
    QCOMPARE(images[1].toObject()["used"].toBool(), false);
    QCOMPARE(images[1].toObject()["reason"].toString(), "does not exist");
    QCOMPARE(images[2].toObject()["path"].toString(), s.b);

    const QJsonArray settings = json["settings"].toArray();
    QCOMPARE(settings.size(), 3);
    const QJsonObject timeout = settings[1].toObject();
    QCOMPARE(timeout["name"].toString(), "Display\\Timeout");
    QCOMPARE(timeout["varies"].toBool(), true);
    const QJsonArray values = timeout["values"].toArray();
    QCOMPARE(values.size(), 2);
    // Numbers as show writes them in JSON; image indexes count the one left out.
    QCOMPARE(values[0].toObject()["value"].toInt(), 5);
    QCOMPARE(values[0].toObject()["count"].toInt(), 2);
    QCOMPARE(values[0].toObject()["images"].toArray(), QJsonArray({0, 2}));
    QCOMPARE(values[1].toObject()["images"].toArray(), QJsonArray({3}));

    const QJsonArray bits = json["undescribedVaryingBits"].toArray();
    QCOMPARE(bits.size(), 1);
    QCOMPARE(bits[0].toObject()["offset"].toInt(), 16);
    QCOMPARE(bits[0].toObject()["mask"].toInt(), 6);
}

void TestCliSurvey::oneSettingAndUnknownNames()
{
    Survey s;
    const CliResult one = s.run({"--setting", "Greeting", s.a, s.b, s.c});
    QCOMPARE(one.status, 0);
    QVERIFY(one.out.contains("Display\\Greeting\n"));
    QVERIFY(!one.out.contains("Timeout"));
    QVERIFY(one.out.contains(QRegularExpression(" Hi, \"you\" +1 +0032_0001_a.seem\n")));

    const CliResult unknown = s.run({"--setting", "Greting", s.a});
    QCOMPARE(unknown.status, 1);
    QCOMPARE(unknown.out, QString());
    QCOMPARE(unknown.err, "brimvale-cli: no setting is named \"Greting\"; did you mean \"Display\\Greeting\"?\n");
}

QTEST_GUILESS_MAIN(TestCliSurvey)
#include "tst_clisurvey.moc"
