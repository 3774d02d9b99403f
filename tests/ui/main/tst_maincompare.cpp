// Compare with another image: the settings whose values differ between the controls
// (edits included) and another image, taking its values, and the other file never written.
#include "support/MainFixtures.h"
#include "ui/main/bvlCompare.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {
// Opens the compare list on the other image and hands it to look.
void Compare(MainFixture &f, const QString &otherPath, const std::function<void(bvlCompare &)> &look)
{
    bool shown = false;
    f.window->ShowModal = [&](QDialog &dialog) {
        shown = true;
        look(static_cast<bvlCompare &>(dialog));
    };
    f.platform.answerFile(otherPath);
    f.window->mnfCompare_Click();
    if (!shown)
        QTest::qFail("the compare list was not shown", __FILE__, __LINE__);
}

QStringList Names(const QTreeWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        names << list->topLevelItem(row)->text(bvlCompare::NameColumn);
    return names;
}
}   // namespace

class TestMainCompare : public QObject
{
    Q_OBJECT
private slots:
    void noneOneAndSeveralDifferences()
    {
        MainFixture f;
        f.open(f.seemPath);
        const QString same = f.folder.writeBytes("same.seem", SampleImage());
        Compare(f, same, [](bvlCompare &c) {
            QCOMPARE(c.objectName(), QStringLiteral("bvlCompare"));
            QCOMPARE(c.lsDifferences->topLevelItemCount(), 0);
            QVERIFY(c.lbNoDifferences->isVisibleTo(&c));
        });
        QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).last().text, f.ctx.Title("bvlMain.mnfCompare"));

        // An unsaved edit counts as this file's value.
        f.check(1)->setChecked(false);
        Compare(f, same, [](bvlCompare &c) {
            QCOMPARE(Names(c.lsDifferences), QStringList({"Beep"}));
            const QTreeWidgetItem *row = c.lsDifferences->topLevelItem(0);
            QCOMPARE(row->text(bvlCompare::GroupColumn), QStringLiteral("Sound"));
            QCOMPARE(row->text(bvlCompare::ThisColumn), QStringLiteral("off"));
            QCOMPARE(row->text(bvlCompare::OtherColumn), QStringLiteral("on"));
            QVERIFY(c.lsDifferences->headerItem()->text(bvlCompare::OtherColumn).endsWith("(same.seem)"));
            QVERIFY(!c.lbNoDifferences->isVisibleTo(&c));
        });

        // Beep on, volume High, timeout 7, greeting "XYZ", owner "AB", roaming off.
        const QString other = f.folder.writeBytes("other.seem", QByteArray::fromHex("2107"
                                                                                    "58595A0058595A57"
                                                                                    "0041004200000000"
                                                                                    "0000"));
        Compare(f, other, [](bvlCompare &c) {
            QCOMPARE(Names(c.lsDifferences), QStringList({"Beep", "Volume", "Timeout", "Greeting", "Roaming"}));
            QCOMPARE(c.lsDifferences->topLevelItem(2)->text(bvlCompare::ThisColumn), QStringLiteral("200"));
            QCOMPARE(c.lsDifferences->topLevelItem(2)->text(bvlCompare::OtherColumn), QStringLiteral("7"));
        });
    }

    void takesSelectedValuesAsOneStepAndNeverWritesTheOther()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        const QByteArray otherBytes = QByteArray::fromHex("2107"
                                                          "58595A0058595A57"
                                                          "0041004200000000"
                                                          "0000");
        const QString other = f.folder.writeBytes("other.seem", otherBytes);
        const int steps = w.UndoStack->count();
        Compare(f, other, [](bvlCompare &c) {
            QVERIFY(!c.cmTake->isEnabled());
            c.lsDifferences->topLevelItem(0)->setSelected(true);   // Volume
            c.lsDifferences->topLevelItem(2)->setSelected(true);   // Greeting
            QVERIFY(c.cmTake->isEnabled());
            // Enter on the focused button takes, as Space and a click do.
            c.cmTake->setFocus();
            QTest::keyClick(c.cmTake, Qt::Key_Return);
            QCOMPARE(Names(c.lsDifferences), QStringList({"Timeout", "Roaming"}));
        });
        QCOMPARE(f.list(2)->currentIndex(), 2);
        QCOMPARE(f.text(4)->text(), QStringLiteral("XYZ"));
        QCOMPARE(w.UndoStack->count(), steps + 1);
        QCOMPARE(w.ChangedSettings(), QVector<int>({2, 4}));
        QVERIFY(!w.IsSaved());
        QCOMPARE(f.image(), SampleImage());   // nothing written before Save

        w.mnfUndo_Click();
        QCOMPARE(f.list(2)->currentIndex(), 1);
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
        w.mnfRedo_Click();
        QVERIFY(f.save());
        QCOMPARE(f.image().mid(0, 6), QByteArray::fromHex("21C8"
                                                          "58595A00"));
        QCOMPARE(f.folder.bytes("other.seem"), otherBytes);
    }

    void refusesAnImageTooShortForTheSettings()
    {
        MainFixture f;
        f.open(f.seemPath);
        const QString shorter = f.folder.writeBytes("short.seem", SampleImage().left(18));
        f.window->ShowModal = [](QDialog &) { QFAIL("a list was shown for a short image"); };
        f.platform.answerFile(shorter);
        f.window->mnfCompare_Click();
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sCompareTooShort_M") + " \"" + shorter + "\""));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);
        QCOMPARE(f.folder.bytes("short.seem"), SampleImage().left(18));

        // A cancelled dialog shows nothing.
        f.platform.clearCalls();
        f.platform.cancelFile();
        f.window->mnfCompare_Click();
        QVERIFY(f.platform.messages().isEmpty());
    }
};

QTEST_MAIN(TestMainCompare)
#include "tst_maincompare.moc"
