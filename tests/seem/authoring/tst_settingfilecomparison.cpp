// Two versions of a setting file compared setting by setting: additions, removals,
// renames, changed fields and header fields, and the cost on large files.
#include "seem/authoring/SettingFileComparison.h"
#include "support/SeemFixtures.h"

#include <QtTest>

namespace {

SettingStruct Named(const QString &group, const QString &name, SettingType type, qint32 offset)
{
    SettingStruct s = SeemFixtures::Setting(type, offset);
    s.Group = group;
    s.Name = name;
    return s;
}

}   // namespace

class TestSettingFileComparison : public QObject
{
    Q_OBJECT
private slots:
    void everyKindOfChange()
    {
        const SettingList before = {
            Named("Sound", "Volume", SettingType::Int8, 1),        // 1: kept as it is
            Named("Sound", "Beep", SettingType::Checkbox, 2),      // 2: bits and values change
            Named("Display", "Light", SettingType::Int8, 3),       // 3: renamed in place
            Named("Display", "Contrast", SettingType::Int8, 4),    // 4: removed
            Named("Calls", "Owner", SettingType::AnsiString, 5),   // 5: moves to another offset
        };
        SettingList after = before;
        after[1].BitMask = 0x03;
        after[1].Values = QStringLiteral("3\u00a70");
        after[2].Name = QStringLiteral("Backlight");
        after[4].Offset = 9;
        after[4].MaxStringLength = 12;
        after[4].Group = QStringLiteral(" Calls ");   // blanks around the group do not rename it
        after.removeAt(3);
        after.append(Named("Calls", "Greeting", SettingType::UnicodeString, 20));
        SettingFileHeader newHeader = SeemFixtures::SecHeader();
        newHeader.Author = QStringLiteral("Ann, Bo");
        newHeader.SEEMRec = 2;

        const SettingFileComparison c = CompareSettingFiles(SeemFixtures::SecHeader(), before, newHeader, after);
        QVERIFY(!c.equal());
        using HF = SettingFileDocument::HeaderField;
        QCOMPARE(c.header, QVector<HF>({HF::Author, HF::SeemRecord}));
        QCOMPARE(c.added, QVector<int>({5}));
        QCOMPARE(c.removed, QVector<int>({4}));
        QCOMPARE(c.changed.size(), 3);
        QCOMPARE(c.changed[0].before, 2);
        QCOMPARE(c.changed[0].fields, QVector<RecordField>({RecordField::BitMask, RecordField::Values}));
        QVERIFY(c.changed[1].renamed);
        QCOMPARE(c.changed[1].before, 3);
        QCOMPARE(c.changed[1].fields, QVector<RecordField>({RecordField::Name}));
        QCOMPARE(c.changed[2].after, 4);
        QCOMPARE(c.changed[2].fields,
                 QVector<RecordField>({RecordField::Group, RecordField::Offset, RecordField::StringLength}));
        QVERIFY(!c.changed[2].renamed);

        QVERIFY(CompareSettingFiles(SeemFixtures::SecHeader(), before, SeemFixtures::SecHeader(), before).equal());
    }

    // Settings of one name are matched in file order; a file of 20,000 settings against
    // itself reversed matches every one (its order is no change of a setting).
    void repeatedNamesAndLargeFiles()
    {
        const SettingList twice = {Named("G", "Same", SettingType::Int8, 1), Named("G", "Same", SettingType::Int8, 2)};
        SettingList swapped = {twice[1], twice[0]};
        const SettingFileComparison c =
            CompareSettingFiles(SeemFixtures::SecHeader(), twice, SeemFixtures::SecHeader(), swapped);
        QCOMPARE(c.changed.size(), 2);
        QCOMPARE(c.changed[0].fields, QVector<RecordField>({RecordField::Offset}));

        SettingList large;
        for (int i = 0; i < 20000; ++i)
            large << Named(QStringLiteral("G%1").arg(i % 50), QStringLiteral("S%1").arg(i), SettingType::Int8, i);
        SettingList reversed(large.crbegin(), large.crend());
        const SettingFileComparison r =
            CompareSettingFiles(SeemFixtures::SecHeader(), large, SeemFixtures::SecHeader(), reversed);
        QVERIFY(r.equal());
    }
};

QTEST_GUILESS_MAIN(TestSettingFileComparison)
#include "tst_settingfilecomparison.moc"
