#include "core/BvlError.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"
#include "support/CoreErrors.h"
#include "support/SeemFixtures.h"

#include <QtTest>
#include <limits>

using namespace SeemFixtures;

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// A list whose Values text may hold more entries than it has names.
SettingStruct NamedList(const QString &values, int names)
{
    SettingStruct s = ValueList(0, 0x30, {});
    s.Values = values;
    QStringList texts;
    for (int i = 0; i < names; ++i)
        texts << QStringLiteral("Value %1").arg(i);
    s.ValueNames = JoinValues(texts);
    return s;
}

}   // namespace

class TestSettingCodec : public QObject
{
    Q_OBJECT

private slots:
    void checkboxDecode_data();
    void checkboxDecode();
    void checkboxEncode_data();
    void checkboxEncode();
    void checkboxBadValues_data();
    void checkboxBadValues();
    void sharedByte();
    void listDecode_data();
    void listDecode();
    void listEncode_data();
    void listEncode();
    void int8RoundTrip();
    void int8Refused_data();
    void int8Refused();
    void ansiDecode_data();
    void ansiDecode();
    void ansiEncode_data();
    void ansiEncode();
    void ansiRefusesUnencodable();
    void unicodeDecode_data();
    void unicodeDecode();
    void unicodeEncode_data();
    void unicodeEncode();
    void unicodeRoundTripsNonLatin();
    void beyondEnd_data();
    void beyondEnd();
    void stringFieldReachingPastEnd();
    void decodingFieldsAtTheEnd_data();
    void decodingFieldsAtTheEnd();
    void unknownTypeDoesNothing();
    void maxTextLength_data();
    void maxTextLength();
    void valueNumbers();
};

void TestSettingCodec::checkboxDecode_data()
{
    QTest::addColumn<quint8>("byte");
    QTest::addColumn<quint8>("mask");
    QTest::addColumn<int>("checkedValue");
    QTest::addColumn<int>("uncheckedValue");
    QTest::addColumn<bool>("checked");

    QTest::newRow("bit set, 1 checked") << quint8(0x01) << quint8(0x01) << 1 << 0 << true;
    QTest::newRow("bit clear, 1 checked") << quint8(0xFE) << quint8(0x01) << 1 << 0 << false;
    QTest::newRow("inverted sense, bit set") << quint8(0x01) << quint8(0x01) << 0 << 1 << false;
    QTest::newRow("inverted sense, bit clear") << quint8(0x00) << quint8(0x01) << 0 << 1 << true;
    QTest::newRow("bits outside mask ignored") << quint8(0xEF) << quint8(0x30) << 0x20 << 0x10 << true;
    QTest::newRow("neither value shows unchecked") << quint8(0x30) << quint8(0x30) << 0x20 << 0x10 << false;
}

void TestSettingCodec::checkboxDecode()
{
    QFETCH(quint8, byte);
    QFETCH(quint8, mask);
    QFETCH(int, checkedValue);
    QFETCH(int, uncheckedValue);
    QFETCH(bool, checked);

    MemoryByteStore store(QByteArray(1, char(0x55)) + QByteArray(1, char(byte)));
    QCOMPARE(SettingCodec::DecodeChecked(store, Checkbox(1, mask, checkedValue, uncheckedValue)), checked);
}

void TestSettingCodec::checkboxEncode_data()
{
    QTest::addColumn<quint8>("before");
    QTest::addColumn<quint8>("mask");
    QTest::addColumn<int>("checkedValue");
    QTest::addColumn<int>("uncheckedValue");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<quint8>("after");

    QTest::newRow("check keeps other bits") << quint8(0xA0) << quint8(0x01) << 1 << 0 << true << quint8(0xA1);
    QTest::newRow("uncheck keeps other bits") << quint8(0xA1) << quint8(0x01) << 1 << 0 << false << quint8(0xA0);
    QTest::newRow("inverted sense") << quint8(0xA1) << quint8(0x01) << 0 << 1 << true << quint8(0xA0);
    // Showing unchecked for "neither value" means a save writes the unchecked value.
    QTest::newRow("neither value saved as unchecked")
        << quint8(0xF3) << quint8(0x30) << 0x20 << 0x10 << false << quint8(0xD3);
    QTest::newRow("value with bits outside mask") << quint8(0x50) << quint8(0x0F) << 0xFF << 0 << true << quint8(0x5F);
    QTest::newRow("unchecked value outside mask") << quint8(0x5A) << quint8(0x0F) << 0 << 0xF0 << false << quint8(0x50);
}

void TestSettingCodec::checkboxEncode()
{
    QFETCH(quint8, before);
    QFETCH(quint8, mask);
    QFETCH(int, checkedValue);
    QFETCH(int, uncheckedValue);
    QFETCH(bool, checked);
    QFETCH(quint8, after);

    MemoryByteStore store(QByteArray(1, char(before)) + Hex("77"));
    SettingCodec::EncodeChecked(store, Checkbox(0, mask, checkedValue, uncheckedValue), checked);
    QCOMPARE(quint8(store.bytes().at(0)), after);
    QCOMPARE(quint8(store.bytes().at(1)), quint8(0x77));
}

void TestSettingCodec::checkboxBadValues_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("decodeError");
    QTest::addColumn<int>("checkedError");
    QTest::addColumn<int>("uncheckedError");

    // 0 for success. The checked value is needed everywhere, the unchecked one only to
    // save the box unchecked.
    const QString sep(ValueSeparator);
    const int mismatch = ErrNo::TypeMismatch;
    QTest::newRow("no values") << QString() << mismatch << mismatch << mismatch;
    QTest::newRow("checked value only") << QStringLiteral("90") << 0 << 0 << mismatch;
    QTest::newRow("unchecked value not a number") << "90" + sep + "off" << 0 << 0 << mismatch;
    QTest::newRow("checked value not a number") << "on" + sep + "0" << mismatch << mismatch << mismatch;
    QTest::newRow("checked 256") << "256" + sep + "0" << 0 << int(ErrNo::Overflow) << 0;
    QTest::newRow("unchecked -1") << "90" + sep + "-1" << 0 << 0 << int(ErrNo::Overflow);
}

void TestSettingCodec::checkboxBadValues()
{
    QFETCH(QString, values);
    QFETCH(int, decodeError);
    QFETCH(int, checkedError);
    QFETCH(int, uncheckedError);

    SettingStruct s = Checkbox(0, 0xFF, 1, 0);
    s.Values = values;
    MemoryByteStore store(Hex("33"));
    QCOMPARE(BvlErrorOf([&] { SettingCodec::DecodeChecked(store, s); }), decodeError);
    for (const bool checked : {true, false}) {
        MemoryByteStore target(Hex("33"));
        const int error = BvlErrorOf([&] { SettingCodec::EncodeChecked(target, s, checked); });
        QCOMPARE(error, checked ? checkedError : uncheckedError);
        // Written: the checked value 90 (5A) or the unchecked 0; refused: nothing.
        QCOMPARE(target.bytes(), error != 0 ? Hex("33") : checked ? Hex("5A") : Hex("00"));
    }
}

void TestSettingCodec::sharedByte()
{
    // Bit 0: a check box; bits 1..3: a list of levels. Each write reads the byte first.
    const SettingStruct beep = Checkbox(2, 0x01, 1, 0);
    const SettingStruct level = ValueList(2, 0x0E, {0, 2, 4, 6, 8});
    MemoryByteStore store(Hex("000080"));

    SettingCodec::EncodeListValue(store, level, 6);
    QCOMPARE(store.bytes(), Hex("000086"));
    SettingCodec::EncodeChecked(store, beep, true);
    QCOMPARE(store.bytes(), Hex("000087"));
    SettingCodec::EncodeListValue(store, level, 2);
    QCOMPARE(store.bytes(), Hex("000083"));

    QCOMPARE(SettingCodec::DecodeChecked(store, beep), true);
    QCOMPARE(SettingCodec::DecodeListIndex(store, level), 1);
    SettingCodec::EncodeChecked(store, beep, false);
    QCOMPARE(SettingCodec::DecodeListIndex(store, level), 1);
    QCOMPARE(store.bytes(), Hex("000082"));
}

void TestSettingCodec::listDecode_data()
{
    QTest::addColumn<quint8>("byte");
    QTest::addColumn<SettingStruct>("setting");
    QTest::addColumn<int>("index");

    QTest::newRow("match") << quint8(0x10) << ValueList(0, 0x30, {0, 16, 32}) << 1;
    QTest::newRow("bits outside mask ignored") << quint8(0xEF) << ValueList(0, 0x30, {0, 16, 32}) << 2;
    QTest::newRow("no match") << quint8(0x30) << ValueList(0, 0x30, {0, 16, 32}) << -1;
    QTest::newRow("duplicate values: first") << quint8(0x20) << ValueList(0, 0x30, {0, 32, 32}) << 1;
    QTest::newRow("full byte") << quint8(0xFF) << ValueList(0, 0xFF, {1, 255}) << 1;
    // Value k belongs to name k; what is left over names no entry and is never converted.
    const QString sep(ValueSeparator);
    QTest::newRow("value without a name") << quint8(0x20) << NamedList("0" + sep + "16" + sep + "32", 2) << -1;
    QTest::newRow("named value before surplus") << quint8(0x10) << NamedList("0" + sep + "16" + sep + "x", 2) << 1;
    QTest::newRow("surplus text not a number") << quint8(0x30) << NamedList("0" + sep + "16" + sep + "x", 2) << -1;
    QTest::newRow("name without a value") << quint8(0x10) << NamedList("0" + sep + "16", 3) << 1;
}

void TestSettingCodec::listDecode()
{
    QFETCH(quint8, byte);
    QFETCH(SettingStruct, setting);
    QFETCH(int, index);

    MemoryByteStore store(QByteArray(1, char(byte)));
    QCOMPARE(SettingCodec::DecodeListIndex(store, setting), index);
}

void TestSettingCodec::listEncode_data()
{
    QTest::addColumn<quint8>("before");
    QTest::addColumn<int>("itemData");
    QTest::addColumn<int>("error");
    QTest::addColumn<quint8>("after");

    // Mask 0x30 throughout.
    QTest::newRow("value in place") << quint8(0xCF) << 0x20 << 0 << quint8(0xEF);
    QTest::newRow("zero clears owned bits") << quint8(0xFF) << 0 << 0 << quint8(0xCF);
    QTest::newRow("bits outside mask not written") << quint8(0x00) << 0xFF << 0 << quint8(0x30);
    QTest::newRow("256") << quint8(0x5A) << 256 << int(ErrNo::Overflow) << quint8(0x5A);
    QTest::newRow("-1") << quint8(0x5A) << -1 << int(ErrNo::Overflow) << quint8(0x5A);
}

void TestSettingCodec::listEncode()
{
    QFETCH(quint8, before);
    QFETCH(int, itemData);
    QFETCH(int, error);
    QFETCH(quint8, after);

    MemoryByteStore store(QByteArray(1, char(before)));
    const SettingStruct s = ValueList(0, 0x30, {0, 16, 32});
    if (error == 0)
        SettingCodec::EncodeListValue(store, s, itemData);
    else
        QVERIFY(ThrowsNumber(error, [&] { SettingCodec::EncodeListValue(store, s, itemData); }));
    QCOMPARE(quint8(store.bytes().at(0)), after);
}

void TestSettingCodec::int8RoundTrip()
{
    MemoryByteStore store(Hex("00C8FF"));
    const SettingStruct s = Int8(1);
    QCOMPARE(SettingCodec::DecodeText(store, s), QStringLiteral("200"));
    QCOMPARE(SettingCodec::DecodeText(store, Int8(0)), QStringLiteral("0"));

    // The whole byte is replaced; BitMask plays no part.
    SettingStruct masked = s;
    masked.BitMask = 0x01;
    SettingCodec::EncodeText(store, masked, QStringLiteral("255"));
    QCOMPARE(store.bytes(), Hex("00FFFF"));
    SettingCodec::EncodeText(store, s, QStringLiteral("7"));
    QCOMPARE(store.bytes(), Hex("0007FF"));
}

void TestSettingCodec::int8Refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    QTest::newRow("256") << QStringLiteral("256") << int(ErrNo::Overflow);
    QTest::newRow("-1") << QStringLiteral("-1") << int(ErrNo::Overflow);
    QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << int(ErrNo::Overflow);
    QTest::newRow("letters") << QStringLiteral("abc") << int(ErrNo::TypeMismatch);
    QTest::newRow("empty") << QString() << int(ErrNo::TypeMismatch);
}

void TestSettingCodec::int8Refused()
{
    QFETCH(QString, text);
    QFETCH(int, error);

    MemoryByteStore store(Hex("2A"));
    QVERIFY(ThrowsNumber(error, [&] { SettingCodec::EncodeText(store, Int8(0), text); }));
    QCOMPARE(store.bytes(), Hex("2A"));
}

void TestSettingCodec::ansiDecode_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");

    QTest::newRow("stops at terminator") << Hex("4142430058595A57") << 8 << QStringLiteral("ABC");
    QTest::newRow("no terminator: full field") << Hex("4142434445464748") << 8 << QStringLiteral("ABCDEFGH");
    QTest::newRow("no terminator: not past the field") << Hex("4142434445464748") << 3 << QStringLiteral("ABC");
    QTest::newRow("Windows-1252 bytes") << Hex("80E90000") << 4 << QString::fromUtf8("\u20AC\u00E9");
    QTest::newRow("empty field") << Hex("0041") << 2 << QString();
    QTest::newRow("size 0") << Hex("4142") << 0 << QString();
}

void TestSettingCodec::ansiDecode()
{
    QFETCH(QByteArray, image);
    QFETCH(int, maxLength);
    QFETCH(QString, text);

    MemoryByteStore store(image);
    QCOMPARE(SettingCodec::DecodeText(store, AnsiString(0, maxLength)), text);
}

void TestSettingCodec::ansiEncode_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");

    // The field starts at offset 0 of the image 41 42 43 00 58 59 5A 57.
    QTest::newRow("shorter text keeps the tail") << 8 << QStringLiteral("Q") << Hex("510043005859 5A57");
    QTest::newRow("empty text") << 8 << QString() << Hex("00424300 58595A57");
    QTest::newRow("full field") << 8 << QStringLiteral("abcdefg") << Hex("61626364656667 00");
    QTest::newRow("too long: cut") << 4 << QStringLiteral("abcdefg") << Hex("616263 00 58595A57");
    QTest::newRow("size 1: terminator only") << 1 << QStringLiteral("abc") << Hex("00 424300 58595A57");
    QTest::newRow("size 0: no room") << 0 << QStringLiteral("abc") << Hex("41424300 58595A57");
    QTest::newRow("Windows-1252 text") << 8 << QString::fromUtf8("\u20AC\u00FF") << Hex("80FF00 0058595A57");
}

void TestSettingCodec::ansiEncode()
{
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);

    MemoryByteStore store(Hex("4142430058595A57"));
    SettingCodec::EncodeText(store, AnsiString(0, maxLength), text);
    QCOMPARE(store.bytes().toHex(' '), after.toHex(' '));
}

void TestSettingCodec::ansiRefusesUnencodable()
{
    MemoryByteStore store(Hex("4142430058595A57"));
    QVERIFY(ThrowsNumber(ErrNo::TypeMismatch,
                         [&] { SettingCodec::EncodeText(store, AnsiString(0, 8), QString::fromUtf8("a\u8A9E")); }));
    QCOMPARE(store.bytes(), Hex("4142430058595A57"));
}

void TestSettingCodec::unicodeDecode_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");

    QTest::newRow("stops at terminator") << Hex("004100420000") << 6 << QStringLiteral("AB");
    QTest::newRow("zero high byte is no terminator") << Hex("0041 4100 0000") << 6 << QString::fromUtf8("A\u4100");
    QTest::newRow("no terminator: full field") << Hex("004100420043") << 6 << QStringLiteral("ABC");
    QTest::newRow("odd size: whole units only") << Hex("00410042004300") << 5 << QStringLiteral("AB");
    QTest::newRow("size 1: nothing") << Hex("0041") << 1 << QString();
}

void TestSettingCodec::unicodeDecode()
{
    QFETCH(QByteArray, image);
    QFETCH(int, maxLength);
    QFETCH(QString, text);

    MemoryByteStore store(image);
    QCOMPARE(SettingCodec::DecodeText(store, UnicodeString(0, maxLength)), text);
}

void TestSettingCodec::unicodeEncode_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");

    // The field starts at offset 0 of the image 11 22 33 44 55 66 77 88.
    QTest::newRow("one Latin-1 character") << 8 << QString::fromUtf8("\u00E9") << Hex("00E90000 55667788");
    QTest::newRow("full field") << 8 << QStringLiteral("ABC") << Hex("004100420043 0000");
    QTest::newRow("too long: cut") << 6 << QStringLiteral("ABCD") << Hex("00410042 0000 7788");
    QTest::newRow("odd size: cut to whole units") << 7 << QStringLiteral("ABCD") << Hex("00410042 0000 7788");
    QTest::newRow("size 3: terminator only") << 3 << QStringLiteral("A") << Hex("0000 33445566 7788");
    QTest::newRow("size 1: no room") << 1 << QStringLiteral("A") << Hex("11223344 55667788");
    // U+1F600 is two units; a cut after the first would leave half a character.
    QTest::newRow("cut keeps surrogate pairs whole")
        << 6 << QString::fromUtf8("A\U0001F600") << Hex("0041 0000 55667788");
    QTest::newRow("surrogate pair that fits") << 8 << QString::fromUtf8("A\U0001F600") << Hex("0041 D83DDE00 0000");
}

void TestSettingCodec::unicodeEncode()
{
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);

    MemoryByteStore store(Hex("1122334455667788"));
    SettingCodec::EncodeText(store, UnicodeString(0, maxLength), text);
    QCOMPARE(store.bytes().toHex(' '), after.toHex(' '));
}

void TestSettingCodec::unicodeRoundTripsNonLatin()
{
    MemoryByteStore store(QByteArray(10, char(0x7F)));
    const SettingStruct s = UnicodeString(2, 8);
    const QString text = QString::fromUtf8("\u8A9E\u00E9\u03A9");
    SettingCodec::EncodeText(store, s, text);
    QCOMPARE(store.bytes().toHex(' '), Hex("7F7F 8A9E 00E9 03A9 0000").toHex(' '));
    QCOMPARE(SettingCodec::DecodeText(store, s), text);
}

void TestSettingCodec::beyondEnd_data()
{
    QTest::addColumn<SettingStruct>("setting");

    // The image is 4 bytes long.
    QTest::newRow("checkbox at end") << Checkbox(4, 0x01, 1, 0);
    QTest::newRow("checkbox far beyond") << Checkbox(0x7FFFFFFF, 0x01, 1, 0);
    QTest::newRow("checkbox negative") << Checkbox(-1, 0x01, 1, 0);
    QTest::newRow("list at end") << ValueList(4, 0x03, {0, 1});
    QTest::newRow("int8 at end") << Int8(4);
    QTest::newRow("int8 negative") << Int8(-2);
    QTest::newRow("ansi at end") << AnsiString(4, 4);
    QTest::newRow("ansi negative") << AnsiString(-1, 4);
    QTest::newRow("unicode straddling end") << UnicodeString(3, 4);
    QTest::newRow("unicode negative") << UnicodeString(-2, 4);
}

void TestSettingCodec::beyondEnd()
{
    QFETCH(SettingStruct, setting);

    const QByteArray image = Hex("01020304");
    MemoryByteStore store(image);
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] {
        switch (SettingType(setting.Type)) {
        case SettingType::Checkbox:
            SettingCodec::DecodeChecked(store, setting);
            break;
        case SettingType::ValueList:
            SettingCodec::DecodeListIndex(store, setting);
            break;
        default:
            SettingCodec::DecodeText(store, setting);
        }
    }));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] {
        switch (SettingType(setting.Type)) {
        case SettingType::Checkbox:
            SettingCodec::EncodeChecked(store, setting, true);
            break;
        case SettingType::ValueList:
            SettingCodec::EncodeListValue(store, setting, 1);
            break;
        default:
            SettingCodec::EncodeText(store, setting, QStringLiteral("1"));
        }
    }));
    QCOMPARE(store.bytes(), image);
}

void TestSettingCodec::stringFieldReachingPastEnd()
{
    // A field declared longer than the image: what fits is written, what does not is
    // refused as a whole, never written in part.
    MemoryByteStore store(Hex("11223344"));
    const SettingStruct ansi = AnsiString(2, 10);
    SettingCodec::EncodeText(store, ansi, QStringLiteral("A"));
    QCOMPARE(store.bytes(), Hex("11224100"));
    QCOMPARE(SettingCodec::DecodeText(store, ansi), QStringLiteral("A"));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { SettingCodec::EncodeText(store, ansi, QStringLiteral("AB")); }));
    QCOMPARE(store.bytes(), Hex("11224100"));

    // Reading a field without terminator runs into the end.
    MemoryByteStore noTerminator(Hex("41424344"));
    QVERIFY(ThrowsNumber(ErrNo::InputPastEnd, [&] { SettingCodec::DecodeText(noTerminator, ansi); }));
}

void TestSettingCodec::decodingFieldsAtTheEnd_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<SettingStruct>("setting");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    // A field read as a whole fails exactly where reading it byte by byte would have
    // reached past the end: a terminator inside the image ends it in time.
    const QByteArray image = Hex("41420044");
    QTest::newRow("ansi terminated before the end") << image << AnsiString(0, 10) << QStringLiteral("AB") << 0;
    QTest::newRow("ansi running into the end") << image << AnsiString(3, 2) << QString() << 62;
    QTest::newRow("ansi filling the image") << image << AnsiString(3, 1) << QStringLiteral("D") << 0;
    QTest::newRow("ansi size 0 past the end") << image << AnsiString(9, 0) << QString() << 0;
    QTest::newRow("unicode terminated before the end")
        << Hex("0041000000") << UnicodeString(0, 20) << QStringLiteral("A") << 0;
    QTest::newRow("unicode unit cut by the end") << Hex("004100") << UnicodeString(0, 6) << QString() << 62;
    QTest::newRow("unicode unit missing") << Hex("00410042") << UnicodeString(0, 6) << QString() << 62;
    QTest::newRow("unicode filling the image") << Hex("00410042") << UnicodeString(0, 4) << QStringLiteral("AB") << 0;
    QTest::newRow("unicode odd size: last byte unread")
        << Hex("004100") << UnicodeString(0, 3) << QStringLiteral("A") << 0;
    QTest::newRow("unicode size 1 past the end") << image << UnicodeString(9, 1) << QString() << 0;
    QTest::newRow("int8 last byte") << image << Int8(3) << QStringLiteral("68") << 0;
}

void TestSettingCodec::decodingFieldsAtTheEnd()
{
    QFETCH(QByteArray, image);
    QFETCH(SettingStruct, setting);
    QFETCH(QString, text);
    QFETCH(int, error);

    MemoryByteStore store(image);
    QString decoded;
    QCOMPARE(BvlErrorOf([&] { decoded = SettingCodec::DecodeText(store, setting); }), error);
    QCOMPARE(decoded, text);
}

void TestSettingCodec::unknownTypeDoesNothing()
{
    SettingStruct s = AnsiString(0, 4);
    s.Type = 9;
    MemoryByteStore store(Hex("41420000"));
    QCOMPARE(SettingCodec::DecodeText(store, s), QString());
    SettingCodec::EncodeText(store, s, QStringLiteral("xyz"));
    QCOMPARE(store.bytes(), Hex("41420000"));
    QCOMPARE(SettingCodec::MaxTextLength(s), -1);

    // Even beyond the end: nothing is read, so nothing fails.
    s.Offset = 100;
    QCOMPARE(SettingCodec::DecodeText(store, s), QString());
}

void TestSettingCodec::maxTextLength_data()
{
    QTest::addColumn<SettingStruct>("setting");
    QTest::addColumn<int>("length");

    QTest::newRow("ansi 32") << AnsiString(0, 32) << 31;
    QTest::newRow("ansi 1") << AnsiString(0, 1) << 0;
    QTest::newRow("ansi 0") << AnsiString(0, 0) << 0;
    QTest::newRow("ansi negative") << AnsiString(0, -5) << 0;
    QTest::newRow("unicode 32") << UnicodeString(0, 32) << 15;
    QTest::newRow("unicode 33") << UnicodeString(0, 33) << 15;
    QTest::newRow("unicode 3") << UnicodeString(0, 3) << 0;
    QTest::newRow("unicode 0") << UnicodeString(0, 0) << 0;
    // Sizes from a hostile setting file at both ends of the 32-bit range.
    QTest::newRow("ansi most negative") << AnsiString(0, std::numeric_limits<qint32>::min()) << 0;
    QTest::newRow("unicode most negative") << UnicodeString(0, std::numeric_limits<qint32>::min()) << 0;
    QTest::newRow("ansi largest") << AnsiString(0, std::numeric_limits<qint32>::max()) << 0x7FFFFFFE;
    QTest::newRow("unicode largest") << UnicodeString(0, std::numeric_limits<qint32>::max()) << 0x3FFFFFFE;
    QTest::newRow("int8") << Int8(0) << -1;
    QTest::newRow("checkbox") << Checkbox(0, 1, 1, 0) << -1;
}

void TestSettingCodec::maxTextLength()
{
    QFETCH(SettingStruct, setting);
    QFETCH(int, length);
    QCOMPARE(SettingCodec::MaxTextLength(setting), length);
}

void TestSettingCodec::valueNumbers()
{
    SettingStruct s = ValueList(0, 0xFF, {0, 16, 255});
    QCOMPARE(SettingCodec::ValueNumbers(s), (QVector<qint32>{0, 16, 255}));
    s.Values.clear();
    QVERIFY(SettingCodec::ValueNumbers(s).isEmpty());
    s.Values = QStringLiteral("1") + ValueSeparator + QStringLiteral("x");
    QVERIFY(ThrowsNumber(ErrNo::TypeMismatch, [&] { SettingCodec::ValueNumbers(s); }));
}

QTEST_GUILESS_MAIN(TestSettingCodec)
#include "tst_settingcodec.moc"
