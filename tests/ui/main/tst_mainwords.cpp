// The main window in the language's own words: counts in their singular and plural forms,
// check boxes' states, the status line, offsets; and what it says while no file is open.
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/main/bvlCompare.h"
#include "ui/main/bvlReviewChanges.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

namespace {
QStringList RowTexts(const QTreeWidgetItem *row)
{
    QStringList texts;
    for (int column = 0; column < row->columnCount(); ++column)
        texts << row->text(column);
    return texts;
}

void SwitchLanguage(MainFixture &f, const QString &fileName, const QString &languageName)
{
    f.folder.copyLanguage(fileName);
    ChooseLanguageOnNextModal(languageName);
    f.window->mnuLanguage_Click();
}

// How many pixels of the widget differ from its background: text drawn, or nothing.
int InkPixels(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    const QRgb background = widget->palette().color(widget->backgroundRole()).rgb();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}
}   // namespace

class TestMainWords : public QObject
{
    Q_OBJECT
private slots:
    void countsAndWordsInPolishAndRussian()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        SwitchLanguage(f, QStringLiteral("polski.sel"), QStringLiteral("Polski"));
        QVERIFY(w.lbFileDesc->text().contains(QString::fromUtf8("Autor: Ann")));
        QVERIFY(!w.lbFileDesc->text().contains(QStringLiteral("By ")));

        f.check(1)->setChecked(false);
        QVERIFY(w.windowTitle().endsWith(QStringLiteral("(1 zmiana)")));
        f.text(3)->setText(QStringLiteral("9"));
        QVERIFY(w.windowTitle().endsWith(QStringLiteral("(2 zmiany)")));
        f.list(2)->setCurrentIndex(2);
        f.text(4)->setText(QStringLiteral("Hi"));
        f.check(6)->setChecked(false);
        QVERIFY(w.windowTitle().endsWith(QStringLiteral("(5 zmian)")));

        // Review: on and off in Polish, offsets in decimal with the hexadecimal beside.
        bvlReviewChanges review(f.ctx, *w.Document, w.Reviewing(), &w);
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(0)),
                 QStringList({"Sound", "Beep", QString::fromUtf8("włączone"), QString::fromUtf8("wyłączone"),
                              "0 (0x0) 00000001"}));
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(3)).last(), QStringLiteral("2-9 (0x2-0x9)"));
        QCOMPARE(RowTexts(review.lsChanges->topLevelItem(4)).last(), QStringLiteral("18 (0x12) 10000000"));

        // Compare: both sides in the language's words.
        bool compared = false;
        w.ShowModal = [&](QDialog &dialog) {
            auto &c = static_cast<bvlCompare &>(dialog);
            const QTreeWidgetItem *beep = c.lsDifferences->topLevelItem(0);
            QCOMPARE(beep->text(bvlCompare::ThisColumn), QString::fromUtf8("wyłączone"));
            QCOMPARE(beep->text(bvlCompare::OtherColumn), QString::fromUtf8("włączone"));
            compared = true;
        };
        f.platform.answerFile(f.folder.writeBytes(QStringLiteral("same.seem"), SampleImage()));
        w.mnfCompare_Click();
        QVERIFY(compared);

        // Five settings written: Polish's "many" form, then Russian's "one" form for one.
        QVERIFY(f.save());
        QCOMPARE(w.lbFileDesc->text(), QString::fromUtf8("Zapisano 5 ustawień w 0032_0001.seem"));
        SwitchLanguage(f, QStringLiteral("russkij.sel"), QString::fromUtf8("Русский"));
        f.check(1)->setChecked(true);
        QVERIFY(w.windowTitle().endsWith(QString::fromUtf8("(1 изменение)")));
        QVERIFY(w.lbFileDesc->text().contains(QString::fromUtf8("Автор: Ann")));
    }

    void hintWhileNoFileIsOpenAndOpenRecent()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.lbStartHint->isVisible());
        QCOMPARE(w.lbStartHint->text(),
                 QStringLiteral("No SEEM file is open. Open one with File > Open SEEM... (Ctrl+O), drop one onto this "
                                "window, or pick one of the last ones under File > Open recent."));
        QVERIFY(InkPixels(w.lbStartHint) > 0);
        QVERIFY(!w.mnuRecent->menuAction()->isEnabled());

        f.open(f.seemPath);
        QVERIFY(!w.lbStartHint->isVisible());
        QVERIFY(w.mnuRecent->menuAction()->isEnabled());
        QVERIFY(w.mnfRecent.at(0)->isVisible());
        QVERIFY(w.mnfRecent.at(0)->text().startsWith(QStringLiteral("&1 0032_0001.seem (")));
        QVERIFY(!w.mnfRecent.at(1)->isVisible());

        // The next start offers it and opens it without the open dialog.
        const QString other = f.folder.writeBytes(QStringLiteral("0032_0001 & copy.seem"), SampleImage());
        auto next = std::make_unique<bvlMain>(f.ctx);
        QVERIFY(next->Form_Load());
        QVERIFY(next->lbStartHint->isVisibleTo(next.get()));
        QVERIFY(next->mnfRecent.at(0)->isVisible());
        f.platform.clearCalls();
        next->mnfRecent_Click(0);
        QVERIFY(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).isEmpty());
        QCOMPARE(next->Document->seemPath(), f.seemPath);
        QVERIFY(!next->lbStartHint->isVisibleTo(next.get()));

        // Newest first; a file that is gone is dropped; the list is cleared on request.
        f.open(other);
        w.FillRecentMenu();
        QVERIFY(w.mnfRecent.at(0)->text().startsWith(QStringLiteral("&1 0032_0001 && copy.seem")));
        QVERIFY(w.mnfRecent.at(1)->text().startsWith(QStringLiteral("&2 0032_0001.seem")));
        QVERIFY(QFile::remove(other));
        w.FillRecentMenu();
        QVERIFY(w.mnfRecent.at(0)->text().startsWith(QStringLiteral("&1 0032_0001.seem")));
        QVERIFY(!w.mnfRecent.at(1)->isVisible());
        w.mnfClearRecent_Click();
        QVERIFY(!w.mnuRecent->menuAction()->isEnabled());

        // The hint follows the language.
        MainFixture g;
        SwitchLanguage(g, QStringLiteral("russkij.sel"), QString::fromUtf8("Русский"));
        QVERIFY(g.window->lbStartHint->text().startsWith(QString::fromUtf8("Файл SEEM не открыт.")));
        QVERIFY(g.window->lbStartHint->text().contains(QString::fromUtf8("Файл > Недавние файлы")));
    }
};

QTEST_MAIN(TestMainWords)
#include "tst_mainwords.moc"
