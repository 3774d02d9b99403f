// Value words and setting names: what the command line prints and takes, through the codec.
#include "seem/document/SettingLookup.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingValueParse.h"
#include "seem/values/SettingValueText.h"
#include "support/SeemFixtures.h"

#include <QtTest>

using namespace SeemFixtures;

class TestSettingValueText : public QObject
{
    Q_OBJECT

private slots:
    void parsedWordsDecodeToThemselves_data();
    void parsedWordsDecodeToThemselves();
    void undecodableValuesSayWhy();
    void lookupPrefersThePathThenAUniqueName();
};

void TestSettingValueText::parsedWordsDecodeToThemselves_data()
{
    QTest::addColumn<SettingStruct>("setting");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    SettingStruct list = ValueList(1, 0x0C, {0, 4, 8, 4});
    list.ValueNames =
        JoinValues({QStringLiteral("Zero"), QStringLiteral("Four"), QStringLiteral("Eight"), QStringLiteral("Four")});
    QTest::newRow("check box TRUE") << Checkbox(0, 0x02, 0, 2) << "TRUE"
                                    << "on";
    QTest::newRow("check box 0") << Checkbox(0, 0x02, 0, 2) << "0"
                                 << "off";
    QTest::newRow("list entry") << list << "Eight"
                                << "Eight";
    QTest::newRow("list, first of two equal names") << list << "Four"
                                                    << "Four";
    QTest::newRow("number with blanks") << Int8(2) << " 7"
                                        << "7";
    QTest::newRow("ansi, as long as fits") << AnsiString(3, 4) << "\u00e9t\u00e9"
                                           << "\u00e9t\u00e9";
    QTest::newRow("unicode, empty") << UnicodeString(8, 6) << ""
                                    << "";
    QTest::newRow("unicode, beyond Latin") << UnicodeString(8, 6) << "\u8a9e!"
                                           << "\u8a9e!";
}

void TestSettingValueText::parsedWordsDecodeToThemselves()
{
    QFETCH(SettingStruct, setting);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    MemoryByteStore image(QByteArray(16, char(0xFF)));
    const ParsedValue value = ParseValueText(setting, typed);
    QVERIFY2(value.accepted, qPrintable(value.reason));
    EncodeParsedValue(image, setting, value);
    const ValueText back = DecodeValueText(image, setting);
    QVERIFY2(back.decoded, qPrintable(back.reason));
    QCOMPARE(back.text, shown);
    // The bits outside the setting's own stay set.
    if (setting.Type <= quint8(SettingType::ValueList))
        QCOMPARE(quint8(image.bytes().at(setting.Offset)) | setting.BitMask, 0xFF);
}

void TestSettingValueText::undecodableValuesSayWhy()
{
    // More values than names: the third value has no name, so it is no entry of the list.
    SettingStruct list = ValueList(0, 0x03, {0, 1, 2});
    list.ValueNames = JoinValues({QStringLiteral("A"), QStringLiteral("B")});
    MemoryByteStore image(QByteArray::fromHex("02"));
    QCOMPARE(DecodeValueText(image, list).reason, QStringLiteral("its bits 00000010 match no entry"));
    // Setting it to a named entry repairs it.
    EncodeParsedValue(image, list, ParseValueText(list, QStringLiteral("B")));
    QCOMPARE(DecodeValueText(image, list).text, QStringLiteral("B"));

    // What the window reads is enough: a check box's checked value, a list's named values.
    SettingStruct onlyChecked = Checkbox(0, 0x01, 1, 0);
    onlyChecked.Values = QStringLiteral("1");
    QCOMPARE(DecodeValueText(image, onlyChecked).text, CheckedText);
    list.Values = JoinValues({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("x")});
    QCOMPARE(DecodeValueText(image, list).text, QStringLiteral("B"));

    SettingStruct unknown = Int8(0);
    unknown.Type = 9;
    QVERIFY(!DecodeValueText(image, unknown).decoded);
    QVERIFY(ParseValueText(unknown, QStringLiteral("1")).reason.contains(QStringLiteral("type code 9")));
    QVERIFY(DecodeValueText(image, AnsiString(0, 2)).reason.contains(QStringLiteral("outside the image of 1 bytes")));
    QVERIFY(ParseValueText(AnsiString(0, 8), QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b"))
                .reason.contains(QStringLiteral("zero character")));

    // An entry named "%1" is named as written, the numbers after it in their places.
    SettingStruct percent = ValueList(0, 0x01, {2, 300});
    percent.ValueNames = JoinValues({QStringLiteral("%1"), QStringLiteral("%2 up")});
    QCOMPARE(
        ParseValueText(percent, QStringLiteral("%1")).reason,
        QStringLiteral("the value 0x2 (2) of \"%1\" has bits outside the mask 00000001, so it would read back as no "
                       "entry of the list"));
    QCOMPARE(ParseValueText(percent, QStringLiteral("%2 up")).reason,
             QStringLiteral("the value 0x12C (300) of \"%2 up\" does not fit a byte"));
}

void TestSettingValueText::lookupPrefersThePathThenAUniqueName()
{
    SettingStruct a = Int8(0);
    a.Name = QStringLiteral("Volume");
    a.Group = QStringLiteral(" Sound \\ Ring ");
    SettingStruct b = Int8(1);
    b.Name = QStringLiteral("Volume");
    b.Group = QStringLiteral("Keys");
    SettingStruct c = Int8(2);
    c.Name = QStringLiteral("Sound\\Ring\\Volume");   // a name that looks like a path
    c.Group = QStringLiteral("   ");
    const SettingList settings{a, b, c};

    QCOMPARE(SettingPathOf(a), QStringLiteral("Sound\\Ring\\Volume"));
    QCOMPARE(SettingPathOf(c), QStringLiteral("Unknown\\Sound\\Ring\\Volume"));
    QCOMPARE(FindSetting(settings, QStringLiteral("Sound\\Ring\\Volume")).index(), 1);
    QCOMPARE(FindSetting(settings, QStringLiteral("Keys\\Volume")).index(), 2);
    const SettingMatch bare = FindSetting(settings, QStringLiteral("Volume"));
    QCOMPARE(bare.result, SettingMatch::Ambiguous);
    QCOMPARE(bare.indices, QVector<int>({1, 2}));
    QCOMPARE(FindSetting(settings, QStringLiteral("volume")).result, SettingMatch::Unknown);
}

QTEST_GUILESS_MAIN(TestSettingValueText)
#include "tst_settingvaluetext.moc"
