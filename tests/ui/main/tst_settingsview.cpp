// The settings view on its own, without a window or a document: pages built on demand, and
// what its controls show.
#include "support/MainFixtures.h"
#include "ui/main/SettingsView.h"

#include <QGroupBox>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

class TestSettingsView : public QObject
{
    Q_OBJECT
private slots:
    void buildsOnlyThePageAskedForAndShowsStates()
    {
        QWidget client;
        SettingsView view;
        view.BuildTemplates(&client);
        QStringList made;
        QVector<int> built;
        connect(&view, &SettingsView::controlMade, this, [&](QWidget *c) { made << c->objectName(); });
        connect(&view, &SettingsView::controlBuilt, this, [&](int index) { built << index; });
        view.Settings = SampleSettings();
        for (int i = 1; i <= view.Settings.size(); ++i) {
            view.AddSettingGroup(view.Settings[i - 1], i);
            view.AddSettingControl(view.Settings[i - 1], i);
        }
        QCOMPARE(view.FrameCount, 4);
        QVERIFY(made.isEmpty());

        // Owner (a text, setting 5) is on the third page: only that one is made, with the
        // numbers a view built at once in setting order gives.
        QWidget *owner = view.ControlOf(5);
        QVERIFY(owner && !view.IsPageBuilt(1) && view.IsPageBuilt(3));
        QCOMPARE(made, QStringList({"lbUI(4)", "txUI(3)"}));
        QCOMPARE(built, QVector<int>({5}));
        QCOMPARE(view.BuiltLabelOf(5)->text(), QStringLiteral("Owner"));
        view.Show(5, ControlState::Text(QStringLiteral("Zoe")));
        QCOMPARE(static_cast<QLineEdit *>(owner)->displayText(), QStringLiteral("Zoe"));

        // A list shows its entry's words; the node's page is what is shown.
        view.ShowPageOf(view.NodeByKey(QStringLiteral("Sound")));
        QCOMPARE(view.CurrentGroup, 1);
        QVERIFY(view.replicator.at(1)->isVisibleTo(&client) && !view.replicator.at(3)->isVisibleTo(&client));
        view.Show(2, ControlState::ListPosition(2));
        QCOMPARE(view.cbUI.at(1)->currentText(), QStringLiteral("High"));
        QCOMPARE(view.StateShown(2), ControlState::ListPosition(2));
        QCOMPARE(view.PageSettings(1), QVector<int>({1, 2}));

        view.Unload();
        QCOMPARE(view.tvUI->topLevelItemCount(), 0);
        QCOMPARE(view.replicator.size(), 1);
        QVERIFY(!view.ControlOf(5));
    }
};

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
