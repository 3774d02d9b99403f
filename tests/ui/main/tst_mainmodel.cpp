// The main window as a view of its document: the unsaved state, names that travel, the
// tree's selection, the wheel and the names assistive technology reads.
#include "support/MainFixtures.h"

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
};

QTEST_MAIN(TestMainModel)
#include "tst_mainmodel.moc"
