// The main window's Language menu changes the language all or nothing and never ends the
// program; every shipped language gives each menu level keys of its own.
#include "support/LangTestFiles.h"
#include "support/MainFixtures.h"
#include "support/Mnemonics.h"
#include "ui/language/bvlLanguage.h"

#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace MainFixtures;

namespace {
// The language dialog the Language menu shows, once it is on screen.
bvlLanguage *OpenLanguageDialog()
{
    return qobject_cast<bvlLanguage *>(QApplication::activeModalWidget());
}

// Picks the entry named languageName in the open language dialog and presses OK, then
// closes the dialog if it is still open.
void ChooseInDialog(const QString &languageName, QString *shownEntries = nullptr)
{
    bvlLanguage *dialog = OpenLanguageDialog();
    if (!dialog) {
        QTimer::singleShot(20, [=] { ChooseInDialog(languageName, shownEntries); });
        return;
    }
    const QList<QListWidgetItem *> found = dialog->lsLanguages->findItems(languageName, Qt::MatchExactly);
    if (shownEntries)
        *shownEntries = QString::number(dialog->lsLanguages->count());
    if (!found.isEmpty())
        dialog->lsLanguages->setCurrentItem(found.first());
    dialog->cmOK->click();
    if (dialog->isVisible())
        dialog->reject();
}
}   // namespace

class TestLanguageMenu : public QObject
{
    Q_OBJECT
private slots:
    void aFileThatFailsLeavesTheLanguageAndThePreference()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        const QString english = f.platform.preferences.value(QStringLiteral("Lang/Language"));
        const QString broken = WriteLangFile(f.folder.dir.path(), QStringLiteral("broken.sel"),
                                             LangFileBytes("Broken", "bvlMain.mnuFile=&Datei\r\nk=1\r\nK=2\r\n"));
        w.show();
        QTimer::singleShot(0, [] { ChooseInDialog(QStringLiteral("Broken")); });
        w.mnuLanguage_Click();

        // One message, naming the file and its fault; no missing-string boxes after it.
        QCOMPARE(f.platform.messages(),
                 QStringList(
                     "Error in language file!\n"
                     + f.T("bvlLanguage.sLoadFailed_M").arg(broken, f.T("bvlLanguage.sRepeatedKey_V").arg("4", "K"))));
        QCOMPARE(f.platform.calls.first().icon, MsgIcon::Critical);
        QCOMPARE(w.mnuFile->title(), QStringLiteral("&File"));
        QCOMPARE(f.T("bvlMain.sShortHelp_V").left(4), QStringLiteral("Open"));
        QCOMPARE(f.platform.preferences.value(QStringLiteral("Lang/Language")), english);

        // A good file after the broken one is taken, and remembered.
        const QString deutsch = f.folder.copyLanguage(QStringLiteral("deutsch.sel"));
        QTimer::singleShot(0, [] { ChooseInDialog(QStringLiteral("Deutsch")); });
        w.mnuLanguage_Click();
        QCOMPARE(w.mnuFile->title(), QStringLiteral("&Datei"));
        QCOMPARE(f.platform.preferences.value(QStringLiteral("Lang/Language")), QStringLiteral("deutsch.sel"));
        QCOMPARE(f.platform.messages().size(), 1);
    }

    void noLanguageFileLeftKeepsTheWindowAndItsEdits()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.check(1)->click();
        QVERIFY(QFile::remove(f.platform.preferences.value(QStringLiteral("Lang/Language"))));
        w.show();
        w.mnuLanguage_Click();
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlLanguage.sNoLanguageFile_M")));
        QVERIFY(!f.platform.exited);
        QVERIFY(w.isVisible());
        QVERIFY(!w.IsSaved());
        QCOMPARE(w.mnuFile->title(), QStringLiteral("&File"));
    }

    // Alt and a letter opens one thing: no two items of the menu bar, or of one menu,
    // share their underlined letter in any shipped language.
    void everyMenuLevelHasItsOwnKeysInEveryLanguage()
    {
        const QStringList languages = QDir(QStringLiteral(BVL_DATA_DIR)).entryList({QStringLiteral("*.sel")});
        QVERIFY(languages.size() >= 8);
        QStringList clashes;
        for (const QString &language : languages) {
            MainFixture f;
            bvlMain &w = *f.window;
            f.platform.preferences.insert(QStringLiteral("Lang/Language"), f.folder.copyLanguage(language));
            QVERIFY(w.Form_Load());
            f.open(f.seemPath);   // every command enabled and shown
            clashes << SharedMnemonics(language + QStringLiteral(" menu bar"), w.menuBar()->actions());
            for (const QMenu *menu : w.findChildren<QMenu *>())
                clashes << SharedMnemonics(language + QLatin1Char(' ') + menu->objectName(), menu->actions());
            QVERIFY(f.platform.messages().isEmpty());
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestLanguageMenu)
#include "tst_languagemenu.moc"
