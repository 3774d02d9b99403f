#include "seem/files/SeemFileName.h"

#include <QtTest>

class TestSeemFileName : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestSeemFileName::parse_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("seemNr");
    QTest::addColumn<int>("seemRec");

    QTest::newRow("usual name") << QStringLiteral("0032_0001.seem") << true << 0x32 << 1;
    QTest::newRow("record is four characters") << QStringLiteral("0032_00011.bin") << true << 0x32 << 1;
    QTest::newRow("short record piece") << QStringLiteral("5_a") << true << 5 << 10;
    QTest::newRow("lower case") << QStringLiteral("ff_7fff") << true << 0xFF << 0x7FFF;
    QTest::newRow("only the second piece counts") << QStringLiteral("0032_0001_backup.seem") << true << 0x32 << 1;
    QTest::newRow("empty pieces give 0") << QStringLiteral("_") << true << 0 << 0;
    QTest::newRow("largest number") << QStringLiteral("7FFF_0001") << true << 0x7FFF << 1;

    QTest::newRow("no underscore") << QStringLiteral("00320001.seem") << false << 0 << 0;
    QTest::newRow("letters before the number") << QStringLiteral("SEEM0032_0001") << false << 0 << 0;
    QTest::newRow("SEEM number beyond 16 bits") << QStringLiteral("8000_0001") << false << 0 << 0;
    QTest::newRow("record beyond 16 bits") << QStringLiteral("0032_8000") << false << 0 << 0;
    QTest::newRow("not hexadecimal") << QStringLiteral("ff_g") << false << 0 << 0;
    QTest::newRow("extension inside the record") << QStringLiteral("0032_01.seem") << false << 0 << 0;
    QTest::newRow("beyond 32 bits") << QStringLiteral("123456789_0001") << false << 0 << 0;
}

void TestSeemFileName::parse()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    QFETCH(int, seemNr);
    QFETCH(int, seemRec);

    SeemNameNumbers numbers;
    numbers.seemNr = 77;
    numbers.seemRec = 88;
    QCOMPARE(ParseSeemFileName(name, numbers), ok);
    if (ok) {
        QCOMPARE(int(numbers.seemNr), seemNr);
        QCOMPARE(int(numbers.seemRec), seemRec);
    } else {
        // A name that fails leaves the numbers alone.
        QCOMPARE(int(numbers.seemNr), 77);
        QCOMPARE(int(numbers.seemRec), 88);
    }
}

QTEST_GUILESS_MAIN(TestSeemFileName)
#include "tst_seemfilename.moc"
