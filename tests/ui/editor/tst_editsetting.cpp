#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/EditorSteps.h"
#include "support/FileBytes.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <sys/stat.h>

using namespace EditorSteps;

class TestEditSetting : public QObject
{
    Q_OBJECT
private slots:
    void opensEmpty();
    void addListsSortedButStoresInOrder();
    void copyNamesCountOnAcrossNew();
    void deleteKeepsEntriesMappedToTheirRecords();
    void declinedQuestionsChangeNoRecord();
    void editChangesOneRecordInPlace();
    void editRefusesRecordsTheDialogCannotShow_data();
    void editRefusesRecordsTheDialogCannotShow();
    void escapeClosesLikeTheCloseBox();
    void menuShortcutsReachTheFileCommands();
    void groupsOfferedOnceEach();
    void listsSortIgnoringCase();
};

void TestEditSetting::opensEmpty()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    QCOMPARE(Ui(editor).lsSettings->count(), 0);
    QVERIFY(Ui(editor).lbSettingGroup->text().isEmpty());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("V") + VersionString());
    QCOMPARE(editor.windowTitle(), f.ctx.Title(QStringLiteral("bvlMain.mnuSetting")));
    QVERIFY(editor.FileSaved());
    editor.show();
    QVERIFY(editor.close());
    QVERIFY(f.platform.calls.isEmpty());
}

void TestEditSetting::addListsSortedButStoresInOrder()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    addThroughDialog(editor, QStringLiteral("B"), QStringLiteral("Sound"));
    QCOMPARE(Ui(editor).lsSettings->item(0)->data(Qt::UserRole).toInt(), 1);
    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"Sound\""));
    QVERIFY(!editor.FileSaved());
    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("Display"));
    QCOMPARE(listTexts(editor), QStringList({"A", "B"}));
    QCOMPARE(storedNames(editor), QStringList({"B", "A"}));
    verifyListMapsRecords(editor);
    // The new entry is the current one, and the only one selected.
    QCOMPARE(Ui(editor).lsSettings->currentItem()->text(), QStringLiteral("A"));
    QCOMPARE(Ui(editor).lsSettings->selectedItems().size(), 1);
    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"Display\""));

    // A cancelled Add changes nothing.
    editor.UndoStack()->setClean();
    OnNextModal([](QDialog *dialog) { static_cast<bvlEditSettingDo *>(dialog)->cmCancel->click(); });
    editor.cmAdd_Click();
    QCOMPARE(editor.Document().records().size(), 2);
    QVERIFY(editor.FileSaved());
    QVERIFY(f.platform.messages().isEmpty());
}

void TestEditSetting::copyNamesCountOnAcrossNew()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    load(editor, {"Y", "X"});

    select(editor, {"X", "Y"});
    f.platform.answerMessage(MsgResult::Yes);
    editor.cmCopy_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.CopyMultiple?_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Question);
    QCOMPARE(f.platform.calls.last().buttons, MsgButtons::YesNo);
    // Copies follow the display order of their sources, behind the last record.
    QCOMPARE(storedNames(editor), QStringList({"Y", "X", "X (Copy, 0)", "Y (Copy, 1)"}));
    QCOMPARE(editor.Document().records()[2].Group, QStringLiteral("GX"));
    QVERIFY(!editor.FileSaved());
    verifyListMapsRecords(editor);

    // One selected entry is copied without a question.
    f.platform.clearCalls();
    select(editor, {"X"});
    editor.cmCopy_Click();
    QVERIFY(f.platform.calls.isEmpty());
    QCOMPARE(editor.Document().records().last().Name, QStringLiteral("X (Copy, 2)"));

    // New keeps the count.
    f.platform.answerMessage(MsgResult::No);
    editor.mnfNew_Click();
    QVERIFY(editor.Document().records().isEmpty());
    load(editor, {"Z"});
    select(editor, {"Z"});
    editor.cmCopy_Click();
    QCOMPARE(storedNames(editor), QStringList({"Z", "Z (Copy, 3)"}));
    QCOMPARE(editor.CopyCount, 4);

    // Without a current entry nothing happens.
    Ui(editor).lsSettings->setCurrentRow(-1);
    editor.cmCopy_Click();
    QCOMPARE(editor.Document().records().size(), 2);
}

void TestEditSetting::deleteKeepsEntriesMappedToTheirRecords()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    // Names sort in the reverse of storage order, so positions and numbers differ.
    load(editor, {"e1", "d2", "c3", "b4", "a5"});
    select(editor, {"d2", "b4"});
    f.platform.answerMessage(MsgResult::Yes);
    editor.cmDelete_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.DeleteMultiple?_M"))}));
    QCOMPARE(storedNames(editor), QStringList({"e1", "c3", "a5"}));
    QCOMPARE(editor.Document().records()[1].Group, QStringLiteral("Gc3"));
    verifyListMapsRecords(editor);
    QVERIFY(!editor.FileSaved());

    // One entry goes without a question.
    f.platform.clearCalls();
    select(editor, {"e1"});
    editor.cmDelete_Click();
    QVERIFY(f.platform.calls.isEmpty());
    QCOMPARE(storedNames(editor), QStringList({"c3", "a5"}));
    verifyListMapsRecords(editor);

    // Every entry selected empties the file, which then cannot be saved.
    select(editor, {"c3", "a5"});
    f.platform.answerMessage(MsgResult::Yes);
    editor.cmDelete_Click();
    QVERIFY(editor.Document().records().isEmpty());
    QCOMPARE(Ui(editor).lsSettings->count(), 0);
    f.platform.clearCalls();
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M"))}));
}

void TestEditSetting::declinedQuestionsChangeNoRecord()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    load(editor, {"a", "b", "c"});
    const SettingList before = editor.Document().records();
    select(editor, {"a", "c"});
    f.platform.answerMessage(MsgResult::No);
    editor.cmDelete_Click();
    f.platform.answerMessage(MsgResult::No);
    editor.cmCopy_Click();
    QCOMPARE(editor.Document().records(), before);
    verifyListMapsRecords(editor);
    // Nothing was carried out, so nothing needs saving.
    QVERIFY(editor.FileSaved());
    QCOMPARE(editor.CopyCount, 0);
}

void TestEditSetting::editChangesOneRecordInPlace()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    load(editor, {"b", "c", "d"});

    // Two selected: nothing happens, no dialog, no message.
    select(editor, {"b", "c"});
    {
        UnexpectedModalGuard guard;
        editor.cmEdit_Click();
        QVERIFY(!guard.opened);
    }
    QVERIFY(f.platform.calls.isEmpty());

    // The dialog shows the record; the new name replaces the entry text in place.
    select(editor, {"c"});
    SettingStruct withIndex = editor.Document().record(2);
    withIndex.UIIndex = 77;
    editor.Document().replaceRecord(2, withIndex, QStringLiteral("Index"));
    OnNextModal([](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        QCOMPARE(Ui(*d).txSettingName->text(), QStringLiteral("c"));
        QCOMPARE(Ui(*d).txSettingGroup->text(), QStringLiteral("Gc"));
        QVERIFY(Ui(*d).opType[2]->isChecked());
        Ui(*d).txSettingName->setText(QStringLiteral("z"));
        Ui(*d).txSettingGroup->setText(QStringLiteral("New group"));
        Ui(*d).cmOK->click();
    });
    editor.cmEdit_Click();
    QCOMPARE(storedNames(editor), QStringList({"b", "z", "d"}));
    QCOMPARE(editor.Document().records()[1].UIIndex, 77);
    QCOMPARE(listTexts(editor), QStringList({"b", "z", "d"}));   // not re-sorted yet
    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"New group\""));
    QVERIFY(!editor.FileSaved());
    verifyListMapsRecords(editor);
    addThroughDialog(editor, QStringLiteral("a"), QStringLiteral("G"));
    verifyListMapsRecords(editor);
    editor.UpdateSettingList();
    QCOMPARE(listTexts(editor), QStringList({"a", "b", "d", "z"}));

    // Cancel keeps the record; a double click runs the same command.
    editor.UndoStack()->setClean();
    select(editor, {"b"});
    const SettingList before = editor.Document().records();
    OnNextModal([](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*d).txSettingName->setText(QStringLiteral("discarded"));
        d->close();
    });
    editor.lsSettings_DblClick();
    QCOMPARE(editor.Document().records(), before);
    QVERIFY(editor.FileSaved());
    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"Gb\""));
}

void TestEditSetting::editRefusesRecordsTheDialogCannotShow_data()
{
    QTest::addColumn<SettingStruct>("record");
    SettingStruct unknown = MakeSetting("r", "G", SettingType::Int8);
    unknown.Type = 7;
    QTest::newRow("type above 4") << unknown;
    SettingStruct checkbox = MakeSetting("r", "G", SettingType::Checkbox);
    checkbox.BitMask = 0xFF;
    checkbox.Values = "1§0§2";
    QTest::newRow("checkbox with three values") << checkbox;
    checkbox.Values = "1";
    QTest::newRow("checkbox with one value") << checkbox;
    checkbox.Values = "256§0";
    QTest::newRow("checkbox value above 255") << checkbox;
    SettingStruct list = MakeSetting("r", "G", SettingType::ValueList);
    list.BitMask = 0xFF;
    list.ValueNames = "A§B§C";
    list.Values = "0§1";
    QTest::newRow("fewer values than names") << list;
    list.Values = "0§1§2§3";
    QTest::newRow("more values than names") << list;
    list.Values = "0§x§2";
    QTest::newRow("value not a number") << list;
    list.Values = "0§-1§2";
    QTest::newRow("negative value") << list;
    list.BitMask = 0x03;
    list.Values = "0§1§4";
    QTest::newRow("value outside the mask") << list;
}

void TestEditSetting::editRefusesRecordsTheDialogCannotShow()
{
    QFETCH(SettingStruct, record);
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    PutRecords(editor, {record});
    select(editor, {"r"});
    {
        UnexpectedModalGuard guard;
        editor.cmEdit_Click();
        QVERIFY(!guard.opened);
    }
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.UnsupportedRecord_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QCOMPARE(editor.Document().records().first(), record);
    QVERIFY(editor.FileSaved());
}

void TestEditSetting::escapeClosesLikeTheCloseBox()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    editor.show();
    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("G"));
    QPointer<bvlEditSettingDo> dialog = editor.SettingDialog();
    QPointer<bvlGroupBrowse> browser = editor.GroupBrowser();

    // Cancel keeps the window open; the dialog and the browser are unloaded anyway.
    f.platform.answerMessage(MsgResult::Cancel);
    PressKey(Ui(editor).lsSettings, Qt::Key_Escape);
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlMain.sSave?_M"))}));
    QVERIFY(editor.isVisible());
    QVERIFY(!dialog);
    QVERIFY(!browser);

    // From a header box too; No closes.
    f.platform.answerMessage(MsgResult::No);
    PressKey(Ui(editor).txSEEMRec, Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QCOMPARE(f.platform.messages().size(), 2);
    QVERIFY(f.platform.allAnswersUsed());

    // Once saved, closing asks nothing.
    editor.show();
    editor.UndoStack()->setClean();
    f.platform.clearCalls();
    PressKey(Ui(editor).cmAdd, Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QVERIFY(f.platform.calls.isEmpty());
}

void TestEditSetting::menuShortcutsReachTheFileCommands()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    editor.show();
    QApplication::setActiveWindow(&editor);
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    Ui(editor).lsSettings->setFocus();

    QTest::keyClick(Ui(editor).lsSettings, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M"))}));
    f.platform.cancelFile();
    QTest::keyClick(Ui(editor).txAuthor, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).size(), 1);
    load(editor, {"a"});
    editor.UndoStack()->resetClean();
    f.platform.answerMessage(MsgResult::No);
    QTest::keyClick(Ui(editor).lsSettings, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(editor.Document().records().isEmpty());
    QVERIFY(f.platform.allAnswersUsed());
}

void TestEditSetting::groupsOfferedOnceEach()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    PutRecords(editor,
               {MakeSetting("a", "Sound", SettingType::Int8), MakeSetting("b", "sound", SettingType::Int8),
                MakeSetting("c", "Sound", SettingType::Int8), MakeSetting("d", "Display\\Colours", SettingType::Int8)});
    editor.FreshGroups();
    QListWidget *groups = editor.GroupBrowser()->lsGroups;
    QStringList listed;
    for (int row = 0; row < groups->count(); ++row)
        listed << groups->item(row)->text();
    QCOMPARE(listed.size(), 3);
    QVERIFY(listed.contains("Sound") && listed.contains("sound") && listed.contains("Display\\Colours"));
    QCOMPARE(listed.first(), QStringLiteral("Display\\Colours"));
    QVERIFY(groups->selectedItems().isEmpty());

    QVERIFY(!editor.AddSafe(groups, QStringLiteral("Sound"), false));
    QVERIFY(editor.AddSafe(groups, QStringLiteral("Extra"), true));   // only asks
    QCOMPARE(groups->count(), 3);
    QVERIFY(editor.AddSafe(groups, QStringLiteral("Extra"), false));
    QCOMPARE(groups->count(), 4);
}

void TestEditSetting::listsSortIgnoringCase()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    load(editor, {"Zeta", "alpha", "Beta"});
    QCOMPARE(listTexts(editor), QStringList({"alpha", "Beta", "Zeta"}));
    addThroughDialog(editor, QStringLiteral("gamma"), QStringLiteral("g"));
    QCOMPARE(listTexts(editor), QStringList({"alpha", "Beta", "gamma", "Zeta"}));

    editor.FreshGroups();
    QListWidget *groups = editor.GroupBrowser()->lsGroups;
    QStringList listed;
    for (int row = 0; row < groups->count(); ++row)
        listed << groups->item(row)->text();
    QCOMPARE(listed, QStringList({"g", "Galpha", "GBeta", "GZeta"}));
}

QTEST_MAIN(TestEditSetting)
#include "tst_editsetting.moc"
