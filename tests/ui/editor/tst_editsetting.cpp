#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
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

namespace {

// Adds an 8-bit setting through the setting dialog, as a user would.
void addThroughDialog(bvlEditSetting &editor, const QString &name, const QString &group)
{
    OnNextModal([name, group](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*d).opType[2]->setChecked(true);
        Ui(*d).txSettingName->setText(name);
        Ui(*d).txSettingGroup->setText(group);
        Ui(*d).txOffsetDec->setText(QStringLiteral("0"));
        Ui(*d).cmOK->click();
    });
    editor.cmAdd_Click();
}

// Puts records named names (group "G" + name) into the editor as a loaded file would.
void load(bvlEditSetting &editor, const QStringList &names)
{
    SettingList records;
    for (const QString &name : names)
        records << MakeSetting(name, QStringLiteral("G") + name, SettingType::Int8);
    PutRecords(editor, records);
}

QStringList listTexts(const bvlEditSetting &editor)
{
    QStringList texts;
    for (int row = 0; row < Ui(editor).lsSettings->count(); ++row)
        texts << Ui(editor).lsSettings->item(row)->text();
    return texts;
}

QStringList storedNames(const bvlEditSetting &editor)
{
    QStringList names;
    for (const SettingStruct &s : editor.Document().records())
        names << s.Name;
    return names;
}

// Every entry maps to its own record and every record has one entry.
void verifyListMapsRecords(const bvlEditSetting &editor)
{
    QCOMPARE(Ui(editor).lsSettings->count(), editor.Document().records().size());
    QSet<int> seen;
    for (int row = 0; row < Ui(editor).lsSettings->count(); ++row) {
        const int k = Ui(editor).lsSettings->item(row)->data(Qt::UserRole).toInt();
        QVERIFY(k >= 1 && k <= editor.Document().records().size());
        QVERIFY(!seen.contains(k));
        seen.insert(k);
        QCOMPARE(Ui(editor).lsSettings->item(row)->text(), editor.Document().records()[k - 1].Name);
    }
}

// Makes the entries with these texts the selection, the first of them current.
void select(bvlEditSetting &editor, const QStringList &texts)
{
    Ui(editor).lsSettings->clearSelection();
    bool first = true;
    for (const QString &text : texts) {
        QListWidgetItem *item = Ui(editor).lsSettings->findItems(text, Qt::MatchExactly).value(0);
        QVERIFY2(item, qPrintable(text));
        if (first)
            Ui(editor).lsSettings->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        first = false;
        item->setSelected(true);
    }
}

SettingFileHeader header(qint16 seemNr = 0x32, qint16 seemRec = 1)
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("sec");
    h.FileVersion = 3;
    h.ProgramVersion = QStringLiteral("0.9_Old");
    h.SEEMNr = seemNr;
    h.SEEMRec = seemRec;
    h.Phones = QStringLiteral("Vaka 3");
    h.Author = QStringLiteral("Ann");
    return h;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, SettingFileHeader h, const SettingList &settings)
{
    h.SettingCount = qint32(settings.size());
    const QString path = dir.filePath(name);
    WriteSettingFile(path, h, settings);
    return path;
}

QString inputError(AppContext &ctx, int number)
{
    return ctx.T(QStringLiteral("bvlEditSetting.wssInputDataError_M")) + QStringLiteral(" (ERR %1)").arg(number);
}

}   // namespace

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
    void newAndOpenAskOnlyWhenChanged();
    void headerTypingCountsAsChange();
    void unsavedFileSurvivesAFailedSave_data();
    void unsavedFileSurvivesAFailedSave();
    void saveRefusals_data();
    void saveRefusals();
    void saveWritesHeaderAndStampsVersion();
    void failedWriteKeepsThePreviousFile();
    void openShowsTheFile();
    void openRefusalsKeepTheWindow_data();
    void openRefusalsKeepTheWindow();
    void unshowableRecordSavedExactlyAsRead();
    void escapeClosesLikeTheCloseBox();
    void menuShortcutsReachTheFileCommands();
    void groupsOfferedOnceEach();
    void listsSortIgnoringCase();
    void fileTextsShowLiterally();
    void fileDialogsStartInTheFilesFolder();
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

void TestEditSetting::newAndOpenAskOnlyWhenChanged()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);

    // Nothing changed: no question.
    editor.mnfNew_Click();
    QVERIFY(f.platform.calls.isEmpty());

    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("G"));
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    f.platform.answerMessage(MsgResult::Cancel);
    editor.mnfNew_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlMain.sSave?_M"))}));
    QCOMPARE(f.platform.calls.last().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Question);
    QCOMPARE(editor.Document().records().size(), 1);
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));

    // Open asks first; Cancel stops before the file dialog.
    f.platform.clearCalls();
    f.platform.answerMessage(MsgResult::Cancel);
    editor.mnfOpenSetting_Click();
    QCOMPARE(f.platform.calls.size(), 1);

    // No discards: New clears the boxes and the version line.
    f.platform.answerMessage(MsgResult::No);
    editor.mnfNew_Click();
    QVERIFY(editor.Document().records().isEmpty());
    QCOMPARE(Ui(editor).lsSettings->count(), 0);
    QVERIFY(Ui(editor).txAuthor->text().isEmpty());
    QVERIFY(Ui(editor).lbFileVer->text().isEmpty());
    QVERIFY(editor.FileSaved());

    // A file just opened counts as saved, although the boxes were filled.
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(), {MakeSetting("x", "G", SettingType::Int8)});
    f.platform.clearCalls();
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();
    QVERIFY(editor.FileSaved());
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();   // no question, and a cancelled dialog is silent
    QCOMPARE(f.platform.messages(), QStringList());
    QCOMPARE(editor.Document().records().size(), 1);
    QVERIFY(f.platform.allAnswersUsed());
}

void TestEditSetting::headerTypingCountsAsChange()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    editor.show();
    for (QLineEdit *box : {Ui(editor).txAuthor, Ui(editor).txPhones, Ui(editor).txSEEMNr, Ui(editor).txSEEMRec}) {
        editor.UndoStack()->setClean();
        QTest::keyClicks(box, QStringLiteral("7"));
        QVERIFY2(!editor.FileSaved(), qPrintable(box->objectName()));
    }
    f.platform.answerMessage(MsgResult::Cancel);
    editor.close();
    QVERIFY(editor.isVisible());
    f.platform.answerMessage(MsgResult::No);
    editor.close();
    QVERIFY(!editor.isVisible());
    QCOMPARE(f.platform.messages().size(), 2);
}

void TestEditSetting::unsavedFileSurvivesAFailedSave_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("writeFails");
    for (const char *command : {"new", "open", "close"}) {
        QTest::addRow("%s, save dialog cancelled", command) << command << false;
        QTest::addRow("%s, write fails", command) << command << true;
    }
}

void TestEditSetting::unsavedFileSurvivesAFailedSave()
{
    QFETCH(QString, command);
    QFETCH(bool, writeFails);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    editor.show();
    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("G"));
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    const SettingList before = editor.Document().records();

    f.platform.answerMessage(MsgResult::Yes);
    if (writeFails)
        f.platform.answerFile(dir.filePath(QStringLiteral("missing-folder/x.sec")));
    else
        f.platform.cancelFile();
    if (command == QLatin1String("new"))
        editor.mnfNew_Click();
    else if (command == QLatin1String("open"))
        editor.mnfOpenSetting_Click();   // stops before its own file dialog
    else
        editor.close();

    QVERIFY(f.platform.allAnswersUsed());
    QCOMPARE(editor.Document().records(), before);
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));
    QVERIFY(!editor.FileSaved());
    QVERIFY(editor.isVisible());
    if (writeFails)
        QCOMPARE(f.platform.messages().last(), inputError(f.ctx, 75));
}

void TestEditSetting::saveRefusals_data()
{
    QTest::addColumn<QString>("seemNr");
    QTest::addColumn<QString>("seemRec");
    QTest::addColumn<int>("error");
    QTest::newRow("SEEM number 10000 overflows 16 bits") << "10000"
                                                         << "1" << 6;
    QTest::newRow("record 10000") << "32"
                                  << "10000" << 6;
    QTest::newRow("not hexadecimal") << "G1"
                                     << "1" << 513;
    QTest::newRow("blank inside") << "1 2"
                                  << "1" << 6;
}

void TestEditSetting::saveRefusals()
{
    QFETCH(QString, seemNr);
    QFETCH(QString, seemRec);
    QFETCH(int, error);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);

    // No settings: refused before the save dialog.
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Information);
    QCOMPARE(f.platform.calls.size(), 1);

    load(editor, {"a"});
    editor.UndoStack()->resetClean();
    Ui(editor).txSEEMNr->setText(seemNr);
    Ui(editor).txSEEMRec->setText(seemRec);
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.clearCalls();
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList({inputError(f.ctx, error)}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("V") + VersionString());
}

void TestEditSetting::saveWritesHeaderAndStampsVersion()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"b", "a"});
    Ui(editor).txAuthor->setText(QStringLiteral("Ann"));
    Ui(editor).txPhones->setText(QStringLiteral("Vaka 3, Vaka 3€"));
    Ui(editor).txSEEMNr->setText(QStringLiteral("7fff"));
    Ui(editor).txSEEMRec->clear();   // empty gives 0
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList());
    const ScriptedPlatform::Call dialog = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).first();
    QCOMPARE(dialog.text, f.ctx.Title(QStringLiteral("bvlEditSetting.mnfSaveSetting")));
    QCOMPARE(dialog.filter, QStringLiteral("Setting file (*.sec)|*.sec"));
    QVERIFY(editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (") + VersionString() + QLatin1Char(')'));

    SettingFileHeader h;
    SettingList settings;
    ReadSettingFile(path, h, settings);
    QCOMPARE(h.Magic, QStringLiteral("sec"));
    QCOMPARE(h.FileVersion, quint8(3));
    QCOMPARE(h.ProgramVersion, VersionString());
    QCOMPARE(h.SEEMNr, qint16(0x7FFF));
    QCOMPARE(h.SEEMRec, qint16(0));
    QCOMPARE(h.Phones, QStringLiteral("Vaka 3, Vaka 3€"));
    QCOMPARE(h.Author, QStringLiteral("Ann"));
    QCOMPARE(h.SettingCount, 2);
    QCOMPARE(settings, editor.Document().records());
    QCOMPARE(editor.Document().readHeader(), h);
}

void TestEditSetting::failedWriteKeepsThePreviousFile()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"a"});
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    const QByteArray saved = FileBytes(path);
    QVERIFY(!saved.isEmpty());
    Ui(editor).lbFileVer->setText(QStringLiteral("marker"));

    // A name the file's code page cannot hold fails the write as a whole.
    SettingStruct renamed = editor.Document().record(1);
    renamed.Name = QStringLiteral("名");
    editor.Document().replaceRecord(1, renamed, QStringLiteral("Rename"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages().last(), inputError(f.ctx, 13));
    QCOMPARE(FileBytes(path), saved);
    QVERIFY(!editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("marker"));

    // A FIFO is not replaced by a regular file: the save fails and counts as unsaved.
    const QString fifo = dir.filePath(QStringLiteral("pipe.sec"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    renamed.Name = QStringLiteral("a");
    editor.Document().replaceRecord(1, renamed, QStringLiteral("Rename"));
    f.platform.answerFile(fifo);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages().last(), inputError(f.ctx, 75));
    QVERIFY(!editor.FileSaved());
    QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo(fifo).exists());
}

void TestEditSetting::openShowsTheFile()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingStruct beep = MakeSetting("Beep", "Sound", SettingType::Checkbox, 16);
    beep.BitMask = 1;
    beep.Values = "1§0";
    const SettingList settings = {MakeSetting("Zoom", "Display", SettingType::Int8), beep};
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(0x32, -1), settings);
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();

    const ScriptedPlatform::Call dialog = f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).first();
    QCOMPARE(dialog.text, f.ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSetting")));
    QCOMPARE(dialog.filter, QStringLiteral("Setting file (*.sec)|*.sec"));
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("Ann"));
    QCOMPARE(Ui(editor).txPhones->text(), QStringLiteral("Vaka 3"));
    QCOMPARE(Ui(editor).txSEEMNr->text(), QStringLiteral("32"));
    QCOMPARE(Ui(editor).txSEEMRec->text(), QStringLiteral("FFFF"));
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (0.9_Old)"));
    QCOMPARE(editor.Document().records(), settings);
    QCOMPARE(listTexts(editor), QStringList({"Beep", "Zoom"}));
    verifyListMapsRecords(editor);
    QVERIFY(editor.FileSaved());
    QCOMPARE(f.platform.messages(), QStringList());
}

void TestEditSetting::openRefusalsKeepTheWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("messageKeys");   // keys, or texts starting with "="
    QTest::newRow("magic in capitals") << "magic" << QStringList({"bvlEditSetting.UnknownFile_M"});
    QTest::newRow("version 2") << "version" << QStringList({"bvlEditSetting.UnsupportedVer_M", "= V2"});
    QTest::newRow("missing file") << "missing" << QStringList({"=ReadSettingFile(", "bvlEditSetting.FileError_M"});
    QTest::newRow("truncated file") << "truncated"
                                    << QStringList(
                                           {"=f.sec is not a whole setting file: it ends inside record 1 (ERR 62)"});
    // Its counts run past its end, but the point is that it is no setting file.
    QTest::newRow("language file renamed") << "language" << QStringList({"bvlEditSetting.UnknownFile_M"});
    QTest::newRow("group path of 32767 levels") << "deep" << QStringList({"bvlEditSetting.GroupPathTooLong_M"});
}

void TestEditSetting::openRefusalsKeepTheWindow()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, messageKeys);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"kept"});
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    editor.UndoStack()->setClean();
    const SettingList before = editor.Document().records();

    SettingFileHeader h = header();
    QString path = dir.filePath(QStringLiteral("missing.sec"));
    if (kind == QLatin1String("magic")) {
        h.Magic = QStringLiteral("SEC");
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
    } else if (kind == QLatin1String("version")) {
        h.FileVersion = 2;
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
    } else if (kind == QLatin1String("truncated")) {
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
        QFile file(path);
        QVERIFY(file.resize(file.size() - 3));
    } else if (kind == QLatin1String("language")) {
        path = dir.filePath(QStringLiteral("english.sec"));
        QVERIFY(QFile::copy(QStringLiteral(BVL_DATA_DIR "/english.sel"), path));
    } else if (kind == QLatin1String("deep")) {
        const QString deep = QStringList(32767, QStringLiteral("a")).join(GroupSeparator);
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", deep, SettingType::Int8)});
        QVERIFY(QFileInfo(path).size() > 65000);
    }
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();

    const QStringList shown = f.platform.messages();
    QCOMPARE(shown.size(), messageKeys.size() == 2 && messageKeys[1].startsWith('=') ? 1 : messageKeys.size());
    QString expectedFirst = messageKeys[0].startsWith('=') ? messageKeys[0].mid(1) : f.ctx.T(messageKeys[0]);
    if (messageKeys.size() == 2 && messageKeys[1].startsWith('='))
        expectedFirst += messageKeys[1].mid(1);
    QVERIFY2(shown[0].startsWith(expectedFirst), qPrintable(shown[0]));
    if (shown.size() == 2)
        QCOMPARE(shown[1], f.ctx.T(messageKeys[1]));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);

    // The window still shows, and holds, the file it had.
    QCOMPARE(editor.Document().records(), before);
    QCOMPARE(listTexts(editor), QStringList({"kept"}));
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));
    verifyListMapsRecords(editor);
}

void TestEditSetting::unshowableRecordSavedExactlyAsRead()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingStruct odd = MakeSetting("odd", "G", SettingType::Int8, 3);
    odd.Type = 9;
    odd.UIIndex = 5;
    odd.ValueNames = "A§B";
    odd.Values = "300§x";
    SettingStruct list = MakeSetting("list", "G", SettingType::ValueList, 4);
    list.BitMask = 0x0F;
    list.ValueNames = "A§B§C";
    list.Values = "1§2";
    const SettingList settings = {odd, list};
    const QString source = writeFile(dir, QStringLiteral("in.sec"), header(), settings);
    f.platform.answerFile(source);
    editor.mnfOpenSetting_Click();

    for (const QString &name : {QStringLiteral("odd"), QStringLiteral("list")}) {
        select(editor, {name});
        UnexpectedModalGuard guard;
        editor.cmEdit_Click();
        QVERIFY(!guard.opened);
    }
    QCOMPARE(f.platform.messages().size(), 2);

    const QString target = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(target);
    editor.mnfSaveSetting_Click();
    SettingFileHeader h;
    SettingList reread;
    ReadSettingFile(target, h, reread);
    QCOMPARE(reread, settings);
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

void TestEditSetting::fileTextsShowLiterally()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingFileHeader h = header();
    h.ProgramVersion = QStringLiteral("<i>0.9</i>");
    f.platform.answerFile(
        writeFile(dir, QStringLiteral("a.sec"), h, {MakeSetting("<b>x</b>", "<b>g</b>", SettingType::Int8)}));
    editor.mnfOpenSetting_Click();
    Ui(editor).lsSettings->setCurrentRow(0);

    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"<b>g</b>\""));
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (<i>0.9</i>)"));
    for (QLabel *label : {Ui(editor).lbSettingGroup, Ui(editor).lbFileVer})
        QCOMPARE(label->textFormat(), Qt::PlainText);   // never guessed to be markup
}

// The dialogs start in the folder of the file in the window; with none, the platform
// chooses.
void TestEditSetting::fileDialogsStartInTheFilesFolder()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(), {MakeSetting("a", "G", SettingType::Int8)});
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();
    f.platform.cancelFile();
    editor.mnfSaveSetting_Click();
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();
    editor.mnfNew_Click();
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();

    QStringList proposed;
    for (const ScriptedPlatform::Call &call : f.platform.calls)
        proposed << call.proposed;
    // Save proposes the open file itself, in its folder.
    QCOMPARE(proposed, QStringList({QString(), path, folder, QString()}));
}

QTEST_MAIN(TestEditSetting)
#include "tst_editsetting.moc"
