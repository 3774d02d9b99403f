// Three-way merges of setting files: changes of one side, of both sides alike and
// differently, renames, additions, removals against changes, header fields, the choices
// that resolve conflicts, and the bytes written when nothing changed.
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileMerge.h"
#include "seem/document/SettingLookup.h"
#include "support/GeneratedRecords.h"
#include "support/SeemFixtures.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

SettingStruct Named(const QString &group, const QString &name, qint32 offset)
{
    SettingStruct s = SeemFixtures::Setting(SettingType::Int8, offset);
    s.Group = group;
    s.Name = name;
    return s;
}

SettingFileContents File(const SettingList &settings)
{
    SettingFileContents file;
    file.header = SeemFixtures::SecHeader();
    file.header.ProgramVersion = QStringLiteral("1.0.0");
    file.header.SettingCount = qint32(settings.size());
    file.settings = settings;
    file.trailing = QByteArray("\0tail", 5);
    return file;
}

QByteArray Bytes(const SettingFileContents &file)
{
    return EncodeSettingFile(file.header, file.settings) + file.trailing;
}

QStringList Names(const SettingList &settings)
{
    QStringList names;
    for (const SettingStruct &s : settings)
        names << SettingPathOf(s);
    return names;
}

SettingList Base()
{
    SettingList base;
    for (int i = 1; i <= 8; ++i)
        base << Named(QStringLiteral("Sound"), QStringLiteral("S%1").arg(i), i);
    return base;
}

}   // namespace

class TestSettingFileMerge : public QObject
{
    Q_OBJECT
private slots:
    // Changes of each side to different settings and fields all arrive, the same change
    // made on both sides once; the merged file written and read back holds them.
    void changesOfEitherSideAreTaken()
    {
        const SettingFileContents base = File(Base());
        SettingFileContents ours = base, theirs = base;
        ours.settings[0].Description = QStringLiteral("ours");   // S1: one field each side
        theirs.settings[0].BitMask = 0x0F;
        ours.settings[1].Name = QStringLiteral("Renamed");   // S2: renamed here, regrouped there
        theirs.settings[1].Group = QStringLiteral("Calls");
        ours.settings[2].Offset = 40;   // S3: the same change on both sides
        theirs.settings[2].Offset = 40;
        ours.settings.removeAt(3);                                // S4: removed by ours
        theirs.settings.removeAt(4);                              // S5: removed by theirs
        theirs.settings[4].Values = QStringLiteral("1\u00a72");   // S6 (theirs' index 4 now)
        ours.settings.removeAt(6);                                // S8: removed on both sides
        theirs.settings.removeAt(6);
        ours.settings << Named(QStringLiteral("New"), QStringLiteral("Both"), 50)
                      << Named(QStringLiteral("New"), QStringLiteral("Ours"), 51);
        theirs.settings << Named(QStringLiteral("New"), QStringLiteral("Theirs"), 52)
                        << Named(QStringLiteral("New"), QStringLiteral("Both"), 50);
        ours.header.Author = QStringLiteral("Ann, Bo");
        theirs.header.SEEMRec = 2;
        theirs.header.Phones = QStringLiteral("BV-100");
        ours.header.Phones = QStringLiteral("BV-100");

        const SettingFileMerge merge(base, ours, theirs);
        QVERIFY(!merge.hasConflicts());
        const SettingFileContents merged = merge.result();
        QCOMPARE(Names(merged.settings), QStringList({"Sound\\S1", "Calls\\Renamed", "Sound\\S3", "Sound\\S6",
                                                      "Sound\\S7", "New\\Both", "New\\Ours", "New\\Theirs"}));
        QCOMPARE(merged.settings[0].Description, QStringLiteral("ours"));
        QCOMPARE(merged.settings[0].BitMask, quint8(0x0F));
        QCOMPARE(merged.settings[2].Offset, 40);
        QCOMPARE(merged.settings[3].Values, QStringLiteral("1\u00a72"));
        QCOMPARE(merged.header.Author, QStringLiteral("Ann, Bo"));
        QCOMPARE(merged.header.Phones, QStringLiteral("BV-100"));
        QCOMPARE(merged.header.SEEMRec, qint16(2));
        // A new file: this program's version, the count of its settings.
        QCOMPARE(merged.header.ProgramVersion, VersionString());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("merged.sec"));
        WriteSettingFile(path, merged.header, merged.settings, merged.trailing);
        SettingFileHeader header;
        SettingList settings;
        QByteArray trailing;
        ReadSettingFile(path, header, settings, &trailing);
        QCOMPARE(header, merged.header);
        QCOMPARE(settings, merged.settings);
        QCOMPARE(trailing, base.trailing);
    }

    // Generated records (names shared by many, blank and odd texts) changed on every third
    // record by ours and every fifth by theirs merge record by record.
    void generatedRecordsMergeRecordByRecord()
    {
        const SettingFileContents base = File(GeneratedRecords());
        SettingFileContents ours = base, theirs = base, expected = base;
        for (int i = 0; i < base.settings.size(); ++i) {
            if (i % 3 == 0) {
                ours.settings[i].Description += QStringLiteral("!");
                expected.settings[i].Description = ours.settings[i].Description;
            }
            if (i % 5 == 0) {
                theirs.settings[i].MaxStringLength += 1;
                expected.settings[i].MaxStringLength = theirs.settings[i].MaxStringLength;
            }
        }
        const SettingFileMerge merge(base, ours, theirs);
        QVERIFY(!merge.hasConflicts());
        QCOMPARE(merge.result().settings, expected.settings);
    }

    // Different changes of one field, a removal against a change (either way round), one
    // name added differently on both sides and a header field: conflicts, setting by
    // setting and field by field; ours by default, theirs where chosen.
    void conflictsAndTheirChoices()
    {
        const SettingFileContents base = File(Base());
        SettingFileContents ours = base, theirs = base;
        ours.settings[0].Description = QStringLiteral("ours");
        ours.settings[0].Offset = 30;
        theirs.settings[0].Description = QStringLiteral("theirs");
        theirs.settings[0].BitMask = 0x03;   // taken whichever side wins the description
        ours.settings[1].Name = QStringLiteral("Mine");
        theirs.settings[1].Name = QStringLiteral("Yours");
        ours.settings.removeAt(2);   // S3: removed by ours, changed by theirs
        theirs.settings[2].Values = QStringLiteral("7");
        theirs.settings.removeAt(3);   // S4: changed by ours (now at 3), removed by theirs
        ours.settings[2].Type = quint8(SettingType::Checkbox);
        ours.settings << Named(QStringLiteral("New"), QStringLiteral("Twice"), 60);
        theirs.settings << Named(QStringLiteral("New"), QStringLiteral("Twice"), 61);
        ours.header.Author = QStringLiteral("Bo");
        theirs.header.Author = QStringLiteral("Cy");
        theirs.header.SEEMNr = 0x33;

        const SettingFileMerge merge(base, ours, theirs);
        QVERIFY(merge.hasConflicts());
        const QVector<SettingConflict> &c = merge.conflicts();
        QCOMPARE(c.size(), 5);
        QCOMPARE(c[0].name, QStringLiteral("Sound\\S1"));
        QCOMPARE(c[0].fields, QVector<RecordField>({RecordField::Description}));
        QCOMPARE(QVector<int>({c[0].base, c[0].ours, c[0].theirs}), QVector<int>({1, 1, 1}));
        QCOMPARE(c[1].name, QStringLiteral("Sound\\Mine"));   // renamed on both sides: by place
        QCOMPARE(c[1].fields, QVector<RecordField>({RecordField::Name}));
        QCOMPARE(QVector<int>({c[2].base, c[2].ours, c[2].theirs}), QVector<int>({3, 0, 3}));
        QCOMPARE(c[2].fields, QVector<RecordField>({RecordField::Values}));
        QVERIFY(!c[2].chosen(MergeSide::Ours));
        QCOMPARE(c[2].chosen(MergeSide::Theirs)->Values, QStringLiteral("7"));
        QCOMPARE(QVector<int>({c[3].base, c[3].ours, c[3].theirs}), QVector<int>({4, 3, 0}));
        QVERIFY(!c[3].chosen(MergeSide::Theirs));
        QCOMPARE(QVector<int>({c[4].base, c[4].ours, c[4].theirs}), QVector<int>({0, 8, 8}));
        QCOMPARE(c[4].fields, QVector<RecordField>({RecordField::Offset}));
        QCOMPARE(merge.headerConflicts().size(), 1);
        const HeaderConflict &h = merge.headerConflicts().first();
        QCOMPARE(QStringList({h.base, h.ours, h.theirs}), QStringList({"Ann", "Bo", "Cy"}));

        // Ours by default: the other side's changes to other fields stay taken.
        const SettingFileContents asOurs = merge.result();
        QCOMPARE(Names(asOurs.settings), QStringList({"Sound\\S1", "Sound\\Mine", "Sound\\S4", "Sound\\S5", "Sound\\S6",
                                                      "Sound\\S7", "Sound\\S8", "New\\Twice"}));
        QCOMPARE(asOurs.settings[0].Description, QStringLiteral("ours"));
        QCOMPARE(asOurs.settings[0].BitMask, quint8(0x03));
        QCOMPARE(asOurs.settings[0].Offset, 30);
        QCOMPARE(asOurs.settings[7].Offset, 60);
        QCOMPARE(asOurs.header.Author, QStringLiteral("Bo"));
        QCOMPARE(asOurs.header.SEEMNr, qint16(0x33));

        const SettingFileContents asTheirs = merge.result(MergeSide::Theirs);
        QCOMPARE(Names(asTheirs.settings), QStringList({"Sound\\S1", "Sound\\Yours", "Sound\\S3", "Sound\\S5",
                                                        "Sound\\S6", "Sound\\S7", "Sound\\S8", "New\\Twice"}));
        QCOMPARE(asTheirs.settings[0].Description, QStringLiteral("theirs"));
        QCOMPARE(asTheirs.settings[0].Offset, 30);
        QCOMPARE(asTheirs.settings[7].Offset, 61);
        QCOMPARE(asTheirs.header.Author, QStringLiteral("Cy"));

        // One choice per conflict; those not given go to ours.
        const SettingFileContents mixed = merge.result({MergeSide::Theirs, MergeSide::Ours, MergeSide::Theirs}, {});
        QCOMPARE(Names(mixed.settings), QStringList({"Sound\\S1", "Sound\\Mine", "Sound\\S3", "Sound\\S4", "Sound\\S5",
                                                     "Sound\\S6", "Sound\\S7", "Sound\\S8", "New\\Twice"}));
        QCOMPARE(mixed.settings[0].Description, QStringLiteral("theirs"));
        QCOMPARE(mixed.header.Author, QStringLiteral("Bo"));
    }

    // Nothing changed: the base to the byte, its old program version and the bytes after
    // its last record included. A result that is one side as it was is that side's bytes.
    void anUnchangedResultIsThatFileToTheByte()
    {
        const SettingFileContents base = File(Base());
        const QByteArray bytes = Bytes(base);
        QCOMPARE(Bytes(SettingFileMerge(base, base, base).result()), bytes);

        SettingFileContents reordered = base;
        reordered.settings.move(0, 7);   // an order of one side's own is no change the merge takes
        reordered.header.ProgramVersion = QStringLiteral("1.2.0");
        QCOMPARE(Bytes(SettingFileMerge(base, reordered, base).result()), bytes);

        SettingFileContents ours = base, theirs = base;
        ours.settings[2].Description = QStringLiteral("ours");
        ours.trailing = QByteArrayLiteral("ours");
        theirs.settings[3].Description = QStringLiteral("theirs");
        theirs.header.ProgramVersion = QStringLiteral("1.1.0");
        QCOMPARE(Bytes(SettingFileMerge(base, base, theirs).result()), Bytes(theirs));
        // Both sides' changes: a new file, with the bytes after the records ours changed.
        const SettingFileContents merged = SettingFileMerge(base, ours, theirs).result();
        QCOMPARE(merged.header.ProgramVersion, VersionString());
        QCOMPARE(merged.trailing, QByteArrayLiteral("ours"));
    }
};

QTEST_GUILESS_MAIN(TestSettingFileMerge)
#include "tst_settingfilemerge.moc"
