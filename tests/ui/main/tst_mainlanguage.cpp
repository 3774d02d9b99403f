// The main window's Language menu: the code page of setting files, Qt's own texts in the
// chosen language, a language switch that redraws every text, and the first start.
#include "core/CodePage.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/language/QtTranslations.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

namespace {
const QString Cyrillic = QStringLiteral("\u042D\u043A\u0440\u0430\u043D");   // "Screen"

// The text Qt gives its standard Cancel button now.
QString CancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}
}   // namespace

class TestMainLanguage : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { CodePage::SetCurrent(CodePage::Default); }

    // A Cyrillic setting file reads as such once its code page is chosen; the choice is
    // remembered, and an unsaved document is asked about first.
    void codePageIsChosenRememberedAndReadsTheDocumentAgain()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        QCOMPARE(w.mnfCodePage.size(), 6);
        QVERIFY(w.mnfCodePage[0]->isChecked());
        {
            CodePage::Scope cyrillic(1251);
            SettingList settings = SampleSettings();
            settings[0].Group = Cyrillic;
            f.folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), settings);
        }
        f.open(f.seemPath);
        QVERIFY(!w.NodeByKey(Cyrillic));

        // Cancel keeps both the edit and the code page.
        f.check(1)->setChecked(!f.check(1)->isChecked());
        f.platform.answerMessage(MsgResult::Cancel);
        w.mnfCodePage[2]->trigger();
        QCOMPARE(CodePage::Current(), 1252);
        QVERIFY(w.mnfCodePage[0]->isChecked());
        QVERIFY(!w.IsSaved());

        f.platform.answerMessage(MsgResult::No);
        w.mnfCodePage[2]->trigger();
        QCOMPARE(CodePage::Current(), 1251);
        QVERIFY(w.mnfCodePage[2]->isChecked());
        QCOMPARE(f.platform.preferences.value("UI/CodePage"), QStringLiteral("1251"));
        QVERIFY(w.NodeByKey(Cyrillic));
        QVERIFY(w.IsSaved());
        QVERIFY(f.platform.allAnswersUsed());

        // The next start takes it from the preferences.
        CodePage::SetCurrent(CodePage::Default);
        AppContext ctx(f.platform);
        bvlMain next(ctx);
        QVERIFY(next.Form_Load());
        QCOMPARE(CodePage::Current(), 1251);
        QVERIFY(next.mnfCodePage[2]->isChecked());
        f.platform.preferences.insert("UI/CodePage", "1255");   // never written: the default
        QVERIFY(next.Form_Load());
        QCOMPARE(CodePage::Current(), 1252);
    }

    // A code page switch reads the setting file taken for another record without asking
    // again: names and values in the new code page, or, when it cannot, both in the old.
    void codePageSwitchReadsNamesAndValuesInOneCodePage()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingList settings = SampleSettings();
        {
            CodePage::Scope cyrillic(1251);
            settings[2].Group = Cyrillic;
            f.folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 2), settings);
        }
        QByteArray image = SampleImage();
        image[2] = char(0xE9);   // the greeting's first letter: \u00E9 in 1252, \u0439 in 1251
        f.folder.writeBytes(QStringLiteral("0032_0001.seem"), image);
        f.platform.answerFile(f.seemPath);
        f.platform.answerFile(f.secPath);   // no setting file is for the image's record
        f.platform.answerMessage(MsgResult::Yes);
        w.mnfOpenSEEM_Click();
        QCOMPARE(f.text(4)->text(), QStringLiteral("\u00E9BC"));

        w.mnfCodePage[2]->trigger();
        QCOMPARE(f.platform.messages().size(), 1);   // the question of the open only
        QCOMPARE(CodePage::Current(), 1251);
        QVERIFY(w.NodeByKey(Cyrillic));
        QCOMPARE(f.text(4)->text(), QStringLiteral("\u0439BC"));

        QFile::remove(f.secPath);
        w.mnfCodePage[0]->trigger();
        QCOMPARE(f.platform.messages().size(), 2);   // the file is gone
        QVERIFY(CodePage::Current() == 1251 && w.mnfCodePage[2]->isChecked() && w.NodeByKey(Cyrillic));
        QCOMPARE(f.platform.preferences.value("UI/CodePage"), QStringLiteral("1251"));
    }

    void localeLoadsQtsOwnTranslations()
    {
        const QString english = CancelText();
        MainFixture f;
        QCOMPARE(CancelText(), english);   // en: nothing to translate
        f.folder.copyLanguage("deutsch.sel");
        f.folder.writeBytes("nolocale.sel", "Main.LangName=Plain\r\n");
        ChooseLanguageOnNextModal("Deutsch");
        f.window->mnuLanguage_Click();
        QCOMPARE(CancelText(), QStringLiteral("Abbrechen"));
        // A language without Main.Locale leaves Qt as built.
        ChooseLanguageOnNextModal("Plain");
        f.window->mnuLanguage_Click();
        QCOMPARE(CancelText(), english);
        QVERIFY(!UseQtTranslations(f.ctx.lang));
    }

    // Every text the window shows follows a switch at once, also those fetched from the
    // table rather than set on a control.
    void languageSwitchRedrawsEveryText()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.check(1)->setChecked(!f.check(1)->isChecked());
        w.txDescription->setPlainText(w.ShortHelpText);   // as after pointing at the pane
        f.folder.copyLanguage("francais.sel");
        ChooseLanguageOnNextModal(QString::fromUtf8("Français"));
        w.mnuLanguage_Click();
        LangTable french(f.platform);
        QVERIFY(french.LoadLanguageFile(f.folder.file("francais.sel")));
        QCOMPARE(w.txDescription->toPlainText(), french.GetLangString("bvlMain.sShortHelp_V"));
        QVERIFY(w.lbFileDesc->text().startsWith(french.GetLangString("bvlMain.lbUsingFile_V")));
        QVERIFY(w.windowTitle().endsWith(QString::fromUtf8("(1 modifié)")));
        QCOMPARE(w.mnuCodePage->title(), french.GetLangString("bvlMain.mnuCodePage"));
        QCOMPARE(w.mnuLanguage->menu()->title(), french.GetLangString("bvlMain.mnuLanguage"));
        QCOMPARE(CancelText(), QStringLiteral("Annuler"));
    }

    // Escape at the first start takes the preselected language instead of going on with
    // no language at all.
    void escapeAtFirstStartTakesALanguage()
    {
        UnstartedWindow s;
        s.folder.copyLanguage("english.sel");
        s.folder.copyLanguage("italiano.sel");
        s.folder.copyLanguage("russkij.sel");
        QString preselected;
        OnNextModal([&](QDialog *dialog) {
            preselected = dialog->findChild<QListWidget *>("lsLanguages")->currentItem()->text();
            PressKey(dialog, Qt::Key_Escape);
        });
        QVERIFY(s.window.Form_Load());
        QVERIFY(!preselected.isEmpty());
        QVERIFY(s.platform.messages().isEmpty());
        LangTable taken(s.platform);
        QVERIFY(taken.LoadLanguageFile(s.platform.preferences.value("Lang/Language")));
        QCOMPARE(taken.GetLangString("Main.LangName"), preselected);
        QCOMPARE(s.window.mnfOpenSEEM->text(), taken.GetLangString("bvlMain.mnfOpenSEEM"));
    }
};

QTEST_MAIN(TestMainLanguage)
#include "tst_mainlanguage.moc"
