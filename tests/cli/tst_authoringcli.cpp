// propose and map on the sample program folder, propose's output taken back by import
// and check, two versions of a setting file compared setting by setting and merged with
// their base, and a setting file as text for line-by-line diffs.
#include "core/OffsetText.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace MainFixtures;

namespace {

struct Sample
{
    ProgramFolder folder;
    QString image;
    QString after;
    Sample()
    {
        folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), SampleSettings());
        image = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
        QByteArray changed = SampleImage();
        changed[0] = char(changed[0] | 0x80);   // a bit no setting owns
        changed[18] = 0;                        // Roaming: described, no draft
        changed[19] = char(0xE0);               // three bits of an undescribed byte
        after = folder.writeBytes(QStringLiteral("0032_0001-after.seem"), changed);
    }
    CliResult run(const QStringList &arguments) const { return RunCliCaptured(arguments, folder.dir.path()); }
};

QJsonArray settingsOf(const CliResult &r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object().value(QStringLiteral("settings")).toArray();
}

}   // namespace

class TestAuthoringCli : public QObject
{
    Q_OBJECT
private slots:
    void checkKnowsWhatMakesASettingFileWrong()
    {
        using namespace SeemFixtures;
        Sample s;
        SettingStruct sameTwice = Named(Checkbox(1, 0x03, 3, 0), QStringLiteral("Same"), QStringLiteral("G"));
        sameTwice.Values = QStringLiteral("7§3");   // 00000111 and 00000011 within bits 00000011
        SettingStruct repeated = Named(ValueList(2, 0x03, {1, 2, 1}), QStringLiteral("Twice"), QStringLiteral("G"));
        SettingStruct extra = Named(ValueList(3, 0x03, {1, 2}), QStringLiteral("Extra"), QStringLiteral("G"));
        extra.Values += QStringLiteral("§3");
        SettingStruct masked = Named(Int8(4), QStringLiteral("Masked"), QStringLiteral("G"));
        masked.BitMask = 0x0F;
        masked.ValueNames = QStringLiteral("a§b");
        const SettingList faulty = {sameTwice, repeated, extra, masked,
                                    Named(UnicodeString(5, 7), QStringLiteral("Odd"), QStringLiteral("G"))};
        const QString sec = s.folder.writeSec(QStringLiteral("faulty.sec"), Header(0x33, 2), faulty);
        const CliResult r = s.run({QStringLiteral("check"), sec, s.image});
        QCOMPARE(r.status, 1);
        for (const QString &expected : {
                 QStringLiteral(
                     "error: G\\Same (#1): its checked and unchecked values are equal within its bits 00000011"),
                 QStringLiteral("warning: G\\Twice (#2): values 1 and 3 are equal within its bits (00000001)"),
                 QStringLiteral("warning: G\\Extra (#3): it has 3 values but only 2 names"),
                 QStringLiteral("warning: G\\Masked (#4): it has the bit mask 00001111, which a number does not use"),
                 QStringLiteral("warning: G\\Masked (#4): it has value names, which a number does not use"),
                 QStringLiteral("warning: G\\Odd (#5): its UTF-16 field of 7 bytes has an odd length"),
                 QStringLiteral(
                     "warning: the setting file is made for SEEM 0033 record 0002, the image is SEEM 0032 record 0001"),
             })
            QVERIFY2(r.out.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + r.out));

        // The same kinds of setting, sound, and a file for the image's record: nothing to say.
        sameTwice.Values = QStringLiteral("3§0");
        repeated = Named(ValueList(2, 0x03, {1, 2, 3}), QStringLiteral("Twice"), QStringLiteral("G"));
        const SettingList sound = {sameTwice, repeated, Named(Int8(4), QStringLiteral("Plain"), QStringLiteral("G")),
                                   Named(UnicodeString(5, 8), QStringLiteral("Even"), QStringLiteral("G"))};
        const QString good = s.folder.writeSec(QStringLiteral("sound.sec"), Header(0x32, 1), sound);
        const CliResult clean = s.run({QStringLiteral("check"), good});
        QCOMPARE(clean.status, 0);
        QVERIFY2(clean.out.endsWith(QStringLiteral("4 settings, 0 errors, 0 warnings\n")), qPrintable(clean.out));
    }

    void proposeAppendsDraftsThatImportAndCheckClean()
    {
        Sample s;
        const CliResult r = s.run({QStringLiteral("propose"), s.image, s.after});
        QCOMPARE(r.status, 0);
        const QJsonArray settings = settingsOf(r);
        QCOMPARE(settings.size(), 8);
        QCOMPARE(settings[0].toObject().value(QStringLiteral("Name")).toString(), QStringLiteral("Beep"));
        const QJsonObject bit = settings[6].toObject();
        QCOMPARE(bit.value(QStringLiteral("Name")).toString(), QStringLiteral("Byte 0x0000, bit 7"));
        QCOMPARE(bit.value(QStringLiteral("Group")).toString(), QStringLiteral("Proposed"));
        QCOMPARE(settings[7].toObject().value(QStringLiteral("Type")).toInt(), int(SettingType::Int8));

        const QString json = s.folder.writeBytes(QStringLiteral("drafts.json"), r.out.toUtf8());
        const QString sec = s.folder.file(QStringLiteral("drafts.sec"));
        QCOMPARE(s.run({QStringLiteral("import"), json, QStringLiteral("-o"), sec}).status, 0);
        const CliResult check = s.run({QStringLiteral("check"), sec, s.image});
        QCOMPARE(check.status, 0);
        QVERIFY2(check.out.endsWith(QStringLiteral("8 settings, 0 errors, 0 warnings\n")), qPrintable(check.out));

        // Described now: the same images propose nothing more.
        const CliResult again = s.run({QStringLiteral("propose"), s.image, s.after, QStringLiteral("--sec"), sec});
        QCOMPARE(again.status, 0);
        QCOMPARE(settingsOf(again).size(), 8);
    }

    void proposeWithoutSettingFileStartsEmpty()
    {
        Sample s;
        QTemporaryDir empty;
        const QString out = s.folder.file(QStringLiteral("out.json"));
        const CliResult r = s.run({QStringLiteral("propose"), s.image, s.after, QStringLiteral("--sec-dir"),
                                   empty.path(), QStringLiteral("-o"), out});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.isEmpty());
        const QJsonObject json = QJsonDocument::fromJson(s.folder.bytes(QStringLiteral("out.json"))).object();
        const QJsonObject header = json.value(QStringLiteral("header")).toObject();
        QCOMPARE(header.value(QStringLiteral("SEEMNr")).toInt(), 0x32);
        // Byte 18 is no one's now: three drafts.
        QCOMPARE(header.value(QStringLiteral("SettingCount")).toInt(), 3);
        QCOMPARE(json.value(QStringLiteral("settings")).toArray().size(), 3);
    }

    void proposeRefusals()
    {
        Sample s;
        const QString shorter = s.folder.writeBytes(QStringLiteral("0032_0001-short.seem"), QByteArray(19, '\0'));
        QCOMPARE(s.run({QStringLiteral("propose"), s.image, shorter}).status, 1);
        QCOMPARE(s.run({QStringLiteral("propose"), s.image, s.folder.file(QStringLiteral("missing.seem"))}).status, 1);
        QCOMPARE(s.run({QStringLiteral("propose"), s.image}).status, 2);
        QVERIFY(!QFile::exists(s.folder.file(QStringLiteral("never.json"))));
    }

    // More images, or a folder: drafts from all of them, images that do not fit left out.
    void proposeOverManyImages()
    {
        Sample s;
        QByteArray third = SampleImage();
        third[19] = char(0x13);
        s.folder.writeBytes(QStringLiteral("0032_0001-third.seem"), third);
        s.folder.writeBytes(QStringLiteral("0032_0001-short.seem"), QByteArray(19, '\0'));
        // In name order: the image after the change comes first, the others measured against it.
        const CliResult r = s.run({QStringLiteral("propose"), s.folder.dir.path()});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains(QStringLiteral("0032_0001-short.seem: holds 19 bytes")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("left out")), qPrintable(r.err));
        const QJsonArray settings = settingsOf(r);
        QCOMPARE(settings.size(), 8);
        const QJsonObject bit = settings[6].toObject();
        QCOMPARE(bit.value(QStringLiteral("Name")).toString(), QStringLiteral("Byte 0x0000, bit 7"));
        QCOMPARE(bit.value(QStringLiteral("Description")).toString(),
                 QStringLiteral("2 of 3 images: 0x00 (2 images), 0x80 (1 image)"));
        QCOMPARE(settings[7].toObject().value(QStringLiteral("Description")).toString(),
                 QStringLiteral("2 of 3 images: 0x00 (1 image), 0x13 (1 image), 0xE0 (1 image)"));

        // Fewer than two images that fit: nothing to draft from.
        QTemporaryDir lonely;
        QFile::copy(s.image, lonely.filePath(QStringLiteral("0032_0001.seem")));
        const CliResult one = s.run({QStringLiteral("propose"), lonely.path()});
        QCOMPARE(one.status, 1);
        QVERIFY(one.out.isEmpty());
    }

    void mapPrintsCoverageAndUndescribedDifferences()
    {
        Sample s;
        const CliResult text = s.run({QStringLiteral("map"), s.image, QStringLiteral("--against"), s.after});
        QCOMPARE(text.status, 0);
        const QStringList lines = text.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("20 bytes, 19 described (95%), 0 bits in conflict"));
        QCOMPARE(lines.value(2), QStringLiteral("  19 (0x13), 1 byte"));
        QVERIFY2(text.out.contains(QStringLiteral("0 (0x0)  bits 10000000  11 -> 91")), qPrintable(text.out));
        QVERIFY(!text.out.contains(QStringLiteral("18 (0x12)")));

        const CliResult json =
            s.run({QStringLiteral("map"), s.image, QStringLiteral("--format"), QStringLiteral("json")});
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(o.value(QStringLiteral("described")).toInt(), 19);
        QCOMPARE(o.value(QStringLiteral("undescribed")).toArray().size(), 1);
        QVERIFY(!o.contains(QStringLiteral("differences")));
    }

    void compareSecListsWhatChanged()
    {
        Sample s;
        const QString old = s.folder.writeSec(QStringLiteral("old.sec"), Header(0x32, 1), SampleSettings());
        SettingList changed = SampleSettings();
        changed[0].BitMask = quint8(changed[0].BitMask | 0x40);
        changed[1].Name = QStringLiteral("Renamed %1");
        const SettingStruct gone = changed.takeLast();
        SettingStruct added = gone;
        added.Name = QStringLiteral("Added");
        added.Offset += 100;
        changed.append(added);
        const QString now = s.folder.writeSec(QStringLiteral("new.sec"), Header(0x32, 2), changed);

        const CliResult same = s.run({QStringLiteral("compare-sec"), old, old});
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out, QStringLiteral("0 settings added, 0 removed, 0 changed\n"));

        const CliResult text = s.run({QStringLiteral("compare-sec"), old, now});
        QCOMPARE(text.status, 1);
        const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("header: SEEMRec"));
        QVERIFY2(
            lines.contains(
                QStringLiteral("- %1\\%2 (#%3)").arg(gone.Group, gone.Name, QString::number(SampleSettings().size()))),
            qPrintable(text.out));
        QVERIFY2(lines.contains(QStringLiteral("~ %1\\%2 (#1): BitMask").arg(changed[0].Group, changed[0].Name)),
                 qPrintable(text.out));
        QVERIFY2(
            text.out.contains(QStringLiteral("-> ") + changed[1].Group + QStringLiteral("\\Renamed %1 (#2): Name")),
            qPrintable(text.out));

        const CliResult json =
            s.run({QStringLiteral("compare-sec"), old, now, QStringLiteral("--format"), QStringLiteral("json")});
        QCOMPARE(json.status, 1);
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(o.value(QStringLiteral("added")).toArray().size(), 1);
        QCOMPARE(o.value(QStringLiteral("changed")).toArray().size(), 2);
        QVERIFY(
            o.value(QStringLiteral("changed")).toArray().at(1).toObject().value(QStringLiteral("renamed")).toBool());
    }

    // merge-sec writes the merged file (the base to the byte when nothing changed), lists
    // conflicts and writes nothing, resolves them with --ours / --theirs, refuses an output
    // that is an input, and as git's driver replaces OURS or leaves it as it was.
    void mergeSecMergesOrListsConflicts()
    {
        Sample s;
        const SettingList settings = SampleSettings();
        const QString base = s.folder.writeSec(QStringLiteral("base.sec"), Header(0x32, 1), settings);
        SettingList mine = settings, other = settings;
        mine[0].Description = QStringLiteral("ours");
        other[1].BitMask = 0x70;
        const QString ours = s.folder.writeSec(QStringLiteral("ours.sec"), Header(0x32, 1), mine);
        const QString theirs =
            s.folder.writeSec(QStringLiteral("theirs.sec"), Header(0x32, 1, QStringLiteral("Bo")), other);
        const QString out = s.folder.file(QStringLiteral("out.sec"));
        const QString merge = QStringLiteral("merge-sec");

        const CliResult same = s.run({merge, base, base, base, QStringLiteral("-o"), out});
        QCOMPARE(same.status, 0);
        QCOMPARE(FileBytes(out), FileBytes(base));
        const CliResult clean = s.run({merge, base, ours, theirs, QStringLiteral("-o"), out});
        QCOMPARE(clean.status, 0);
        SettingFileHeader header;
        SettingList merged;
        ReadSettingFile(out, header, merged);
        QCOMPARE(header.Author, QStringLiteral("Bo"));
        QCOMPARE(merged[0].Description, QStringLiteral("ours"));
        QCOMPARE(merged[1].BitMask, quint8(0x70));

        other[0].Description = QStringLiteral("theirs");
        other.removeAt(2);
        mine[2].Offset = 5;
        s.folder.writeSec(QStringLiteral("ours.sec"), Header(0x32, 1), mine);
        s.folder.writeSec(QStringLiteral("theirs.sec"), Header(0x32, 1), other);
        QFile::remove(out);
        const CliResult conflict = s.run({merge, base, ours, theirs, QStringLiteral("-o"), out});
        QCOMPARE(conflict.status, 1);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(conflict.out,
                 QStringLiteral("conflict: Sound\\Beep (base #1, ours #1, theirs #1): changed on both sides\n"
                                "  Description: base \"Beeps on keys\", ours \"ours\", theirs \"theirs\"\n"
                                "conflict: Display\\Timeout (base #3, ours #3): changed by ours, removed by theirs\n"
                                "  Offset: base \"%1\", ours \"%2\"\n")
                     .arg(OffsetText(1), OffsetText(5)));
        QVERIFY2(conflict.err.contains(QStringLiteral("2 conflicts; nothing was written")), qPrintable(conflict.err));
        const CliResult asTheirs =
            s.run({merge, base, ours, theirs, QStringLiteral("--theirs"), QStringLiteral("-o"), out});
        QCOMPARE(asTheirs.status, 0);
        ReadSettingFile(out, header, merged);
        QCOMPARE(merged.size(), settings.size() - 1);
        QCOMPARE(merged[0].Description, QStringLiteral("theirs"));

        const QByteArray oursBytes = FileBytes(ours);
        const CliResult intoInput =
            s.run({merge, base, ours, theirs, QStringLiteral("--ours"), QStringLiteral("-o"), ours});
        QCOMPARE(intoInput.status, 1);
        QVERIFY2(intoInput.err.contains(QStringLiteral("is the input")), qPrintable(intoInput.err));
        const CliResult git = s.run({merge, QStringLiteral("--git"), base, ours, theirs});
        QCOMPARE(git.status, 1);
        QCOMPARE(FileBytes(ours), oursBytes);
        const CliResult gitOurs = s.run({merge, QStringLiteral("--git"), QStringLiteral("--ours"), base, ours, theirs});
        QCOMPARE(gitOurs.status, 0);
        ReadSettingFile(ours, header, merged);
        QCOMPARE(merged.size(), settings.size());
        QCOMPARE(merged[2].Offset, 5);

        for (const QStringList &bad :
             {QStringList{merge, base, ours, theirs},
              {merge, base, ours, theirs, QStringLiteral("-o"), out, QStringLiteral("--git")},
              {merge, base, ours, theirs, QStringLiteral("--ours"), QStringLiteral("--theirs"), QStringLiteral("-o"),
               out},
              {merge, base, s.image, theirs, QStringLiteral("-o"), out},
              {merge, base, s.folder.file(QStringLiteral("none.sec")), theirs, QStringLiteral("-o"), out}})
            QCOMPARE(s.run(bad).status, 2);
    }

    // One block a setting, a field a line: a change of one field is one changed line under
    // the setting's name, and no text spans lines.
    void textconvShowsAChangeAsOneLine()
    {
        Sample s;
        SettingList settings = SampleSettings();
        settings[0].Description = QStringLiteral("two\r\nlines \\ and a\ttab");
        const QString old = s.folder.writeSec(QStringLiteral("old.sec"), Header(0x32, 1), settings);
        settings[1].Offset += 16;
        const QString now = s.folder.writeSec(QStringLiteral("new.sec"), Header(0x32, 1), settings);
        const CliResult a = s.run({QStringLiteral("textconv"), old});
        const CliResult b = s.run({QStringLiteral("textconv"), now});
        QCOMPARE(a.status, 0);
        const QStringList before = a.out.split(QLatin1Char('\n'));
        const QStringList after = b.out.split(QLatin1Char('\n'));
        QCOMPARE(before.size(), after.size());
        QStringList differing;
        for (int i = 0; i < before.size(); ++i)
            if (before[i] != after[i])
                differing << before[i] << after[i];
        const SettingStruct moved = SampleSettings().at(1);
        QCOMPARE(differing, QStringList({QStringLiteral("  Offset: ") + OffsetText(moved.Offset),
                                         QStringLiteral("  Offset: ") + OffsetText(moved.Offset + 16)}));
        const int line = int(after.indexOf(QStringLiteral("  Offset: ") + OffsetText(moved.Offset + 16)));
        QCOMPARE(after.at(line - 4), QStringLiteral("setting %1\\%2").arg(moved.Group, moved.Name));
        QVERIFY(a.out.contains(QStringLiteral("  Description: two\\r\\nlines \\ and a\\ttab\n")));
        QCOMPARE(a.out.count(QStringLiteral("\nsetting ")), SampleSettings().size());
    }
};

QTEST_GUILESS_MAIN(TestAuthoringCli)
#include "tst_authoringcli.moc"
