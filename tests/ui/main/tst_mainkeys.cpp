// Keys and pop-ups go where the user is: the menu bar takes every key while it is open,
// a text box offers Restore original, and boxes tell what they could not show or keep.
#include "support/MainFixtures.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace MainFixtures;

namespace {
void ShowActive(QWidget &w)
{
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
}

QMenu *ActiveMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// A key to whatever has it: the open menu, else the focused control.
void Press(Qt::Key key)
{
    QWidget *to = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    QVERIFY(to);
    QTest::keyClick(to, key);
}

// The items shown (their menus' too) without an access key, or with one an item before
// them in the menu has.
QStringList KeyFaults(const QList<QAction *> &items, const QString &where)
{
    QStringList faults;
    QList<QKeySequence> taken;
    for (QAction *item : items) {
        if (item->isSeparator() || !item->isVisible())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(item->text());
        if (key.isEmpty() || taken.contains(key))
            faults << where + ": " + item->text();
        taken << key;
        if (QMenu *menu = item->menu()) {
            emit menu->aboutToShow();   // a command menu's item takes its caption then
            faults << KeyFaults(menu->actions(), where + " > " + item->text());
        }
    }
    return faults;
}
}   // namespace

class TestMainKeys : public QObject
{
    Q_OBJECT
private slots:
    // The report: focus on a list, F10, the arrows onto Setting editor, Down: the list
    // changed. Every entry of the bar is a menu the arrows reach; no key reaches the list.
    void menuBarKeysNeverReachTheForm()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        w.ShowSetting(2);
        QComboBox *volume = f.list(2);
        QCOMPARE(QApplication::focusWidget(), volume);
        QCOMPARE(volume->currentText(), QStringLiteral("Mid"));

        QTest::keyClick(volume, Qt::Key_F10);
        QTRY_COMPARE(ActiveMenu(), w.mnuFile);
        const QList<QMenu *> across = {w.mnuChanges, w.mnuSetting->menu(), w.mnuLanguage->menu(), w.mnuInfo->menu()};
        for (QMenu *next : across) {
            Press(Qt::Key_Right);
            QTRY_COMPARE(ActiveMenu(), next);
            Press(Qt::Key_Down);
            Press(Qt::Key_Up);
            QCOMPARE(ActiveMenu(), next);
        }
        QCOMPARE(w.mnuSetting->menu()->actions(), QList<QAction *>({w.mnfSettingItem}));
        QCOMPARE(w.mnfSettingItem->text(), w.mnuSetting->text());
        QCOMPARE(w.mnuInfo->menu()->actions(), QList<QAction *>({w.mnfInfoItem}));
        QCOMPARE(w.mnfInfoItem->text(), QStringLiteral("&Info"));
        // The captions and names the bar always had.
        QCOMPARE(w.mnuSetting->objectName(), QStringLiteral("mnuSetting"));
        QCOMPARE(w.mnuSetting->text(), f.T("bvlMain.mnuSetting"));

        // One Escape closes the menus and gives the focus back to the list, unchanged.
        Press(Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTRY_COMPARE(QApplication::focusWidget(), volume);
        QVERIFY(!w.menuBar()->activeAction());
        QCOMPARE(volume->currentText(), QStringLiteral("Mid"));
        QVERIFY(w.IsSaved());
        // The keys are the list's again.
        QTest::keyClick(volume, Qt::Key_Down);
        QCOMPARE(volume->currentText(), QStringLiteral("High"));
    }

    // A right click or the menu key on a text box: Restore original first, then the box's
    // own edit actions; the restore acts on that box.
    // Started in each shipped language, every menu of the window and the restore popup
    // reach each of their items by a key of its own.
    void everyMenuItemHasItsOwnAccessKeyInEveryLanguage()
    {
        const QStringList files = QDir(BVL_DATA_DIR).entryList({"*.sel"}, QDir::Files);
        QCOMPARE(files.size(), 8);
        for (const QString &name : files) {
            UnstartedWindow s;
            s.platform.preferences.insert("Lang/Language", s.folder.copyLanguage(name));
            QVERIFY(s.window.Form_Load());
            QCOMPARE(s.window.mnfExportValues->text(), s.ctx.lang.GetLangString("bvlMain.mnfExportValues"));
            QCOMPARE(KeyFaults(s.window.menuBar()->actions(), name) + KeyFaults(s.window.mnuOrig->actions(), name),
                     QStringList());
        }
    }

    void textBoxPopupOffersRestoreOriginal()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        w.ShowSetting(4);
        QLineEdit *greeting = f.text(4);
        QTest::keyClicks(greeting, "xy");
        QCOMPARE(greeting->text(), QStringLiteral("ABCxy"));

        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), greeting->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(greeting, &click);
        QMenu *menu = ActiveMenu();
        QVERIFY(menu);
        const QList<QAction *> items = menu->actions();
        QVERIFY(items.size() > 3);
        QCOMPARE(items.at(0), w.mnfRestoreItem);
        QCOMPARE(items.at(0)->text(), f.T("bvlMain.mnfRestoreItem"));
        QVERIFY(items.at(1)->isSeparator());
        QVERIFY(items.at(2)->text().startsWith(QStringLiteral("&Undo")));
        QTest::keyClick(menu, Qt::Key_Down);   // onto the first item
        QCOMPARE(menu->activeAction(), w.mnfRestoreItem);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(greeting->text(), QStringLiteral("ABC"));
        QVERIFY(w.IsSaved());

        // From the keyboard, on the number box too.
        w.ShowSetting(3);
        QTest::keyClick(f.text(3), Qt::Key_Menu);
        QTRY_VERIFY(ActiveMenu());
        QCOMPARE(ActiveMenu()->actions().value(0), w.mnfRestoreItem);
        QCOMPARE(w.PopupTarget, 3);
        ActiveMenu()->hide();
    }

    // A text filling its field without a terminator shows whole, yet no more than the
    // field's limit can be typed; a paste cut to the field says so.
    void textBoxesKeepTheirFieldsLimit()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        QByteArray image = SampleImage();
        image.replace(2, 8, "ABCDEFGH");   // Greeting: 8 bytes, no terminator, 7 can be typed
        f.openWith(SampleSettings(), image);
        w.ShowSetting(4);
        QLineEdit *greeting = f.text(4);
        QCOMPARE(greeting->text(), QStringLiteral("ABCDEFGH"));
        QTest::keyClick(greeting, Qt::Key_End);
        QTest::keyClick(greeting, Qt::Key_Backspace);
        QTest::keyClick(greeting, Qt::Key_Backspace);
        QTest::keyClicks(greeting, "IJ");
        QCOMPARE(greeting->text(), QStringLiteral("ABCDEFI"));
        QCOMPARE(greeting->maxLength(), 7);
        QVERIFY(greeting->toolTip().isEmpty());

        QApplication::clipboard()->setText(QStringLiteral("0123456789"));
        greeting->selectAll();
        QTest::keyClick(greeting, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(greeting->text(), QStringLiteral("0123456"));
        const QString cut = f.T("bvlMain.sTextCut_V").arg(7);
        QTRY_COMPARE(ShownToolTip(greeting), cut);
        QCOMPARE(w.lbFileDesc->text(), QStringLiteral("Greeting: ") + cut);
        // The next edit ends the hint.
        QTest::keyClick(greeting, Qt::Key_Backspace);
        QVERIFY(greeting->toolTip().isEmpty());
    }

    // A list whose value names no entry: the box says which value, no entry is added, and
    // a save writes nothing for it.
    void listValueNotInTheListIsTold()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        QByteArray image = SampleImage();
        image[0] = char(0x31);   // Volume's bits 30: no entry has that value
        f.openWith(SampleSettings(), image);
        w.ShowSetting(2);
        QComboBox *volume = f.list(2);
        QCOMPARE(volume->count(), 3);
        QCOMPARE(volume->currentIndex(), -1);
        const QString told = f.T("bvlMain.sNotInList_V").arg(QStringLiteral("30"));
        QCOMPARE(told, QStringLiteral("value 30 is not in the list"));
        QCOMPARE(volume->placeholderText(), told);
        QCOMPARE(ShownToolTip(volume), told);
        // What the user sees: the placeholder is drawn, unlike a blank one.
        const QImage shown = volume->grab().toImage();
        volume->setPlaceholderText(QStringLiteral(" "));
        QVERIFY(volume->grab().toImage() != shown);
        volume->setPlaceholderText(told);

        // Choosing an entry ends the hint; undo brings it back.
        volume->setCurrentIndex(2);
        QVERIFY(volume->placeholderText().isEmpty() && volume->toolTip().isEmpty());
        w.mnfUndo_Click();
        QCOMPARE(volume->currentIndex(), -1);
        QCOMPARE(volume->placeholderText(), told);
        QVERIFY(w.IsSaved());
    }

    // A setting file with errors opens as before; the status line says so once, and the
    // File menu lists the errors, naming the settings.
    void settingFileErrorsAreToldAndListed()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QVERIFY(!w.mnfSettingFileErrors->isEnabled());
        QVERIFY(!w.lbFileDesc->text().contains(f.T("bvlMain.sSettingFileErrors_V").arg(1)));

        SettingList settings = SampleSettings();
        settings[0] = Named(SeemFixtures::Checkbox(0, 0x01, 1, 1), QStringLiteral("Beep"), QStringLiteral("Sound"));
        f.openWith(settings, SampleImage());
        QVERIFY(f.platform.messages().isEmpty());
        QVERIFY(w.lbFileDesc->text().startsWith(f.T("bvlMain.sSettingFileErrors_V").arg(1) + QLatin1Char(' ')));
        QVERIFY(w.mnfSettingFileErrors->isEnabled());
        QVERIFY(w.mnuFile->actions().contains(w.mnfSettingFileErrors));
        w.mnfSettingFileErrors->trigger();
        QCOMPARE(f.platform.messages().size(), 1);
        const QString listed = f.platform.messages().first();
        QVERIFY2(listed.startsWith(f.T("bvlMain.sSettingFileErrors_M").arg(QStringLiteral("sample.sec"))),
                 qPrintable(listed));
        QVERIFY2(listed.contains(QStringLiteral("Beep")), qPrintable(listed));
        // The check box still writes as before: ticked and saved, its bits are the file's.
        QVERIFY(f.check(1)->isChecked());
    }
};

QTEST_MAIN(TestMainKeys)
#include "tst_mainkeys.moc"
