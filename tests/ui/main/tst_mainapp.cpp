// The main window as an application: start-up, language, preferences, closing, and the
// user's work on the settings (unsaved state, descriptions, the restore popup).
#include "lang/BuiltinTexts.h"
#include "support/MainFixtures.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;
using Kind = ScriptedPlatform::Kind;

namespace {
using Unstarted = UnstartedWindow;

QList<QObject *> TaggedControls(QWidget *window)
{
    QList<QObject *> tagged;
    for (QObject *o : window->findChildren<QObject *>())
        if (o->property("Tag").toString() == "LANGCP")
            tagged << o;
    return tagged;
}

void RightClick(QWidget *widget)
{
    QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
}
}   // namespace

class TestMainApp : public QObject
{
    Q_OBJECT
private slots:
    void startUpFindsALanguage_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("choose");   // language picked in the dialog; empty: no dialog
        QTest::addColumn<QString>("loaded");
        QTest::newRow("one file") << QStringList{"english.sel"} << ""
                                  << ""
                                  << "english.sel";
        QTest::newRow("broken next to good") << QStringList{"broken.sel", "english.sel"} << ""
                                             << ""
                                             << "english.sel";
        QTest::newRow("stored file deleted") << QStringList{"english.sel"} << "gone.sel"
                                             << ""
                                             << "english.sel";
        QTest::newRow("stored file loads") << QStringList{"english.sel", "italiano.sel"} << "italiano.sel"
                                           << ""
                                           << "italiano.sel";
        QTest::newRow("two files") << QStringList{"english.sel", "italiano.sel"} << ""
                                   << "Italiano"
                                   << "italiano.sel";
    }
    void startUpFindsALanguage()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QString, choose);
        QFETCH(QString, loaded);
        Unstarted s;
        for (const QString &name : files)
            name == "broken.sel" ? s.folder.writeBytes(name, "no name here\r\n") : s.folder.copyLanguage(name);
        if (!stored.isEmpty())
            s.platform.preferences.insert("Lang/Language", s.folder.file(stored));

        UnexpectedModalGuard guard;
        if (!choose.isEmpty())
            ChooseLanguageOnNextModal(choose);
        QVERIFY(s.window.Form_Load());
        QCOMPARE(guard.opened, false);
        // A language chosen is stored by its name; an earlier version's path is read by its name.
        QCOMPARE(QFileInfo(s.platform.preferences.value("Lang/Language")).fileName(), loaded);
        const QStringList expectedMessages =
            stored == "gone.sel" ? QStringList("Language file \"" + s.folder.file(stored) + "\" not found!")
                                 : QStringList();
        QCOMPARE(s.platform.messages(), expectedMessages);

        QString openCaption, shortHelp;
        LangTable expected(s.platform);
        QVERIFY(expected.LoadLanguageFile(s.folder.file(loaded)));
        QVERIFY(expected.Lookup("bvlMain.mnfOpenSEEM", openCaption)
                && expected.Lookup("bvlMain.sShortHelp_V", shortHelp));
        QCOMPARE(s.window.mnfOpenSEEM->text(), openCaption);
        QCOMPARE(s.window.txDescription->toPlainText(), shortHelp);
        QCOMPARE(s.window.ShortHelpText, shortHelp);
    }

    // A package installed and removed again, or a second installation: the preference
    // names the file, found in the program folder the program has now.
    void languagePreferenceFollowsTheProgramFolder()
    {
        QString firstFolder;
        QMap<QString, QString> preferences;
        {
            Unstarted first;
            first.folder.copyLanguage("english.sel");
            first.folder.copyLanguage("italiano.sel");
            ChooseLanguageOnNextModal("Italiano");
            QVERIFY(first.window.Form_Load());
            preferences = first.platform.preferences;
            firstFolder = first.folder.dir.path();
        }
        QCOMPARE(preferences.value("Lang/Language"), QStringLiteral("italiano.sel"));
        // An earlier version's preference, the full path into a folder that is gone, too.
        for (const QString &stored : {QStringLiteral("italiano.sel"), JoinPath(firstFolder, "italiano.sel")}) {
            Unstarted moved;
            moved.folder.copyLanguage("english.sel");
            moved.folder.copyLanguage("italiano.sel");
            moved.platform.preferences = preferences;
            moved.platform.preferences.insert("Lang/Language", stored);
            UnexpectedModalGuard guard;
            QVERIFY(moved.window.Form_Load());
            QVERIFY(!guard.opened);
            QCOMPARE(moved.platform.messages(), QStringList());
            LangTable italian(moved.platform);
            QVERIFY(italian.LoadLanguageFile(moved.folder.file("italiano.sel")));
            QCOMPARE(moved.window.mnfOpenSEEM->text(), italian.GetLangString("bvlMain.mnfOpenSEEM"));
        }
    }

    // The stored language fails: the dialog offers another, and Escape takes that one. With
    // no language that loads, Escape says so once and the window speaks the built-in English.
    void aLanguageThatFailsIsNotOfferedAgain()
    {
        const QByteArray repeated = "Main.LangName=English\r\nMain.Locale=en\r\nk=1\r\nK=2\r\n";
        Unstarted s;
        s.folder.writeBytes("english.sel", repeated);
        s.folder.copyLanguage("italiano.sel");
        s.platform.preferences.insert("Lang/Language", "english.sel");
        QString offered;
        OnNextModal([&offered](QDialog *dialog) {
            offered = dialog->findChild<QListWidget *>("lsLanguages")->currentItem()->text();
            dialog->reject();
        });
        QVERIFY(s.window.Form_Load());
        QCOMPARE(offered, QStringLiteral("Italiano"));
        QCOMPARE(s.platform.messages(), QStringList("Language file \"english.sel\" not found!"));
        QCOMPARE(s.platform.preferences.value("Lang/Language"), QStringLiteral("italiano.sel"));

        Unstarted none;
        none.folder.writeBytes("english.sel", repeated);
        none.folder.writeBytes("deutsch.sel", "Main.LangName=Deutsch\r\nk=1\r\nK=2\r\n");
        OnNextModal([](QDialog *dialog) { dialog->reject(); });
        QVERIFY(none.window.Form_Load());
        QCOMPARE(none.platform.messages().size(), 1);
        QVERIFY2(none.platform.messages().first().endsWith("\nThe program goes on in English."),
                 qPrintable(none.platform.messages().first()));
        QString english;
        QVERIFY(BuiltinTexts::English("bvlMain.mnfOpenSEEM", english));
        QCOMPARE(none.window.mnfOpenSEEM->text(), english);
        QVERIFY(!none.platform.preferences.contains("Lang/Language"));
    }

    void startUpWithoutLanguageEnds()
    {
        Unstarted s;
        QVERIFY(!s.window.Form_Load());
        QCOMPARE(s.platform.messages(), QStringList("No language file found!\nExiting application..."));
        QVERIFY(s.platform.exited);
    }

    void initialState()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit"));
        QCOMPARE(w.centralWidget()->size(), QSize(897, 601));
        QVERIFY(w.IsSaved());
        QCOMPARE(w.CurrentGroup, -1);
        QVERIFY(!w.tvUI->isVisibleTo(&w) && !w.frDescription->isVisibleTo(&w));
        QVERIFY(w.tvUI->isHeaderHidden());
        QCOMPARE(w.lbFileDesc->text(), QString());
        QCOMPARE(w.mnuFile->title(), QStringLiteral("&File"));
        for (QAction *usable : {w.mnfOpenSEEM, w.mnfAutoSettingSelection, w.mnfQuit})
            QVERIFY(usable->isEnabled());
        for (QAction *unusable : {w.mnfChangeSettingFile, w.mnfSaveSEEM, w.mnfRestore})
            QVERIFY(!unusable->isEnabled());
        QCOMPARE(w.mnfOpenSEEM->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(w.mnfChangeSettingFile->shortcut(), QKeySequence("Ctrl+H"));
        QCOMPARE(w.mnfSaveSEEM->shortcut(), QKeySequence("Ctrl+S"));
        // The Changes menu is the only addition, between File and Setting editor.
        QCOMPARE(w.menuBar()->actions(), QList<QAction *>({w.mnuFile->menuAction(), w.mnuChanges->menuAction(),
                                                           w.mnuSetting, w.mnuLanguage, w.mnuInfo}));
        QCOMPARE(w.mnuOrig->actions(), QList<QAction *>({w.mnfRestoreItem}));
        QCOMPARE(w.mnuInfo->text(), QStringLiteral("&Info"));
    }

    void automaticChoicePreference_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("other text counts as on") << "yes" << true;
    }
    void automaticChoicePreference()
    {
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        Unstarted s;
        s.folder.copyLanguage("english.sel");
        if (!stored.isNull())
            s.platform.preferences.insert("UI/AutoSettingSelection", stored);
        QVERIFY(s.window.Form_Load());
        QCOMPARE(s.window.mnfAutoSettingSelection->isChecked(), checked);
        s.window.mnfAutoSettingSelection->trigger();
        QCOMPARE(s.platform.preferences.value("UI/AutoSettingSelection"), checked ? "False" : "True");
        s.window.mnfAutoSettingSelection->trigger();
        QCOMPARE(s.platform.preferences.value("UI/AutoSettingSelection"), checked ? "True" : "False");
    }

    void closing_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("saveConfirmed");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("byteOnDisk");
        QTest::newRow("no edits") << false << MsgResult::Ok << false << true << 200;
        QTest::newRow("cancel") << true << MsgResult::Cancel << false << false << 200;
        QTest::newRow("no") << true << MsgResult::No << false << true << 200;
        QTest::newRow("yes, saved") << true << MsgResult::Yes << true << true << 9;
        QTest::newRow("yes, save cancelled") << true << MsgResult::Yes << false << false << 200;
    }
    void closing()
    {
        QFETCH(bool, edited);
        QFETCH(MsgResult, answer);
        QFETCH(bool, saveConfirmed);
        QFETCH(bool, closes);
        QFETCH(int, byteOnDisk);
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        f.open(f.seemPath);
        if (edited) {
            f.text(3)->setText("9");
            f.platform.answerMessage(answer);
        }
        if (answer == MsgResult::Yes)
            saveConfirmed ? f.platform.answerFile(f.seemPath) : f.platform.cancelFile();
        f.platform.clearCalls();
        w.mnfQuit_Click();
        QVERIFY(f.platform.allAnswersUsed());
        QCOMPARE(f.platform.messages().size(), edited ? 1 : 0);
        if (edited)
            QCOMPARE(f.platform.calls.first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(w.Document->file().isOpen(), !closes);
        QCOMPARE(quint8(f.folder.bytes("0032_0001.seem").at(1)), quint8(byteOnDisk));
        if (closes)
            return;
        // The window goes on with its edits, and a later save still works.
        QCOMPARE(f.text(3)->text(), QStringLiteral("9"));
        QVERIFY(!w.IsSaved());
        f.platform.answerFile(f.seemPath);
        QVERIFY(w.mnfSaveSEEM_Click());
        QCOMPARE(f.folder.bytes("0032_0001.seem").at(1), char(9));
    }

    void editsMarkTheDocumentUnsaved()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        QVERIFY(!w.IsSaved());
        // Back to the file's value: nothing to save.
        f.check(1)->setChecked(true);
        QVERIFY(w.IsSaved());
        f.check(1)->setChecked(false);
        w.RestoreAll();
        QVERIFY(w.IsSaved());
        f.text(4)->setText("new");
        QVERIFY(!w.IsSaved());
        w.mnfRestore_Click();
        f.list(2)->setCurrentIndex(0);
        QVERIFY(!w.IsSaved());
    }

    void descriptionFollowsPointerAndFocus()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.open(f.seemPath);
        QCOMPARE(w.txDescription->toPlainText(), QStringLiteral("Beeps on keys"));   // the first page's first
        // A new list selection shows its description at once.
        f.list(2)->setCurrentIndex(2);
        QCOMPARE(w.txDescription->toPlainText(), QStringLiteral("How loud"));
        w.tvUI->setCurrentItem(w.NodeByKey("Display"));
        QTest::mouseMove(w.lbUI.at(2));   // the label of Timeout
        QCOMPARE(w.txDescription->toPlainText(), QStringLiteral("Seconds"));
        QTest::mouseMove(w.txDescription->viewport());
        QCOMPARE(w.txDescription->toPlainText(), w.ShortHelpText);
        f.text(3)->setFocus();
        QCOMPARE(w.txDescription->toPlainText(), QStringLiteral("Seconds"));
        // A restore fills the lists without describing them.
        f.list(2)->setCurrentIndex(0);
        w.txDescription->setPlainText(w.ShortHelpText);
        w.mnfRestore_Click();
        QCOMPARE(w.txDescription->toPlainText(), w.ShortHelpText);
    }

    void popupRestoresOneSettingOrTheSelectedGroup()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        f.list(2)->setCurrentIndex(0);
        f.check(6)->setChecked(false);
        f.text(5)->setText("xyz");
        const auto chooseRestore = [&] {
            w.mnfRestoreItem->trigger();
            w.mnuOrig->hide();
        };

        // A right click on a list's label restores that list only.
        w.tvUI->setCurrentItem(w.NodeByKey("Sound"));
        RightClick(w.lbUI.at(1));
        QCOMPARE(w.PopupTarget, 2);
        QVERIFY(w.mnuOrig->isVisible());
        chooseRestore();
        QCOMPARE(f.list(2)->currentIndex(), 1);
        QVERIFY(!f.check(1)->isChecked());
        QVERIFY(!w.IsSaved());

        // A right click on a check box restores it.
        RightClick(f.check(1));
        QCOMPARE(w.PopupTarget, 1);
        chooseRestore();
        QVERIFY(f.check(1)->isChecked());

        // A right click on the tree keeps the selected node (Net) and restores its own page,
        // not its child Net\GPRS.
        QTreeWidgetItem *net = w.NodeByKey("Net");
        w.tvUI->setCurrentItem(net);
        const QRect other = w.tvUI->visualItemRect(w.NodeByKey("Sound"));
        QTest::mousePress(w.tvUI->viewport(), Qt::RightButton, Qt::NoModifier, other.center());
        QCOMPARE(w.PopupTarget, -1);
        QCOMPARE(w.tvUI->currentItem(), net);
        chooseRestore();
        QVERIFY(f.check(6)->isChecked());
        QCOMPARE(f.text(5)->text(), QStringLiteral("xyz"));
    }

    void languageSwitchRecaptionsEveryTaggedControl()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        const QString italian = f.folder.copyLanguage("italiano.sel");
        ChooseLanguageOnNextModal("Italiano");
        w.mnuLanguage_Click();
        QCOMPARE(f.platform.preferences.value("Lang/Language"), QStringLiteral("italiano.sel"));
        LangTable table(f.platform);
        QVERIFY(table.LoadLanguageFile(italian));
        const QList<QObject *> tagged = TaggedControls(&w);
        // and the Changes menu with its eight items, Export values, Apply values, Setting
        // files, the Language menu's eight, Setting file errors, Open recent and its Clear list
        QCOMPARE(tagged.size(), 11 + 9 + 3 + 8 + 1 + 2);
        for (QObject *control : tagged) {
            QString caption;
            QVERIFY(table.Lookup("bvlMain." + control->objectName(), caption));
            const QString shown = qobject_cast<QAction *>(control) ? static_cast<QAction *>(control)->text()
                                  : qobject_cast<QMenu *>(control) ? static_cast<QMenu *>(control)->title()
                                                                   : static_cast<QGroupBox *>(control)->title();
            QCOMPARE(shown, caption);
        }
        QCOMPARE(w.frDescription->title(), QStringLiteral("Descrizione"));
    }

    void everyTaggedControlHasItsKeyInTheShippedLanguages()
    {
        MainFixture f;
        QDirIterator files(BVL_DATA_DIR, {"*.sel"}, QDir::Files);
        int count = 0;
        while (files.hasNext()) {
            const QString path = files.next();
            LangTable table(f.platform);
            QVERIFY2(table.LoadLanguageFile(path), qPrintable(path));
            for (QObject *control : TaggedControls(f.window.get())) {
                QString value;
                QVERIFY2(table.Lookup("bvlMain." + control->objectName(), value),
                         qPrintable(path + ": " + control->objectName()));
            }
            ++count;
        }
        QVERIFY(count >= 2);
    }

    void otherWindowsOpenModallyOverTheMainWindow()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        for (const QString name : {"bvlEditSetting", "bvlAbout"}) {
            QString opened;
            OnNextModal([&](QDialog *dialog) {
                opened = dialog->objectName();
                QCOMPARE(dialog->parentWidget(), &w);
                dialog->reject();
            });
            name == "bvlAbout" ? w.mnuInfo_Click() : w.mnuSetting_Click();
            QCOMPARE(opened, name);
        }
    }

    // The setting dialog shows its group hint in the main window's status line; once the
    // editor has closed, the line names the open document's setting file again, also
    // when a save's report was on it as the editor opened.
    void settingEditorGivesTheStatusLineBack()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        const QString status = w.lbFileDesc->text();
        f.check(1)->click();
        QVERIFY(f.save());
        QString shownDuringDialog;
        OnNextModal([&](QDialog *editor) {
            OnNextModal([&](QDialog *dialog) {
                static_cast<bvlEditSettingDo *>(dialog)->txSettingGroup_MouseMove();
                shownDuringDialog = w.lbFileDesc->text();
                dialog->reject();
            });
            static_cast<bvlEditSetting *>(editor)->cmAdd_Click();
            editor->reject();
        });
        w.OpenInSettingEditor(f.secPath);   // as the Setting files window does
        QVERIFY(!w.tmSavedStatus->isActive());
        QCOMPARE(shownDuringDialog, f.T("bvlEditSetting.ttGroup"));
        QCOMPARE(w.lbFileDesc->text(), status);
        QCOMPARE(ShownToolTip(w.lbFileDesc), status);   // the whole line, however long its path
    }
};

QTEST_MAIN(TestMainApp)
#include "tst_mainapp.moc"
