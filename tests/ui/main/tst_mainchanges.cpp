// Seeing every change before it is written: marks on changed settings and their tree
// nodes, the count in the title, undo and redo, the review of changes, and Find.
#include "support/MainFixtures.h"
#include "ui/ThemeColours.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/FindBar.h"
#include "ui/main/bvlReviewChanges.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {
// The label of setting index, its page built as the window builds it when asked.
QLabel *LabelOf(bvlMain &w, int index)
{
    w.ControlOf(index);
    for (QLabel *label : w.lbUI)
        if (label && label->property(bvlMain::SettingIndexProperty).toInt() == index)
            return label;
    return nullptr;
}

QStringList RowTexts(const QTreeWidgetItem *row)
{
    QStringList texts;
    for (int column = 0; column < row->columnCount(); ++column)
        texts << row->text(column);
    return texts;
}

void ShowActive(bvlMain &w)
{
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
}
}   // namespace

class TestMainChanges : public QObject
{
    Q_OBJECT
private slots:
    void marksFollowEveryWayBack()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem"));

        f.check(1)->setChecked(false);
        QVERIFY(HasChangeMark(f.check(1)) && f.check(1)->font().bold());
        QCOMPARE(f.check(1)->text(), QString::fromUtf8("• Beep"));
        QVERIFY(HasChangeMark(w.NodeByKey("Sound")));
        QCOMPARE(w.NodeByKey("Sound")->text(0), QString::fromUtf8("• Sound"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (1 changed)"));
        // Set back by hand.
        f.check(1)->setChecked(true);
        QVERIFY(!HasChangeMark(f.check(1)) && !f.check(1)->font().bold());
        QCOMPARE(f.check(1)->text(), QStringLiteral("Beep"));
        QVERIFY(!HasChangeMark(w.NodeByKey("Sound")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem"));

        // A nested group marks its parents; the label carries the mark of a text box.
        f.text(5)->setText("XY");
        f.list(2)->setCurrentIndex(2);
        QCOMPARE(LabelOf(w, 5)->text(), QString::fromUtf8("• Owner"));
        QVERIFY(HasChangeMark(w.NodeByKey("Net\\GPRS")) && HasChangeMark(w.NodeByKey("Net")));
        QVERIFY(!HasChangeMark(w.NodeByKey("Display")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (2 changed)"));
        QCOMPARE(w.ChangedSettings(), QVector<int>({2, 5}));

        // By undo (the list's step), by restore (the owner), by save (the roaming box).
        w.mnfUndo_Click();
        QCOMPARE(f.list(2)->currentIndex(), 1);
        QVERIFY(!HasChangeMark(LabelOf(w, 2)) && HasChangeMark(LabelOf(w, 5)));
        w.PopupTarget = 5;
        w.mnfRestoreItem_Click();
        QCOMPARE(f.text(5)->text(), QStringLiteral("AB"));
        QCOMPARE(LabelOf(w, 5)->text(), QStringLiteral("Owner"));
        QVERIFY(!HasChangeMark(w.NodeByKey("Net")));
        f.check(6)->setChecked(false);
        QVERIFY(HasChangeMark(w.NodeByKey("Net")) && !HasChangeMark(w.NodeByKey("Net\\GPRS")));
        QVERIFY(f.save());
        QVERIFY(!HasChangeMark(f.check(6)) && !HasChangeMark(w.NodeByKey("Net")));
        QCOMPARE(f.image().at(18), char(0x00));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem"));

        // The count's word comes from the language file.
        f.check(1)->setChecked(false);
        QVERIFY(f.ctx.lang.LoadLanguageFile(f.folder.copyLanguage("italiano.sel")));
        ApplyLanguage(f.ctx.lang, &w);
        QCOMPARE(w.mnuChanges->title(), QStringLiteral("&Modifiche"));
        f.check(6)->setChecked(true);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (2 modificate)"));
    }

    // One step per control change, a whole typing until focus leaves, a restore; undo
    // after a save makes the document unsaved again; opening a file clears the steps.
    void titleNamesTheFileTheDocumentTakesOver()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (1 changed)"));
        // The document takes another file over by itself: the title follows its reset.
        auto other = std::make_unique<SeemFile>();
        other->open(f.folder.writeBytes(QStringLiteral("0032_0001 b.seem"), SampleImage()));
        w.Document->load(std::move(other), f.secPath, w.Document->header(), w.Document->settings());
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001 b.seem"));
        w.Document->close();
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit"));
    }

    void undoAndRedoAcrossRestoreAndSave()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QVERIFY(!w.mnfUndo->isEnabled());
        f.check(1)->setChecked(false);
        f.list(2)->setCurrentIndex(2);
        f.text(3)->clear();
        QTest::keyClicks(f.text(3), "12");
        emit f.text(3)->editingFinished();
        QCOMPARE(w.UndoStack->count(), 3);
        QVERIFY(w.mnfUndo->isEnabled());

        w.mnfRestore_Click();
        QCOMPARE(w.UndoStack->count(), 4);
        QVERIFY(w.ChangedSettings().isEmpty());
        w.mnfUndo_Click();
        QCOMPARE(w.ChangedSettings(), QVector<int>({1, 2, 3}));
        QCOMPARE(f.text(3)->text(), QStringLiteral("12"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (3 changed)"));

        QVERIFY(f.save());
        QVERIFY(w.IsSaved() && w.ChangedSettings().isEmpty());
        QCOMPARE(f.image().left(2), QByteArray::fromHex("200C"));
        w.mnfUndo_Click();   // the typing: the file holds 12 now
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
        QVERIFY(!w.IsSaved());
        QCOMPARE(w.ChangedSettings(), QVector<int>({3}));
        w.mnfUndo_Click();
        w.mnfUndo_Click();
        QCOMPARE(w.ChangedSettings(), QVector<int>({1, 2, 3}));
        QVERIFY(f.check(1)->isChecked() && f.list(2)->currentIndex() == 1);
        w.mnfRedo_Click();
        w.mnfRedo_Click();
        w.mnfRedo_Click();
        QVERIFY(w.ChangedSettings().isEmpty());
        QCOMPARE(w.UndoStack->index(), 3);   // the restore waits to be redone

        // Typing undone before its box lost focus is undone whole; a new change drops redo.
        QTest::keyClicks(f.text(4), "DE");
        w.mnfUndo_Click();
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
        QVERIFY(w.mnfRedo->isEnabled());
        f.check(6)->setChecked(false);
        QVERIFY(!w.mnfRedo->isEnabled());

        f.platform.answerMessage(MsgResult::No);
        f.open(f.seemPath);
        QCOMPARE(w.UndoStack->count(), 0);
        QVERIFY(w.ChangedSettings().isEmpty());
    }

    void reviewListsAndRestoresChanges()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        f.list(2)->setCurrentIndex(2);
        f.text(4)->setText("Hi");
        emit f.text(4)->editingFinished();

        bvlReviewChanges review(f.ctx, *w.Document, w.Reviewing(), &w);
        QCOMPARE(review.objectName(), QStringLiteral("bvlReviewChanges"));
        QCOMPARE(review.cmRestore->text(), QStringLiteral("Restore selected"));
        QCOMPARE(review.lsChanges->headerItem()->text(bvlReviewChanges::FileValueColumn),
                 QStringLiteral("Value in the file"));
        QCOMPARE(review.lsChanges->topLevelItemCount(), 3);
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(0)),
                 QStringList({"Sound", "Beep", "on", "off", "0 (0x0) 00000001"}));
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(1)),
                 QStringList({"Sound", "Volume", "Mid", "High", "0 (0x0) 00110000"}));
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(2)),
                 QStringList({"Display", "Greeting", "ABC", "Hi", "2-9 (0x2-0x9)"}));

        // Restoring two of them is one step.
        const int steps = w.UndoStack->count();
        review.lsChanges->topLevelItem(0)->setSelected(true);
        review.lsChanges->topLevelItem(2)->setSelected(true);
        QVERIFY(review.cmRestore->isEnabled());
        review.cmRestore_Click();
        QCOMPARE(review.lsChanges->topLevelItemCount(), 1);
        QCOMPARE(review.lsChanges->topLevelItem(0)->text(bvlReviewChanges::NameColumn), QStringLiteral("Volume"));
        QVERIFY(f.check(1)->isChecked());
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
        QCOMPARE(w.UndoStack->count(), steps + 1);
        w.mnfUndo_Click();
        QCOMPARE(w.ChangedSettings(), QVector<int>({1, 2, 4}));

        // Save from the list is the Save command, dialog included.
        review.FillUp();
        f.platform.answerFile(f.seemPath);
        review.cmSave_Click();
        QCOMPARE(review.lsChanges->topLevelItemCount(), 0);
        QCOMPARE(f.image().left(5), QByteArray::fromHex("20C8"
                                                        "486900"));
        QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).size(), 1);

        // A double-click closes the list and goes to the setting.
        f.list(2)->setCurrentIndex(0);
        w.tvUI->setCurrentItem(w.NodeByKey("Display"));
        w.ShowModal = [](QDialog &dialog) {
            auto &shown = static_cast<bvlReviewChanges &>(dialog);
            shown.lsChanges_DblClick(shown.lsChanges->topLevelItem(0));
        };
        w.mnfReviewChanges_Click();
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Sound"));
        QVERIFY(f.list(2)->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.list(2));
    }

    void findGoesThroughMatchesAndWraps()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        QVERIFY(!w.mnfFind->isEnabled());
        f.open(f.seemPath);
        const QRect statusLine = w.lbFileDesc->geometry();
        w.mnfFind_Click();
        QVERIFY(w.txFind->isVisible());
        // The status line steps aside, keeping its place and height.
        QCOMPARE(w.lbFileDesc->geometry().topLeft(), statusLine.topLeft());
        QVERIFY(w.lbFileDesc->geometry().right() < w.txFind->geometry().left());

        // "o" is in Beep's description first; "ou" next in Volume's ("How loud").
        QTest::keyClicks(w.txFind, "O");
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Sound"));
        QVERIFY(f.check(1)->autoFillBackground());
        QCOMPARE(QApplication::focusWidget(), w.txFind);
        QTest::keyClicks(w.txFind, "u");
        QVERIFY(f.list(2)->autoFillBackground() && !f.check(1)->autoFillBackground());

        // Matches of "ou": Volume (2), Timeout (3). Enter and F3 go on and around, and the
        // find box keeps the keyboard: what is typed next still goes into it.
        QTest::keyClick(w.txFind, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.txFind);
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Display"));
        QVERIFY(f.text(3)->autoFillBackground());
        QTest::keyClick(w.txFind, Qt::Key_F3);
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Sound"));
        QTest::keyClick(w.txFind, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Display"));
        w.mnfFindPrevious_Click();
        QCOMPARE(QApplication::focusWidget(), w.txFind);
        QCOMPARE(w.txFind->text(), QStringLiteral("Ou"));
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
        // Escape closes it: the control found takes the focus, the highlight goes.
        QVERIFY(f.list(2)->autoFillBackground());
        QTest::keyClick(w.txFind, Qt::Key_Escape);
        QVERIFY(!w.txFind->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.list(2));
        QVERIFY(!f.list(2)->autoFillBackground());
        // With the find box closed, F3 hands the focus to the match and its highlight ends by itself.
        w.mnfFindNext_Click();
        QCOMPARE(QApplication::focusWidget(), f.text(3));
        QTRY_VERIFY_WITH_TIMEOUT(!f.text(3)->autoFillBackground(), 5000);

        // No match: nothing moves, and the query says so.
        w.mnfFind_Click();
        QTest::keyClicks(w.txFind, "zz");
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Display"));
        QVERIFY(w.txFind->showsNotFound());
        QCOMPARE(w.txFind->palette().color(QPalette::Text),
                 ThemeColours::ForPalette(ThemeColours::Error, w.txFind->palette(), QPalette::Base));
        QTest::keyClick(w.txFind, Qt::Key_Escape);
        QVERIFY(!w.txFind->isVisible());
    }
};

QTEST_MAIN(TestMainChanges)
#include "tst_mainchanges.moc"
