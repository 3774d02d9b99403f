#include "core/OffsetText.h"
#include "seem/SettingLookup.h"
#include "support/SeemFixtures.h"

#include <QtTest>

// Names as people write them, looked up among thousands: the quick paths must give what
// the careful ones give.
class TestSettingLookup : public QObject
{
    Q_OBJECT
private slots:
    void groupsAreWrittenAsTheTreeShowsThem_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("shown");
        QTest::newRow("as written") << "Net\\GPRS" << "Net\\GPRS";
        QTest::newRow("blanks inside a name stay") << "Key  tones\\A b" << "Key  tones\\A b";
        QTest::newRow("blanks at the ends go") << "  Net \\ GPRS  " << "Net\\GPRS";
        QTest::newRow("before a separator") << "Net  \\GPRS" << "Net\\GPRS";
        QTest::newRow("after a separator") << "Net\\  GPRS" << "Net\\GPRS";
        QTest::newRow("empty elements stay") << "Net\\\\GPRS" << "Net\\\\GPRS";
        QTest::newRow("a tab is part of the name") << "Net\t" << "Net\t";
        QTest::newRow("empty") << "" << "Unknown";
        QTest::newRow("blanks only") << "   " << "Unknown";
    }
    void groupsAreWrittenAsTheTreeShowsThem()
    {
        QFETCH(QString, group);
        QFETCH(QString, shown);
        QCOMPARE(NormalisedGroup(group), shown);
        QCOMPARE(SettingPathOf(Named(SettingStruct(), QStringLiteral("Owner"), group)), shown + QStringLiteral("\\Owner"));
    }

    void aPathWinsAndABareNameMustBeUnique()
    {
        const SettingList settings{Named(SettingStruct(), QStringLiteral("Owner"), QStringLiteral("Net\\GPRS")),
                                   Named(SettingStruct(), QStringLiteral("Owner"), QStringLiteral("Phonebook")),
                                   Named(SettingStruct(), QStringLiteral("Volume"), QStringLiteral(" Sound ")),
                                   Named(SettingStruct(), QStringLiteral("GPRS\\Owner"), QStringLiteral("Net"))};
        const SettingIndex index(settings);
        // Two settings answer to 'Net\GPRS\Owner': the one whose group and name say so,
        // and the one whose name holds the separator; both are told, in file order.
        QCOMPARE(index.find(QStringLiteral("Net\\GPRS\\Owner")).indices, QVector<int>({1, 4}));
        QCOMPARE(index.find(QStringLiteral("Owner")).result, SettingMatch::Ambiguous);
        QCOMPARE(index.find(QStringLiteral("Owner")).indices, QVector<int>({1, 2}));
        QCOMPARE(index.find(QStringLiteral("Sound\\Volume")).index(), 3);   // as the tree shows it
        QCOMPARE(index.find(QStringLiteral("Volume")).index(), 3);
        QCOMPARE(index.find(QStringLiteral("volume")).result, SettingMatch::Unknown);
    }

    void offsetsReadTheSameEverywhere()
    {
        QCOMPARE(OffsetText(0), QStringLiteral("0 (0x0)"));
        QCOMPARE(OffsetText(300), QStringLiteral("300 (0x12C)"));
        QCOMPARE(OffsetText(-16), QStringLiteral("-16 (0x-10)"));   // from a damaged setting file
        QString report = QStringLiteral("byte ");
        AppendOffsetText(report, 4096);
        QCOMPARE(report, QStringLiteral("byte 4096 (0x1000)"));
    }
};

QTEST_APPLESS_MAIN(TestSettingLookup)
#include "tst_settinglookup.moc"
