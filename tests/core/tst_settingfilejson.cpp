// The JSON form of a setting file gives back every file it was made from, byte for byte,
// and refuses what no setting file can hold with the JSON path of the problem.
#include "core/CodePage.h"
#include "core/JsonFields.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "support/FileBytes.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <functional>

namespace {

// Every setting file of the tests that the reader accepts and that holds nothing behind
// its last record: the shipped demo and the readable files of the fuzzing corpus.
QStringList ValidSettingFiles()
{
    QStringList files{QStringLiteral(BVL_DATA_DIR "/demo-phone.sec")};
    const QDir corpus(QStringLiteral(BVL_SOURCE_DIR "/fuzz/corpus/fuzz_settingfile"));
    for (const QString &name : corpus.entryList({QStringLiteral("*.sec")}, QDir::Files, QDir::Name))
        files << corpus.filePath(name);
    QStringList valid;
    for (const QString &file : files) {
        SettingFileHeader header;
        SettingList settings;
        try {
            ReadSettingFile(file, header, settings);
        } catch (const BvlError &) {
            continue;
        }
        if (EncodeSettingFile(header, settings) == FileBytes(file))
            valid << file;
    }
    return valid;
}

QByteArray ThroughJson(const QString &file)
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(file, header, settings);
    const QByteArray json = QJsonDocument(SettingFileToJson(header, settings)).toJson();
    SettingFileHeader backHeader;
    SettingList backSettings;
    SettingFileFromJson(ParseJsonObject(json), backHeader, backSettings);
    return EncodeSettingFile(backHeader, backSettings);
}

QJsonObject DemoJson()
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(QStringLiteral(BVL_DATA_DIR "/demo-phone.sec"), header, settings);
    return SettingFileToJson(header, settings);
}

// Changes one field of the first setting.
QJsonObject WithFirstSetting(QJsonObject json, const std::function<void(QJsonObject &)> &edit)
{
    QJsonArray settings = json.value(QStringLiteral("settings")).toArray();
    QJsonObject first = settings.at(0).toObject();
    edit(first);
    settings[0] = first;
    json[QStringLiteral("settings")] = settings;
    return json;
}

QJsonObject WithHeaderField(QJsonObject json, const QString &key, const QJsonValue &value)
{
    QJsonObject header = json.value(QStringLiteral("header")).toObject();
    header[key] = value;
    json[QStringLiteral("header")] = header;
    return json;
}

}   // namespace

class TestSettingFileJson : public QObject
{
    Q_OBJECT

private slots:
    void roundTripIsByteExact();
    void textsOfEveryByteRoundTripInEveryCodePage();
    void valuesKeepTextsThatAreNoPlainNumbers();
    void refusesWithThePath_data();
    void refusesWithThePath();
    void sizeLimitCountsTheTextToTheByte();
};

void TestSettingFileJson::roundTripIsByteExact()
{
    const QStringList files = ValidSettingFiles();
    // The demo and the corpus's readable files of every type; a shrinking corpus shows here.
    QVERIFY2(files.size() >= 8, qPrintable(files.join(QLatin1Char('\n'))));
    for (const QString &file : files)
        QVERIFY2(ThroughJson(file) == FileBytes(file), qPrintable(file));
}

void TestSettingFileJson::textsOfEveryByteRoundTripInEveryCodePage()
{
    // A setting file stores texts with their length: NUL, control characters and the bytes
    // a code page leaves unassigned are all valid, and the JSON must carry them all.
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    for (int codePage : CodePage::Supported()) {
        const CodePage::Scope scope(codePage);
        const QString text = CodePage::decode(everyByte);
        SettingFileHeader header;
        header.Magic = QStringLiteral("sec");
        header.FileVersion = 3;
        header.ProgramVersion = text;
        header.Phones = text;
        header.Author = QString(QChar(0));
        header.SettingCount = 1;
        SettingStruct s;
        s.Name = text;
        s.Description = text;
        s.Group = text;
        s.ValueNames = text;
        s.Values = QStringLiteral("1\u00a7-0\u00a7\u00a7 7\u00a7") + text;
        const QByteArray original = EncodeSettingFile(header, {s});
        QBuffer in;
        in.setData(original);
        in.open(QIODevice::ReadOnly);
        SettingFileHeader readHeader;
        SettingList readSettings;
        ReadSettingStream(in, readHeader, readSettings);
        const QByteArray json = QJsonDocument(SettingFileToJson(readHeader, readSettings)).toJson();
        SettingFileHeader backHeader;
        SettingList backSettings;
        SettingFileFromJson(ParseJsonObject(json), backHeader, backSettings);
        QVERIFY2(EncodeSettingFile(backHeader, backSettings) == original, qPrintable(CodePage::DisplayName(codePage)));
    }
}

void TestSettingFileJson::valuesKeepTextsThatAreNoPlainNumbers()
{
    SettingFileHeader header;
    header.Magic = QStringLiteral("sec");
    header.FileVersion = 3;
    header.SettingCount = 1;
    SettingStruct s;
    s.Values = JoinValues({QStringLiteral("16"), QStringLiteral("016"), QStringLiteral("-0"), QStringLiteral(""),
                           QStringLiteral("x"), QStringLiteral("99999999999")});
    s.ValueNames = QStringLiteral("Only");
    const QJsonObject json = SettingFileToJson(header, {s});
    const QJsonArray values =
        json.value(QStringLiteral("settings")).toArray().at(0).toObject().value(QStringLiteral("Values")).toArray();
    QCOMPARE(values.at(0), QJsonValue(16));
    QCOMPARE(values.at(1), QJsonValue(QStringLiteral("016")));
    QCOMPARE(values.at(2), QJsonValue(QStringLiteral("-0")));
    SettingFileHeader backHeader;
    SettingList back;
    SettingFileFromJson(json, backHeader, back);
    QCOMPARE(back.at(0), s);
    QCOMPARE(backHeader, header);
}

void TestSettingFileJson::refusesWithThePath_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QString>("path");
    const QJsonObject demo = DemoJson();
    auto removed = [&](const QString &key) {
        QJsonObject j = demo;
        j.remove(key);
        return j;
    };
    QTest::newRow("no settings") << removed(QStringLiteral("settings")) << "$.settings";
    QJsonObject otherFormat = demo;
    otherFormat[QStringLiteral("format")] = QStringLiteral("a show profile");
    QTest::newRow("not the format") << otherFormat << "$.format";
    QTest::newRow("misspelt field") << WithFirstSetting(demo, [](QJsonObject &s) { s[QStringLiteral("Ofset")] = 1; })
                                    << "$.settings[0].Ofset";
    QTest::newRow("missing name") << WithFirstSetting(demo, [](QJsonObject &s) { s.remove(QStringLiteral("Name")); })
                                  << "$.settings[0].Name";
    QTest::newRow("type out of range") << WithFirstSetting(demo, [](QJsonObject &s) {
        s[QStringLiteral("Type")] = 256;
    }) << "$.settings[0].Type";
    QTest::newRow("fractional offset") << WithFirstSetting(demo, [](QJsonObject &s) {
        s[QStringLiteral("Offset")] = 1.5;
    }) << "$.settings[0].Offset";
    QTest::newRow("text for a number") << WithFirstSetting(demo, [](QJsonObject &s) {
        s[QStringLiteral("BitMask")] = QStringLiteral("1");
    }) << "$.settings[0].BitMask";
    QTest::newRow("separator in a name") << WithFirstSetting(demo, [](QJsonObject &s) {
        s[QStringLiteral("ValueNames")] = QJsonArray{QStringLiteral("a\u00a7b")};
    }) << "$.settings[0].ValueNames[0]";
    QTest::newRow("value not a number") << WithFirstSetting(demo, [](QJsonObject &s) {
        s[QStringLiteral("Values")] = QJsonArray{1, true};
    }) << "$.settings[0].Values[1]";
    // The texts of records, Author and Phones are the record rules' (import refuses them).
    QTest::newRow("outside the code page")
        << WithHeaderField(demo, QStringLiteral("ProgramVersion"), QStringLiteral("\u4e2d"))
        << "$.header.ProgramVersion";
    QTest::newRow("text too long") << WithHeaderField(demo, QStringLiteral("ProgramVersion"),
                                                      QString(65536, QLatin1Char('v')))
                                   << "$.header.ProgramVersion";
    QTest::newRow("SEEM number beyond 16 bits")
        << WithHeaderField(demo, QStringLiteral("SEEMNr"), 32768) << "$.header.SEEMNr";
    QTest::newRow("magic of 4 characters")
        << WithHeaderField(demo, QStringLiteral("Magic"), QStringLiteral("secs")) << "$.header.Magic";
    QTest::newRow("count other than the records")
        << WithHeaderField(demo, QStringLiteral("SettingCount"), 48) << "$.header.SettingCount";
    QTest::newRow("record not an object") << [&] {
        QJsonObject j = demo;
        QJsonArray settings = j.value(QStringLiteral("settings")).toArray();
        settings[3] = 7;
        j[QStringLiteral("settings")] = settings;
        return j;
    }() << "$.settings[3]";
}

void TestSettingFileJson::refusesWithThePath()
{
    QFETCH(QJsonObject, json);
    QFETCH(QString, path);
    SettingFileHeader header;
    header.Author = QStringLiteral("untouched");
    SettingList settings;
    try {
        SettingFileFromJson(json, header, settings);
        QFAIL("accepted");
    } catch (const JsonInputError &e) {
        QCOMPARE(e.path(), path);
    }
    QCOMPARE(header.Author, QStringLiteral("untouched"));
    QVERIFY(settings.isEmpty());
}

void TestSettingFileJson::sizeLimitCountsTheTextToTheByte()
{
    // Export refuses a file whose JSON import would not read: the limit is the text's size.
    for (const QString &file : ValidSettingFiles()) {
        SettingFileHeader header;
        SettingList settings;
        ReadSettingFile(file, header, settings);
        const qint64 size = QJsonDocument(SettingFileToJson(header, settings)).toJson(QJsonDocument::Indented).size();
        SettingFileToJson(header, settings, size);
        try {
            SettingFileToJson(header, settings, size - 1);
            QFAIL(qPrintable(file));
        } catch (const BvlError &e) {
            QCOMPARE(e.number(), ErrNo::FileTooLarge);
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("its JSON would be more than the %1 bytes import reads").arg(size - 1));
        }
    }
}

QTEST_GUILESS_MAIN(TestSettingFileJson)
#include "tst_settingfilejson.moc"
