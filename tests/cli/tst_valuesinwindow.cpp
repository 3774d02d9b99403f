// Export values and Apply values of the main window against brimvale-cli's show and
// apply: the same profile, byte for byte, and the same image after a save.
#include "support/CliRun.h"
#include "support/MainFixtures.h"
#include "support/SeemFixtures.h"

#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {

QString Show(MainFixture &f)
{
    const CliResult r = RunCliCaptured(
        {QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"), f.seemPath}, f.folder.dir.path());
    if (r.status != 0)
        QTest::qFail(qPrintable(r.err), __FILE__, __LINE__);
    return r.out;
}

QByteArray Export(MainFixture &f, const QString &name)
{
    f.platform.answerFile(f.folder.file(name));
    f.window->mnfExportValues_Click();
    return f.folder.bytes(name);
}

void Apply(MainFixture &f, const QString &name, const QByteArray &profile)
{
    f.platform.answerFile(f.folder.writeBytes(name, profile));
    f.window->mnfApplyValues_Click();
}

const QByteArray Profile = R"({"settings": [
    {"group": "Sound", "name": "Beep", "value": "off"},
    {"name": "Volume", "value": "High", "type": "ValueList"},
    {"group": "Display", "name": "Timeout", "value": 7},
    {"name": "Greeting", "value": "Hi"},
    {"name": "Owner", "value": null}
]})";

}   // namespace

class TestValuesInWindow : public QObject
{
    Q_OBJECT
private slots:
    void exportIsWhatShowPrintsOnceSaved();
    void applyIsOneUnsavedStepThatSavesWhatApplyWrites();
    void applyRefusesEverythingWhenAnythingIsRefused();
    void anAmbiguousNameIsToldWithItsFirstSettings();
};

void TestValuesInWindow::exportIsWhatShowPrintsOnceSaved()
{
    MainFixture f;
    QVERIFY(!f.window->mnfExportValues->isEnabled());   // nothing to export before a file is open
    f.open(f.seemPath);
    QVERIFY(f.window->mnfExportValues->isEnabled());
    QCOMPARE(QString::fromUtf8(Export(f, QStringLiteral("as-opened.json"))), Show(f));
    const ScriptedPlatform::Call dialog = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).last();
    QCOMPARE(dialog.proposed, f.folder.file(QStringLiteral("0032_0001.json")));
    QCOMPARE(dialog.text, f.T(QStringLiteral("bvlMain.mnfExportValues")));

    // Edits count as the values, the typed text included; the image is not touched.
    f.check(1)->setChecked(false);
    f.list(2)->setCurrentIndex(2);
    f.text(3)->setText(QStringLiteral("007"));
    f.text(4)->setText(QStringLiteral("Hi"));
    const QByteArray edited = Export(f, QStringLiteral("edited.json"));
    QCOMPARE(f.image(), SampleImage());
    QVERIFY(!f.window->IsSaved());
    QVERIFY(f.save());
    QCOMPARE(QString::fromUtf8(edited), Show(f));
    QVERIFY(f.platform.allAnswersUsed());
    QVERIFY(f.platform.messages().isEmpty());
}

void TestValuesInWindow::applyIsOneUnsavedStepThatSavesWhatApplyWrites()
{
    MainFixture f;
    const QString copy = f.folder.writeBytes(QStringLiteral("0032_0001-copy.seem"), SampleImage());
    f.open(f.seemPath);
    Apply(f, QStringLiteral("profile.json"), Profile);
    QVERIFY(f.platform.messages().isEmpty());
    QCOMPARE(f.window->UndoStack->count(), 1);
    QVERIFY(!f.window->IsSaved());
    QCOMPARE(f.image(), SampleImage());   // unsaved until Save
    QVERIFY(!f.check(1)->isChecked());
    QCOMPARE(f.list(2)->currentText(), QStringLiteral("High"));
    QCOMPARE(f.text(3)->text(), QStringLiteral("7"));
    QCOMPARE(f.text(5)->text(), QStringLiteral("AB"));   // null: left as it was

    f.window->mnfUndo_Click();
    QVERIFY(f.check(1)->isChecked());
    QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
    f.window->mnfRedo_Click();
    QVERIFY(f.save());

    const CliResult cli = RunCliCaptured({QStringLiteral("apply"), copy, f.folder.file(QStringLiteral("profile.json"))},
                                         f.folder.dir.path());
    QCOMPARE(cli.status, 0);
    QCOMPARE(f.image(), f.folder.bytes(QStringLiteral("0032_0001-copy.seem")));
    QVERIFY(f.image() != SampleImage());

    // The profile a window exported, applied to the same values, changes nothing.
    Apply(f, QStringLiteral("again.json"), Export(f, QStringLiteral("exported.json")));
    QCOMPARE(f.window->UndoStack->count(), 1);
    QVERIFY(f.window->IsSaved());
}

void TestValuesInWindow::applyRefusesEverythingWhenAnythingIsRefused()
{
    MainFixture f;
    f.open(f.seemPath);
    Apply(f, QStringLiteral("bad.json"), R"({"settings": [
        {"name": "Beep", "value": "off"},
        {"name": "Nope", "value": 1},
        {"group": "Display", "name": "Timeout", "value": 300},
        {"name": "Volume", "value": 119}
    ]})");
    QCOMPARE(f.platform.messages().size(), 1);
    const QString message = f.platform.messages().first();
    QVERIFY(message.startsWith(f.T(QStringLiteral("bvlMain.sApplyRefused_M"))));
    QVERIFY(message.contains(QStringLiteral("$.settings[1]: ") + f.T(QStringLiteral("bvlMain.sApplyUnknown_V"))
                             + QStringLiteral(" \"Nope\"")));
    QVERIFY(message.contains(QStringLiteral("$.settings[2]: \"Display\\Timeout\"")));
    // The library's words, as the command line shows them.
    QVERIFY2(message.contains(QStringLiteral(
                 "$.settings[3]: \"Volume\": 0x77 (119) is not one of the list's values (Low, Mid, High)")),
             qPrintable(message));
    QCOMPARE(message.count(QLatin1Char('\n')), 3);
    QVERIFY(f.check(1)->isChecked());   // the acceptable value is not applied either
    QCOMPARE(f.window->UndoStack->count(), 0);
    QVERIFY(f.window->IsSaved());

    // A file that is no profile is named with the place of the problem.
    f.platform.clearCalls();
    Apply(f, QStringLiteral("not.json"), "{\"settings\": 5}");
    QCOMPARE(f.platform.messages().size(), 1);
    QVERIFY(f.platform.messages().first().startsWith(f.T(QStringLiteral("bvlMain.sProfileUnreadable_M"))));
    QVERIFY(f.platform.messages().first().contains(QStringLiteral("$.settings")));
    QCOMPARE(f.window->UndoStack->count(), 0);
}

// A name twelve settings share: the refusal lists the first eight and counts the others.
void TestValuesInWindow::anAmbiguousNameIsToldWithItsFirstSettings()
{
    MainFixture f;
    SettingList settings;
    for (int i = 0; i < 12; ++i)
        settings << Named(SeemFixtures::Int8(i), QStringLiteral("Twin"), QStringLiteral("G%1").arg(i));
    f.openWith(settings, QByteArray(12, '\0'));
    f.platform.clearCalls();
    Apply(f, QStringLiteral("twin.json"), R"({"settings": [{"name": "Twin", "value": 1}]})");
    QCOMPARE(f.platform.messages().size(), 1);
    QCOMPARE(
        f.platform.messages().first().section(QLatin1Char('\n'), 1),
        QStringLiteral("$.settings[0]: \"Twin\" names more than one setting; write the group before the name, as in "
                       "Group\\Name: \"G0\\Twin\", \"G1\\Twin\", \"G2\\Twin\", \"G3\\Twin\", \"G4\\Twin\", "
                       "\"G5\\Twin\", \"G6\\Twin\", \"G7\\Twin\" and 4 more"));
    QCOMPARE(f.window->UndoStack->count(), 0);
}

QTEST_MAIN(TestValuesInWindow)
#include "tst_valuesinwindow.moc"
