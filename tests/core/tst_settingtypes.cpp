#include "core/SettingTypes.h"

#include <QtTest>

#include <functional>

using SettingChange = std::function<void(SettingStruct &)>;
using HeaderChange = std::function<void(SettingFileHeader &)>;
Q_DECLARE_METATYPE(SettingChange)
Q_DECLARE_METATYPE(HeaderChange)

class TestSettingTypes : public QObject
{
    Q_OBJECT
private slots:
    void splitAndJoin_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("empty has no elements") << QString() << QStringList();
        QTest::newRow("no separator is one element") << "7" << QStringList{"7"};
        QTest::newRow("checkbox pair") << "1§0" << QStringList{"1", "0"};
        QTest::newRow("empty pieces are kept") << "a§§b§" << QStringList{"a", "", "b", ""};
        QTest::newRow("lone separator") << "§" << QStringList{"", ""};
    }
    void splitAndJoin()
    {
        QFETCH(QString, joined);
        QFETCH(QStringList, parts);
        QCOMPARE(SplitValues(joined), parts);
        QCOMPARE(JoinValues(parts), joined);
    }

    // A field left out of operator== would let an edit pass as "unchanged".
    void settingEqualitySeesEveryField_data()
    {
        QTest::addColumn<SettingChange>("change");
        QTest::newRow("Name") << SettingChange([](SettingStruct &s) { s.Name += "x"; });
        QTest::newRow("Description") << SettingChange([](SettingStruct &s) { s.Description += "x"; });
        QTest::newRow("Type") << SettingChange([](SettingStruct &s) { s.Type = 4; });
        QTest::newRow("UIIndex") << SettingChange([](SettingStruct &s) { s.UIIndex = 9; });
        QTest::newRow("Group") << SettingChange([](SettingStruct &s) { s.Group += "x"; });
        QTest::newRow("Offset") << SettingChange([](SettingStruct &s) { s.Offset = -1; });
        QTest::newRow("MaxStringLength") << SettingChange([](SettingStruct &s) { s.MaxStringLength = 3; });
        QTest::newRow("BitMask") << SettingChange([](SettingStruct &s) { s.BitMask = 0x80; });
        QTest::newRow("ValueNames") << SettingChange([](SettingStruct &s) { s.ValueNames += "x"; });
        QTest::newRow("Values") << SettingChange([](SettingStruct &s) { s.Values += "x"; });
    }
    void settingEqualitySeesEveryField()
    {
        QFETCH(SettingChange, change);
        const SettingStruct a;
        SettingStruct b = a;
        QVERIFY(a == b);
        change(b);
        QVERIFY(a != b);
    }

    void headerEqualitySeesEveryField_data()
    {
        QTest::addColumn<HeaderChange>("change");
        QTest::newRow("Magic") << HeaderChange([](SettingFileHeader &h) { h.Magic = "sec"; });
        QTest::newRow("FileVersion") << HeaderChange([](SettingFileHeader &h) { h.FileVersion = 3; });
        QTest::newRow("ProgramVersion") << HeaderChange([](SettingFileHeader &h) { h.ProgramVersion = "1"; });
        QTest::newRow("SEEMNr") << HeaderChange([](SettingFileHeader &h) { h.SEEMNr = -1; });
        QTest::newRow("SEEMRec") << HeaderChange([](SettingFileHeader &h) { h.SEEMRec = 1; });
        QTest::newRow("Phones") << HeaderChange([](SettingFileHeader &h) { h.Phones = "p"; });
        QTest::newRow("SettingCount") << HeaderChange([](SettingFileHeader &h) { h.SettingCount = 1; });
        QTest::newRow("Author") << HeaderChange([](SettingFileHeader &h) { h.Author = "a"; });
    }
    void headerEqualitySeesEveryField()
    {
        QFETCH(HeaderChange, change);
        const SettingFileHeader a;
        SettingFileHeader b = a;
        QVERIFY(a == b);
        change(b);
        QVERIFY(a != b);
    }
};

QTEST_GUILESS_MAIN(TestSettingTypes)
#include "tst_settingtypes.moc"
