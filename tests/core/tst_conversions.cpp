#include "core/Conversions.h"
#include "support/CoreErrors.h"

#include <QtTest>

class TestConversions : public QObject
{
    Q_OBJECT
private slots:
    // error 0 means the text converts to value.
    void hexToLong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("lower case") << "ff" << 255 << 0;
        QTest::newRow("empty is zero") << "" << 0 << 0;
        QTest::newRow("leading zeros") << "0032" << 50 << 0;
        QTest::newRow("many leading zeros") << "0000000000001A" << 26 << 0;
        QTest::newRow("largest") << "7FFFFFFF" << 0x7FFFFFFF << 0;
        QTest::newRow("mixed case") << "aBcD" << 0xABCD << 0;
        QTest::newRow("sign bit overflows") << "80000000" << 0 << 6;
        QTest::newRow("nine digits") << "100000000" << 0 << 6;
        QTest::newRow("letter after F") << "G1" << 0 << 513;
        QTest::newRow("space is below 0") << "1 2" << 0 << 6;
        QTest::newRow("minus is below 0") << "-1" << 0 << 6;
        QTest::newRow("colon") << "3:" << 0 << 513;
        QTest::newRow("at sign") << "@" << 0 << 513;
        QTest::newRow("prefix x") << "0x10" << 0 << 513;
        QTest::newRow("non-ASCII") << "1é" << 0 << 513;
        // Place values are added from the left, so the overflow is met before the bad digit.
        QTest::newRow("overflow before bad digit") << "80000000G" << 0 << 6;
        QTest::newRow("bad digit before space") << "G " << 0 << 513;
    }
    void hexToLong()
    {
        QFETCH(QString, text);
        QFETCH(qint32, value);
        QFETCH(int, error);
        qint32 got = -1;
        QCOMPARE(BvlErrorOf([&] { got = HexToLong(text); }), error);
        if (error == 0)
            QCOMPARE(got, value);
    }

    void hexToInt16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("largest") << "7FFF" << 0x7FFF << 0;
        QTest::newRow("FFFF, as -1 is shown") << "FFFF" << -1 << 0;
        QTest::newRow("8000") << "8000" << -32768 << 0;
        QTest::newRow("five digits do not fit") << "10000" << 0 << 6;
        QTest::newRow("bad digit") << "Z" << 0 << 513;
    }
    void hexToInt16()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(int, error);
        qint16 got = -1;
        QCOMPARE(BvlErrorOf([&] { got = HexToInt16(text); }), error);
        if (error == 0)
            QCOMPARE(int(got), value);
    }

    void hexText()
    {
        QCOMPARE(HexText16(-1), QStringLiteral("FFFF"));
        QCOMPARE(HexText16(0x32), QStringLiteral("32"));
        QCOMPARE(HexText16(0), QStringLiteral("0"));
        QCOMPARE(HexText16(-32768), QStringLiteral("8000"));
        QCOMPARE(HexText32(-1), QStringLiteral("FFFFFFFF"));
        QCOMPARE(HexText32(26), QStringLiteral("1A"));
        QCOMPARE(HexText32(0x7FFFFFFF), QStringLiteral("7FFFFFFF"));
    }

    void bitTextToValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << "00000000" << 0;
        QTest::newRow("bit 7 first") << "10000000" << 128;
        QTest::newRow("bit 0 last") << "00000001" << 1;
        QTest::newRow("all") << "11111111" << 255;
        QTest::newRow("seven characters") << "0000001" << -1;
        QTest::newRow("nine characters") << "000000001" << -1;
        QTest::newRow("digit 2") << "00000002" << -1;
        QTest::newRow("space") << "0000 001" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void bitTextToValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(BitTextToValue(text), value);
    }

    void valueToBitText_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        QTest::newRow("zero") << 0 << "00000000" << 0;
        QTest::newRow("five") << 5 << "00000101" << 0;
        QTest::newRow("255") << 255 << "11111111" << 0;
        QTest::newRow("256") << 256 << "" << 516;
        QTest::newRow("minus one") << -1 << "" << 516;
        QTest::newRow("most negative") << qint32(INT_MIN) << "" << 516;
    }
    void valueToBitText()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        QFETCH(int, error);
        QString got;
        QCOMPARE(BvlErrorOf([&] { got = ValueToBitText(value); }), error);
        QCOMPARE(got, text);
    }

    void bitTextRoundTripsEveryByte()
    {
        for (int v = 0; v < 256; ++v)
            QCOMPARE(BitTextToValue(ValueToBitText(v)), v);
    }

    void versionString_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("two-digit minor") << 1 << 12 << 7 << "1.12.7_Tavik";
        QTest::newRow("zero minor unpadded") << 1 << 0 << 7 << "1.0.7_Tavik";
        QTest::newRow("one-digit minor padded") << 1 << 1 << 500 << "1.01.500_Tavik";
        QTest::newRow("nine") << 2 << 9 << 0 << "2.09.0_Tavik";
    }
    void versionString()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(VersionString(major, minor, revision), text);
    }

    void thisReleasesVersion() { QCOMPARE(VersionString(), QStringLiteral("1.01.500_Tavik")); }

    void decimalToLong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("plain") << "16" << 16 << 0;
        QTest::newRow("blanks trimmed") << "  42 " << 42 << 0;
        QTest::newRow("plus") << "+7" << 7 << 0;
        QTest::newRow("leading zeros") << "007" << 7 << 0;
        QTest::newRow("largest") << "2147483647" << INT_MAX << 0;
        QTest::newRow("smallest") << "-2147483648" << qint32(INT_MIN) << 0;
        QTest::newRow("one past largest") << "2147483648" << 0 << 6;
        QTest::newRow("one past smallest") << "-2147483649" << 0 << 6;
        QTest::newRow("very long") << "99999999999999999999999" << 0 << 6;
        QTest::newRow("empty") << "" << 0 << 13;
        QTest::newRow("blank") << "   " << 0 << 13;
        QTest::newRow("sign only") << "-" << 0 << 13;
        QTest::newRow("inner blank") << "1 2" << 0 << 13;
        QTest::newRow("hex") << "1A" << 0 << 13;
        QTest::newRow("decimal point") << "1.5" << 0 << 13;
        QTest::newRow("two signs") << "--1" << 0 << 13;
        QTest::newRow("long with letter") << "99999999999x" << 0 << 13;
    }
    void decimalToLong()
    {
        QFETCH(QString, text);
        QFETCH(qint32, value);
        QFETCH(int, error);
        qint32 got = -1;
        QCOMPARE(BvlErrorOf([&] { got = DecimalToLong(text); }), error);
        if (error == 0)
            QCOMPARE(got, value);
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
