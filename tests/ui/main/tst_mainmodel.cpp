// The main window as a view of its document: the unsaved state, names that travel, the
// tree's selection, the wheel, the names assistive technology reads and pages built when
// they are first needed.
#include "support/MainFixtures.h"
#include "ui/main/FindBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QTreeWidget>
#include <QUndoStack>
#include <QWheelEvent>
#include <QtTest>

using namespace MainFixtures;

class TestMainModel : public QObject
{
    Q_OBJECT
private slots:
    void undoBackToTheFileAsksNothing()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        w.ShowSetting(1);
        f.check(1)->click();
        QVERIFY(!w.IsSaved());
        QVERIFY(w.windowTitle().contains(QStringLiteral("(1 ")));
        w.mnfUndo_Click();
        QVERIFY(w.IsSaved());
        QVERIFY(!w.windowTitle().contains(QLatin1Char('(')));
        // Quit goes without a question.
        bool cancel = true;
        w.Form_QueryUnload(cancel);
        QVERIFY(!cancel);
        QVERIFY(f.platform.messages().isEmpty());
    }

    void overflowPagesAreNoNames()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingList settings;
        for (int k = 0; k < 22; ++k)
            settings << Named(SeemFixtures::Checkbox(k / 8, quint8(1 << (k % 8)), 1 << (k % 8), 0),
                              QStringLiteral("F%1").arg(k), QStringLiteral("Features"));
        f.openWith(settings, QByteArray(4, '\0'));
        QCOMPARE(w.PageKeys.at(21), QStringLiteral("Features (2)"));
        QVERIFY(w.NodeByKey(QStringLiteral("Features (2)")));
        const QByteArray profile = w.ShownValuesProfile();
        QVERIFY(!profile.contains("(2)"));
        QCOMPARE(profile.count("\"group\": \"Features\""), 22);
    }

    void theShownPageKeepsItsNodeSelected()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        w.ShowSetting(3);
        QTreeWidgetItem *node = w.tvUI->currentItem();
        QVERIFY(node);
        f.text(3)->setText(QStringLiteral("9"));
        // Ctrl+click on the selected node would deselect it.
        node->setSelected(false);
        QCOMPARE(w.tvUI->selectedItems(), QList<QTreeWidgetItem *>{node});
        // The tree's restore acts on the page shown.
        w.PopupTarget = -1;
        w.mnfRestoreItem_Click();
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
    }

    void theWheelScrollsPastAListWithoutFocus()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        w.show();
        w.ShowSetting(3);   // the focus is elsewhere
        QComboBox *list = f.list(2);
        const int before = list->currentIndex();
        QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list, &wheel);
        QCOMPARE(list->currentIndex(), before);
        QVERIFY(w.IsSaved());
        QCOMPARE(list->focusPolicy(), Qt::StrongFocus);
    }

    void controlsAreNamedAfterTheirSettings()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QCOMPARE(f.list(2)->accessibleName(), QStringLiteral("Volume"));
        QCOMPARE(f.list(2)->accessibleDescription(), QStringLiteral("How loud"));
        QCOMPARE(f.text(3)->accessibleName(), QStringLiteral("Timeout"));
        QCOMPARE(w.tvUI->accessibleName(), f.T(QStringLiteral("bvlMain.tvUI_Accessible")));
        QVERIFY(!w.tvUI->accessibleName().isEmpty());
    }

    // A page is built when first shown, with the names a view built at once would give
    // its controls, and the values and marks of what happened before it was built.
    void pagesAreBuiltWhenFirstNeeded()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QCOMPARE(w.FrameCount, 4);
        // Only the first page, shown at once.
        QCOMPARE(w.findChildren<QGroupBox *>(QRegularExpression("^replicator\\([1-9]")).size(), 1);
        QCOMPARE(w.findChildren<QCheckBox *>(QRegularExpression("^chUI")).size(), 2);   // the template, Beep

        // Edits of a page never shown, then a restore-all: they build nothing.
        w.ShowStatesAsOneStep({{5, ControlState::Text(QStringLiteral("Zed"))}, {6, ControlState::Checked(false)}});
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (2 changed)"));
        w.mnfUndo_Click();
        w.mnfRedo_Click();
        QVERIFY(!w.IsPageBuilt(3) && !w.IsPageBuilt(4));

        // Net\GPRS shown first: its controls keep their numbers and show the edit, marked.
        w.tvUI->setCurrentItem(w.NodeByKey(QStringLiteral("Net\\GPRS")));
        QVERIFY(w.IsPageBuilt(3) && !w.IsPageBuilt(2));
        QCOMPARE(w.txUI.at(3)->objectName(), QStringLiteral("txUI(3)"));
        QCOMPARE(w.txUI.at(3)->text(), QStringLiteral("Zed"));
        QCOMPARE(w.lbUI.at(4)->text(), QString::fromUtf8("\u2022 Owner"));
        QVERIFY(w.txUI.at(3)->isVisibleTo(&w));
        QVERIFY(!w.txUI.at(1) && !w.lbUI.at(2));

        // Find goes to a page not built yet and builds it.
        w.mnfFind_Click();
        w.txFind->setText(QStringLiteral("Roaming"));
        w.mnfFindNext_Click();
        QVERIFY(w.IsPageBuilt(4));
        QCOMPARE(w.chUI.at(2)->objectName(), QStringLiteral("chUI(2)"));
        QCOMPARE(w.chUI.at(2)->text(), QString::fromUtf8("\u2022 Roaming"));
        QVERIFY(!w.chUI.at(2)->isChecked());

        // Restore-all puts the file's values into the built controls and into the others
        // once they are built.
        w.mnfRestore_Click();
        QVERIFY(w.chUI.at(2)->isChecked());
        QCOMPARE(w.lbUI.at(4)->text(), QStringLiteral("Owner"));
        QVERIFY(!w.IsPageBuilt(2));
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
    }
};

QTEST_MAIN(TestMainModel)
#include "tst_mainmodel.moc"
