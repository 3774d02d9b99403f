// The settings view of the main window: tree nodes, group pages, slots and controls.
#include "support/MainFixtures.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;
using SeemFixtures::Checkbox;

namespace {
void Build(bvlMain &w, const SettingList &settings)
{
    w.UnloadAllControls();
    w.Settings = settings;
    for (int i = 1; i <= w.Settings.size(); ++i) {
        w.AddSettingGroup(w.Settings[i - 1], i);
        w.AddSettingControl(w.Settings[i - 1], i);
    }
    // Every page built, as when each node has been shown.
    for (int page = 1; page <= w.FrameCount; ++page)
        w.BuildPage(page);
}

SettingList Checkboxes(int count, const QString &group)
{
    SettingList list;
    for (int i = 0; i < count; ++i)
        list << Named(Checkbox(0, 1, 1, 0), QStringLiteral("c%1").arg(i + 1), group);
    return list;
}

QStringList ChildTexts(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}
}   // namespace

class TestMainView : public QObject
{
    Q_OBJECT
private slots:
    void slotPositions_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QPoint>("pixels");
        QTest::newRow("1") << 1 << QPoint(8, 15);
        QTest::newRow("2") << 2 << QPoint(8, 61);
        QTest::newRow("10") << 10 << QPoint(8, 429);
        QTest::newRow("11") << 11 << QPoint(320, 15);
        QTest::newRow("20") << 20 << QPoint(320, 429);
    }
    void slotPositions()
    {
        QFETCH(int, slot);
        QFETCH(QPoint, pixels);
        MainFixture f;
        bvlMain &w = *f.window;
        // Slots are drawn in twips, 15 to a pixel of a 96-dpi screen at the default font.
        QCOMPARE(QPoint(w.GetObjX(slot), w.GetObjY(slot)), pixels * 15);

        // Slot s holds the s-th setting of a group; a label takes the slot, its input 18 px below.
        SettingList settings = Checkboxes(20, QStringLiteral("G"));
        settings[slot - 1] = Named(SeemFixtures::Int8(0), QStringLiteral("n"), QStringLiteral("G"));
        Build(w, settings);
        QCOMPARE(w.lbUI.at(1)->pos(), pixels);
        QCOMPARE(w.txUI.at(1)->pos(), pixels + QPoint(0, 18));
        QCOMPARE(w.CheckCount, 19);
    }

    void fullGroupContinuesOnSiblingPages()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        Build(w, Checkboxes(45, QStringLiteral("Phone\\Main")));
        QTreeWidgetItem *phone = w.NodeByKey(QStringLiteral("Phone"));
        QVERIFY(phone);
        QCOMPARE(ChildTexts(phone), QStringList({"Main", "Main (2)", "Main (2) (2)"}));
        QCOMPARE(w.FrameCount, 3);
        QCOMPARE(w.PageKeys.at(19), QStringLiteral("Phone\\Main"));
        QCOMPARE(w.PageKeys.at(20), QStringLiteral("Phone\\Main (2)"));
        QCOMPARE(w.PageKeys.at(44), QStringLiteral("Phone\\Main (2) (2)"));
        const int perPage[] = {20, 20, 5};
        for (int p = 1; p <= 3; ++p) {
            QCOMPARE(w.replicator.at(p)->findChildren<QCheckBox *>().size(), perPage[p - 1]);
            QCOMPARE(w.replicator.at(p)->property("NextSlot").toInt(), perPage[p - 1] + 1);
        }
        QCOMPARE(w.replicator.at(2)->title(), QStringLiteral("Main (2)"));
        // The 21st setting starts the sibling page at slot 1.
        QCOMPARE(w.chUI.at(21)->parentWidget(), w.replicator.at(2));
        QCOMPARE(w.chUI.at(21)->pos(), QPoint(TwipsToPixelsX(w.GetObjX(1)), TwipsToPixelsY(w.GetObjY(1))));
    }

    void groupPathsAreNormalised_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << ""
                               << "Unknown";
        QTest::newRow("blank") << "   "
                               << "Unknown";
        QTest::newRow("blanks around elements") << "Net \\ GPRS"
                                                << "Net\\GPRS";
        QTest::newRow("blanks outside") << "  Net\\GPRS  "
                                        << "Net\\GPRS";
        QTest::newRow("empty element stays") << "Net\\\\GPRS"
                                             << "Net\\\\GPRS";
        QTest::newRow("tab is no blank") << "Net\t\\GPRS"
                                         << "Net\t\\GPRS";
        QTest::newRow("no-break space is no blank") << QString("\u00A0Net \\GPRS") << QString("\u00A0Net\\GPRS");
    }
    void groupPathsAreNormalised()
    {
        QFETCH(QString, group);
        QFETCH(QString, stored);
        MainFixture f;
        bvlMain &w = *f.window;
        Build(w, {Named(Checkbox(0, 1, 1, 0), QStringLiteral("x"), group)});
        QCOMPARE(w.PageKeys.at(0), stored);
        QTreeWidgetItem *node = w.NodeByKey(stored);
        QVERIFY(node);
        QCOMPARE(node->text(0), stored.split('\\').last());
        QCOMPARE(node->data(0, bvlMain::NodePageRole).toString(), QStringLiteral("1"));
    }

    void nestedGroupsShareNodes()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        Build(w, Checkboxes(1, QStringLiteral("Net\\GPRS")) + Checkboxes(1, QStringLiteral("Net \\ WAP"))
                     + Checkboxes(1, QStringLiteral("Net\\GPRS")));
        QCOMPARE(w.tvUI->topLevelItemCount(), 1);
        QTreeWidgetItem *net = w.NodeByKey(QStringLiteral("Net"));
        QCOMPARE(ChildTexts(net), QStringList({"GPRS", "WAP"}));
        QCOMPARE(w.FrameCount, 2);
        QVERIFY(net->data(0, bvlMain::NodePageRole).toString().isEmpty());

        // Only the clicked node's page shows; a node without a page hides it.
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Net\\GPRS")));
        QCOMPARE(w.CurrentGroup, 1);
        QVERIFY(w.replicator.at(1)->isVisibleTo(&w));
        QCOMPARE(w.replicator.at(1)->findChildren<QCheckBox *>().size(), 2);
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Net\\WAP")));
        QCOMPARE(w.CurrentGroup, 2);
        QVERIFY(!w.replicator.at(1)->isVisibleTo(&w));
        w.tvUI_NodeClick(net);
        QCOMPARE(w.CurrentGroup, -1);
        QVERIFY(!w.replicator.at(2)->isVisibleTo(&w));
    }

    void deepPathIsBuiltOnceAndShared()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        QStringList levels;
        for (int i = 1; i <= 60; ++i)
            levels << QStringLiteral("L%1").arg(i);
        const QString deep = levels.join('\\'), half = levels.mid(0, 30).join('\\');
        Build(w, Checkboxes(2, deep) + Checkboxes(1, half));
        const QTreeWidgetItem *node = w.tvUI->topLevelItem(0);
        for (int depth = 1; depth < 60; ++depth, node = node->child(0))
            QVERIFY(node->text(0) == levels.at(depth - 1) && node->childCount() == 1);
        QCOMPARE(w.tvUI->topLevelItemCount(), 1);
        QCOMPARE(node, w.NodeByKey(deep));
        QCOMPARE(node->data(0, bvlMain::NodeKeyRole).toString(), deep);
        QCOMPARE(w.replicator.at(1)->findChildren<QCheckBox *>().size(), 2);
        QCOMPARE(w.NodeByKey(half)->data(0, bvlMain::NodePageRole).toString(), QStringLiteral("2"));
        QVERIFY(w.NodeByKey(levels.mid(0, 10).join('\\')) && !w.NodeByKey(levels.mid(1).join('\\')));
    }

    // A file may name a continuation page itself: it shares that page with the group's overflow.
    void namedContinuationSharesTheSiblingPage()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        Build(w, Checkboxes(21, "Main") + Checkboxes(1, "Main (2)") + Checkboxes(19, "Main"));
        QCOMPARE(w.replicator.at(2)->findChildren<QCheckBox *>().size(), 20);
        QCOMPARE(w.PageKeys.at(21), QStringLiteral("Main (2)"));
        QCOMPARE(w.PageKeys.at(40), QStringLiteral("Main (2) (2)"));
        QCOMPARE(w.FrameCount, 3);
    }

    void controlsOfEachKind()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingList settings = SampleSettings();
        SettingStruct unknown = settings.at(1);
        unknown.Type = 7;
        settings << unknown << Named(SeemFixtures::AnsiString(0, 32), "a", "S")
                 << Named(SeemFixtures::UnicodeString(0, 32), "u", "S")
                 << Named(SeemFixtures::AnsiString(0, 1), "a1", "S");
        Build(w, settings);

        QCOMPARE(w.chUI.at(1)->objectName(), QStringLiteral("chUI(1)"));
        QCOMPARE(w.lbUI.at(3)->objectName(), QStringLiteral("lbUI(3)"));
        QCOMPARE(w.replicator.at(2)->objectName(), QStringLiteral("replicator(2)"));
        QCOMPARE(w.lbUI.at(1)->text(), QStringLiteral("Volume"));
        QCOMPARE(w.lbUI.at(1)->property(bvlMain::SettingIndexProperty).toInt(), 2);
        QCOMPARE(w.cbUI.at(1)->property(bvlMain::SettingIndexProperty).toInt(), 2);
        QCOMPARE(w.chUI.at(2)->property(bvlMain::SettingIndexProperty).toInt(), 6);
        QCOMPARE(w.Settings.at(5).UIIndex, 2);
        QVERIFY(w.lbUI.at(1)->property("Tag").isNull());   // not localised

        // Lists carry their values as item data and show no selection; unknown types get a list.
        for (QComboBox *list : {f.list(2), w.cbUI.at(2)}) {
            QCOMPARE(list->count(), 3);
            QCOMPARE(list->itemText(1), QStringLiteral("Mid"));
            QCOMPARE(list->itemData(2).toInt(), 32);
            QCOMPARE(list->currentIndex(), -1);
        }
        QCOMPARE(f.text(3)->maxLength(), QLineEdit().maxLength());   // Int8: no limit
        QCOMPARE(f.text(8)->maxLength(), 31);
        QCOMPARE(f.text(9)->maxLength(), 15);
        QCOMPARE(f.text(10)->maxLength(), 0);
    }

    void unloadRemovesEverythingButTemplates()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        Build(w, SampleSettings());
        w.tvUI_NodeClick(w.NodeByKey(QStringLiteral("Sound")));
        w.UnloadAllControls();
        QCOMPARE(w.tvUI->topLevelItemCount(), 0);
        QVERIFY(!w.NodeByKey(QStringLiteral("Sound")));
        QCOMPARE(w.CurrentGroup, -1);
        QCOMPARE(w.FrameCount + w.LabelCount + w.ComboCount + w.TextCount + w.CheckCount, 0);
        QCOMPARE(w.replicator.size() + w.lbUI.size() + w.chUI.size() + w.cbUI.size() + w.txUI.size(), 5);
        QCOMPARE(w.findChildren<QGroupBox *>(QRegularExpression("^replicator")).size(), 1);
        QVERIFY(!w.replicator.at(0)->isVisibleTo(&w));
        // Counting starts again from 1.
        Build(w, Checkboxes(1, QStringLiteral("A")));
        QCOMPARE(w.chUI.at(1)->objectName(), QStringLiteral("chUI(1)"));
    }
};

QTEST_MAIN(TestMainView)
#include "tst_mainview.moc"
