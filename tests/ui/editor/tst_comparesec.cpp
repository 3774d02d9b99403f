// The setting editor's comparison with another setting file and with its own file on disk.
#include "support/EditorSteps.h"
#include "ui/editor/bvlCompareSec.h"

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

QTEST_MAIN(TestCompareSec)
#include "tst_comparesec.moc"
