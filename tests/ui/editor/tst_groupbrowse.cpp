#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

void fill(bvlGroupBrowse &browser)
{
    Ui(browser).lsGroups->clear();
    for (const char *group : {"Sound", "Display", "Phone\\Clock"})
        Ui(browser).lsGroups->addItem(QString::fromLatin1(group));
}

QListWidgetItem *entry(bvlGroupBrowse &browser, const QString &text)
{
    return Ui(browser).lsGroups->findItems(text, Qt::MatchExactly).value(0);
}

}   // namespace

class TestGroupBrowse : public QObject
{
    Q_OBJECT
private slots:
    void loadsSortedWithTitle();
    void choice_data();
    void choice();
};

void TestGroupBrowse::loadsSortedWithTitle()
{
    EditorFixture f;
    bvlGroupBrowse browser(f.ctx);
    QCOMPARE(browser.windowTitle(), f.ctx.Title(QStringLiteral("bvlEditSettingDo.lbSettingGroup")));
    fill(browser);
    QCOMPARE(Ui(browser).lsGroups->item(0)->text(), QStringLiteral("Display"));
    QCOMPARE(Ui(browser).lsGroups->item(2)->text(), QStringLiteral("Sound"));
    QCOMPARE(browser.GetSelectedItem(), QString());
}

void TestGroupBrowse::choice_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("result");
    QTest::newRow("OK without a selection") << "ok-none"
                                            << "";
    QTest::newRow("OK with a selection") << "ok"
                                         << "Sound";
    QTest::newRow("double click") << "double-click"
                                  << "Display";
    QTest::newRow("Escape after selecting") << "escape"
                                            << "";
    QTest::newRow("close box after selecting") << "close"
                                               << "";
    QTest::newRow("Enter in the list does not choose by itself") << "enter-then-escape"
                                                                 << "";
    QTest::newRow("Enter on the focused OK") << "enter-on-ok"
                                             << "Sound";
}

void TestGroupBrowse::choice()
{
    QFETCH(QString, how);
    QFETCH(QString, result);
    EditorFixture f;
    QPointer<bvlGroupBrowse> browser = new bvlGroupBrowse(f.ctx);
    fill(*browser);
    OnNextModal([how](QDialog *dialog) {
        auto *b = static_cast<bvlGroupBrowse *>(dialog);
        if (how == QLatin1String("ok-none")) {
            Ui(*b).cmOK->click();
            return;
        }
        if (how == QLatin1String("double-click")) {
            QListWidgetItem *item = entry(*b, QStringLiteral("Display"));
            const QRect rect = Ui(*b).lsGroups->visualItemRect(item);
            QTest::mouseClick(Ui(*b).lsGroups->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(Ui(*b).lsGroups->viewport(), Qt::LeftButton, {}, rect.center());
            return;
        }
        Ui(*b).lsGroups->setCurrentItem(entry(*b, QStringLiteral("Sound")));
        if (how == QLatin1String("ok"))
            Ui(*b).cmOK->click();
        else if (how == QLatin1String("escape"))
            PressKey(Ui(*b).lsGroups, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            b->close();
        else if (how == QLatin1String("enter-on-ok"))
            PressKey(Ui(*b).cmOK, Qt::Key_Return);
        else {
            PressKey(Ui(*b).lsGroups, Qt::Key_Return);
            QVERIFY(b->isVisible());
            PressKey(Ui(*b).lsGroups, Qt::Key_Escape);
        }
    });
    browser->exec();
    QVERIFY(browser);   // hidden, not destroyed
    QVERIFY(!browser->isVisible());
    QCOMPARE(browser->GetSelectedItem(), result);
    QCOMPARE(Ui(*browser).lsGroups->count(), 3);   // the list survives for the next use
    delete browser;
}

QTEST_MAIN(TestGroupBrowse)
#include "tst_groupbrowse.moc"
