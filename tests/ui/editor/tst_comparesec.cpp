// The setting editor's comparison with another setting file and with its own file on disk,
// and its merge of another file's changes.
#include "support/EditorSteps.h"
#include "support/FileBytes.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/editor/bvlMergeSec.h"

#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

using namespace EditorSteps;

namespace {

QAction *Action(const bvlEditSetting &editor, const char *name)
{
    auto *action = editor.findChild<QAction *>(QString::fromLatin1(name));
    if (!action)
        QTest::qFail(name, __FILE__, __LINE__);
    return action;
}

// The list as it reads: "setting|difference" for a setting, "  field|this|other" under it.
QStringList Rows(const bvlCompareSec &window)
{
    QStringList rows;
    const QTreeWidget *tree = window.tvDifferences;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = tree->topLevelItem(i);
        rows << row->text(bvlCompareSec::SettingColumn) + QLatin1Char('|') + row->text(bvlCompareSec::DifferenceColumn);
        for (int j = 0; j < row->childCount(); ++j) {
            const QTreeWidgetItem *field = row->child(j);
            rows << QStringLiteral("  ") + field->text(bvlCompareSec::SettingColumn) + QLatin1Char('|')
                        + field->text(bvlCompareSec::ThisColumn) + QLatin1Char('|')
                        + field->text(bvlCompareSec::OtherColumn);
        }
    }
    return rows;
}

// A, B, C, D in group G, 8-bit numbers at 0..3, by Bob.
SettingList Theirs()
{
    SettingList records;
    for (int i = 0; i < 4; ++i)
        records << MakeSetting(QString(QLatin1Char('A' + i)), QStringLiteral("G"), SettingType::Int8, i);
    return records;
}

// B moved and described, C renamed where it stands, D gone, E new; by Ann.
SettingList Mine()
{
    SettingList records = Theirs();
    records[1].Offset = 5;
    records[1].Description = QStringLiteral("two\nlines");
    records[2].Name = QStringLiteral("C2");
    records.removeAt(3);
    records << MakeSetting(QStringLiteral("E"), QStringLiteral("G"), SettingType::Checkbox, 7);
    return records;
}

}   // namespace

class TestCompareSec : public QObject
{
    Q_OBJECT
private slots:
    void listsWhatTheLibraryFindsAndFollowsEdits();
    void comparesWithTheFileOnDisk();
    void mergeTakesWhatDoesNotConflictAsOneStep();
    void mergeWithoutBaseStartsFromTheSavedFile();
};

void TestCompareSec::listsWhatTheLibraryFindsAndFollowsEdits()
{
    EditorFixture f;
    QTemporaryDir dir;
    SettingFileHeader bob = header();
    bob.Author = QStringLiteral("Bob");
    const QString theirs = writeFile(dir, QStringLiteral("theirs.sec"), bob, Theirs());
    f.platform.answerFile(writeFile(dir, QStringLiteral("mine.sec"), header(), Mine()));
    bvlEditSetting editor(f.ctx);
    editor.mnfOpenSetting_Click();
    editor.show();

    QAction *compare = Action(editor, "mnfCompare");
    QCOMPARE(compare->text(), f.ctx.T(QStringLiteral("bvlEditSetting.mnfCompare")));
    QVERIFY(Ui(editor).mnuFile->actions().contains(compare));
    f.platform.answerFile(theirs);
    compare->trigger();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).last().text,
             f.ctx.Title(QStringLiteral("bvlEditSetting.mnfCompare")));
    bvlCompareSec *window = editor.Comparison();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Compare with setting file... - theirs.sec"));
    QCOMPARE(window->tvDifferences->headerItem()->text(bvlCompareSec::OtherColumn), QStringLiteral("theirs.sec"));
    // The header, then what only the other file has, what only this one has, what changed.
    QCOMPARE(Rows(*window), QStringList({
                                "Header|changed",
                                "  Author|Ann|Bob",
                                "G\\D|only in theirs.sec",
                                "G\\E|only in this file",
                                "G\\B|changed",
                                "  Description|two\\nlines|",
                                "  Offset|5 (0x5)|1 (0x1)",
                                "G\\C2|renamed",
                                "  Name|C2|C",
                            }));
    QVERIFY(window->lbEqual->isHidden());

    // A double-click on a field of B selects B in the editor's list.
    QTreeWidgetItem *offset = window->tvDifferences->topLevelItem(3)->child(1);
    const QRect place = window->tvDifferences->visualItemRect(offset);
    QTest::mouseClick(window->tvDifferences->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(window->tvDifferences->viewport(), Qt::LeftButton, {}, place.center());
    QVERIFY(Ui(editor).lsSettings->currentItem());
    QCOMPARE(Ui(editor).lsSettings->currentItem()->text(), QStringLiteral("B"));
    QCOMPARE(Ui(editor).lsSettings->selectedItems().size(), 1);

    // Edits compare again: B put back where it was, then the undo.
    SettingStruct b = editor.Document().record(2);
    b.Offset = 1;
    b.Description.clear();
    editor.Document().replaceRecord(2, b, QStringLiteral("Edit"));
    QVERIFY(!Rows(*window).contains(QStringLiteral("G\\B|changed")));
    editor.UndoStack()->undo();
    QVERIFY(Rows(*window).contains(QStringLiteral("  Offset|5 (0x5)|1 (0x1)")));

    // A file compared with itself: nothing listed, and said so.
    f.platform.answerFile(editor.FilePath());
    compare->trigger();
    window = editor.Comparison();
    QVERIFY(Rows(*window).isEmpty());
    QVERIFY(window->lbEqual->isVisible());
    QCOMPARE(window->lbEqual->text(), f.ctx.T(QStringLiteral("bvlCompareSec.sEqual_V")));

    // A file that is no setting file is refused by the reader's words; no window opens.
    window->close();
    QTRY_VERIFY(!editor.Comparison());
    QFile junk(dir.filePath(QStringLiteral("junk.sec")));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a setting file") > 0);
    junk.close();
    f.platform.clearCalls();
    f.platform.answerFile(junk.fileName());
    compare->trigger();
    QVERIFY(!editor.Comparison());
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.UnknownFile_M"))}));
}

void TestCompareSec::comparesWithTheFileOnDisk()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    QAction *disk = Action(editor, "mnfCompareDisk");
    QVERIFY(!disk->isEnabled());   // a new file has none
    f.platform.answerFile(writeFile(dir, QStringLiteral("mine.sec"), header(), Theirs()));
    editor.mnfOpenSetting_Click();
    QVERIFY(disk->isEnabled());

    // Unsaved edits against the file as saved: the file on disk is the other side.
    Ui(editor).txAuthor->setText(QStringLiteral("Zoe"));
    editor.DeleteSetting(1);
    disk->trigger();
    QVERIFY(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).size() == 1);   // nothing asked
    bvlCompareSec *window = editor.Comparison();
    QCOMPARE(window->tvDifferences->headerItem()->text(bvlCompareSec::OtherColumn), QStringLiteral("mine.sec on disk"));
    QCOMPARE(Rows(*window), QStringList({"Header|changed", "  Author|Zoe|Ann", "G\\A|only in mine.sec on disk"}));

    // Another file in the editor closes the comparison of the one before.
    f.platform.answerMessage(MsgResult::No);   // not saved
    editor.mnfNew_Click();
    QTRY_VERIFY(!editor.Comparison());
}

namespace {

// The conflicts as they read: "setting|mine|theirs|choice", "  field|mine|theirs" under it.
QStringList Conflicts(const bvlMergeSec &window)
{
    QStringList rows;
    const QTreeWidget *tree = window.tvConflicts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = tree->topLevelItem(i);
        QStringList texts;
        for (int column = 0; column < tree->columnCount(); ++column)
            texts << row->text(column);
        rows << texts.join(QLatin1Char('|'));
        for (int j = 0; j < row->childCount(); ++j)
            rows << QStringLiteral("  ") + row->child(j)->text(bvlMergeSec::ConflictColumn) + QLatin1Char('|')
                        + row->child(j)->text(bvlMergeSec::MineColumn) + QLatin1Char('|')
                        + row->child(j)->text(bvlMergeSec::TheirsColumn);
    }
    return rows;
}

QStringList Descriptions(const bvlEditSetting &editor)
{
    QStringList texts;
    for (const SettingStruct &s : editor.Document().records())
        texts << s.Name + QLatin1Char('=') + s.Description + QLatin1Char('@') + QString::number(s.Offset);
    return texts;
}

// The base A..D with B described "mine", and theirs: B described "theirs", C moved, E
// added, another author.
struct MergeFiles
{
    QTemporaryDir dir;
    QString base = writeFile(dir, QStringLiteral("base.sec"), header(), Theirs());
    QString theirs = [this] {
        SettingList records = Theirs();
        records[1].Description = QStringLiteral("theirs");
        records[2].Offset = 9;
        records << MakeSetting(QStringLiteral("E"), QStringLiteral("G"), SettingType::Int8, 4);
        SettingFileHeader bob = header();
        bob.Author = QStringLiteral("Bob");
        return writeFile(dir, QStringLiteral("theirs.sec"), bob, records);
    }();

    // The base open in the editor, B described "mine" and not saved.
    void openEdited(EditorFixture &f, bvlEditSetting &editor) const
    {
        f.platform.answerFile(base);
        editor.mnfOpenSetting_Click();
        SettingStruct b = editor.Document().record(2);
        b.Description = QStringLiteral("mine");
        editor.Document().replaceRecord(2, b, QStringLiteral("Edit"));
    }
};

const QStringList Merged = {"A=@0", "B=mine@1", "C=@9", "D=@3", "E=@4"};

}   // namespace

void TestCompareSec::mergeTakesWhatDoesNotConflictAsOneStep()
{
    EditorFixture f;
    MergeFiles files;
    bvlEditSetting editor(f.ctx);
    files.openEdited(f, editor);
    const QString before = files.dir.filePath(QStringLiteral("before.sec"));
    f.platform.answerFile(before);
    QVERIFY(editor.SaveSettingFile());
    const int steps = editor.UndoStack()->count();

    QAction *merge = Action(editor, "mnfMerge");
    QVERIFY(Ui(editor).mnuFile->actions().contains(merge));
    f.platform.answerFile(files.theirs);
    f.platform.answerFile(files.base);
    merge->trigger();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).last().text,
             f.ctx.T(QStringLiteral("bvlMergeSec.sChooseBase_V")));
    bvlMergeSec *window = editor.Merging();
    QVERIFY(window && window->isVisible());

    // What does not conflict came in as one step; B keeps mine until chosen.
    QCOMPARE(editor.UndoStack()->count(), steps + 1);
    QCOMPARE(Descriptions(editor), Merged);
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("Bob"));
    QCOMPARE(window->lbTaken->text(), f.ctx.T(QStringLiteral("bvlMergeSec.sTaken_V")).arg("theirs.sec"));
    QCOMPARE(Conflicts(*window), QStringList({"G\\B|||not chosen yet", "  Description|mine|theirs"}));
    QVERIFY(!window->cmTakeTheirs->isEnabled());   // nothing selected yet

    // Take theirs, undo, keep mine, undo, redo: each a step, the list following.
    window->tvConflicts->setCurrentItem(window->tvConflicts->topLevelItem(0));
    QVERIFY(window->cmTakeTheirs->isEnabled() && window->cmKeepMine->isEnabled());
    window->cmTakeTheirs->click();
    QCOMPARE(Descriptions(editor).at(1), QStringLiteral("B=theirs@1"));
    QCOMPARE(Conflicts(*window).first(), QStringLiteral("G\\B|||theirs taken"));
    QVERIFY(!window->cmKeepMine->isEnabled());
    QCOMPARE(window->lbState->text(), f.ctx.T(QStringLiteral("bvlMergeSec.sAllChosen_V")));
    editor.UndoStack()->undo();
    QCOMPARE(Descriptions(editor), Merged);
    QCOMPARE(Conflicts(*window).first(), QStringLiteral("G\\B|||not chosen yet"));
    window->cmKeepMine->click();
    QCOMPARE(editor.UndoStack()->count(), steps + 2);
    QCOMPARE(Conflicts(*window).first(), QStringLiteral("G\\B|||mine kept"));
    editor.UndoStack()->undo();
    editor.UndoStack()->redo();
    QCOMPARE(Conflicts(*window).first(), QStringLiteral("G\\B|||mine kept"));
    QCOMPARE(Descriptions(editor), Merged);

    // An edit after the merge holds the choices back until it is undone.
    editor.UndoStack()->undo();
    editor.DeleteSetting(1);
    QVERIFY(!window->cmKeepMine->isEnabled());
    QCOMPARE(window->lbState->text(), f.ctx.T(QStringLiteral("bvlMergeSec.sEdited_V")));
    editor.UndoStack()->undo();
    QVERIFY(window->cmKeepMine->isEnabled());

    // Undoing the merge gives back the file as it was, to the byte once saved.
    editor.UndoStack()->undo();
    QCOMPARE(window->lbState->text(), f.ctx.T(QStringLiteral("bvlMergeSec.sUndone_V")));
    QVERIFY(!window->cmKeepMine->isEnabled());
    QVERIFY(editor.FileSaved());
    const QString after = files.dir.filePath(QStringLiteral("after.sec"));
    f.platform.answerFile(after);
    QVERIFY(editor.SaveSettingFile());
    QCOMPARE(FileBytes(after), FileBytes(before));
    QVERIFY(f.platform.allAnswersUsed());
}

void TestCompareSec::mergeWithoutBaseStartsFromTheSavedFile()
{
    EditorFixture f;
    MergeFiles files;
    bvlEditSetting editor(f.ctx);
    files.openEdited(f, editor);
    f.platform.answerFile(files.theirs);
    f.platform.cancelFile();   // no base: the file as saved is one
    editor.mnfMerge_Click();
    QCOMPARE(Descriptions(editor), Merged);
    QCOMPARE(Conflicts(*editor.Merging()), QStringList({"G\\B|||not chosen yet", "  Description|mine|theirs"}));

    // Merged with itself, nothing is taken and no step is made.
    const int steps = editor.UndoStack()->count();
    f.platform.answerFile(files.theirs);
    f.platform.answerFile(files.theirs);
    editor.mnfMerge_Click();
    QCOMPARE(editor.UndoStack()->count(), steps);
    QCOMPARE(editor.Merging()->lbTaken->text(),
             f.ctx.T(QStringLiteral("bvlMergeSec.sNothingTaken_V")).arg("theirs.sec"));
}

QTEST_MAIN(TestCompareSec)
#include "tst_comparesec.moc"
