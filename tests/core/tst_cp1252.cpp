#include "core/Cp1252.h"
#include "support/CoreErrors.h"

#include <QtTest>

class TestCp1252 : public QObject
{
    Q_OBJECT
private slots:
    void everyByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        const QString text = Cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        QVERIFY(Cp1252::canEncode(text));
        QCOMPARE(Cp1252::encode(text), all);
    }

    void mapsCharacterAndByte_data()
    {
        QTest::addColumn<int>("unicode");
        QTest::addColumn<int>("byte");
        QTest::newRow("euro") << 0x20AC << 0x80;
        QTest::newRow("section sign, the value separator") << 0x00A7 << 0xA7;
        QTest::newRow("unassigned 0x81 keeps its control") << 0x0081 << 0x81;
        QTest::newRow("unassigned 0x9D keeps its control") << 0x009D << 0x9D;
        QTest::newRow("Y diaeresis") << 0x0178 << 0x9F;
        QTest::newRow("right single quote") << 0x2019 << 0x92;
        QTest::newRow("y diaeresis, Latin-1 range") << 0x00FF << 0xFF;
        QTest::newRow("ASCII") << int('A') << 0x41;
    }
    void mapsCharacterAndByte()
    {
        QFETCH(int, unicode);
        QFETCH(int, byte);
        quint8 encoded = 0;
        QVERIFY(Cp1252::encodeChar(QChar(unicode), encoded));
        QCOMPARE(int(encoded), byte);
        QCOMPARE(Cp1252::decode(QByteArray(1, char(byte))), QString(QChar(unicode)));
    }

    void refusesCharactersWithoutByte_data()
    {
        QTest::addColumn<int>("unicode");
        QTest::newRow("CJK") << 0x4E2D;
        // U+0080 looks like it belongs to byte 0x80, but that byte is the euro sign.
        QTest::newRow("control 0x80") << 0x0080;
        QTest::newRow("control 0x9F") << 0x009F;
        QTest::newRow("Cyrillic") << 0x0416;
    }
    void refusesCharactersWithoutByte()
    {
        QFETCH(int, unicode);
        const QString text = QStringLiteral("ok") + QChar(unicode);
        quint8 unused;
        QVERIFY(!Cp1252::encodeChar(QChar(unicode), unused));
        QVERIFY(!Cp1252::canEncode(text));
        QCOMPARE(BvlErrorOf([&] { Cp1252::encode(text); }), int(ErrNo::TypeMismatch));
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
