#include "support/LangTestFiles.h"
#include "support/ScriptedPlatform.h"
#include "ui/AppContext.h"
#include "ui/language/bvlLanguage.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString NoFileMessage = QStringLiteral("No language file found!\nExiting application...");
const QString LoadErrorMessage = QStringLiteral("Error in language file!");

// The message for path, which repeats key on line (language files of these tests hold
// no table yet, so the texts are the built-in English ones).
QString RepeatedKeyMessage(const QString &path, int line, const QString &key)
{
    return LoadErrorMessage
           + QStringLiteral("\n%1 cannot be used: line %2 repeats the key \"%3\".").arg(path).arg(line).arg(key);
}

// A program folder of its own, the scripted desktop and the program's shared state.
struct Fixture
{
    QTemporaryDir dir;
    ScriptedPlatform platform;
    AppContext ctx{platform};

    Fixture() { platform.folder = dir.path(); }

    QString add(const QString &fileName, const QByteArray &bytes) { return WriteLangFile(dir.path(), fileName, bytes); }
    // Two languages, "A" in a.sel and "B" in b.sel; the key "which" tells which one loaded.
    QStringList addTwoLanguages()
    {
        return {add("a.sel", LangFileBytes("A", "which=a\r\n")), add("b.sel", LangFileBytes("B", "which=b\r\n"))};
    }
    QString storedLanguage() const { return platform.preferences.value(QStringLiteral("Lang/Language")); }
    QString lookup(const QString &key) const
    {
        QString value;
        ctx.lang.Lookup(key, value);
        return value;
    }
};

QStringList entries(const bvlLanguage &dialog)
{
    QStringList texts;
    for (int i = 0; i < dialog.lsLanguages->count(); ++i)
        texts << dialog.lsLanguages->item(i)->text();
    return texts;
}

}   // namespace

class TestBvlLanguage : public QObject
{
    Q_OBJECT
private slots:
    void singleFileIsLoadedAtStartUpWithoutDialog()
    {
        Fixture f;
        const QString path = f.add("english.sel", LangFileBytes("English", "k=v\r\n"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(true));
        QVERIFY(f.ctx.LanguageAutoLoaded);
        QCOMPARE(f.storedLanguage(), QFileInfo(path).fileName());
        QCOMPARE(path, QDir::toNativeSeparators(f.dir.path() + "/english.sel"));
        QCOMPARE(f.lookup("k"), QStringLiteral("v"));
        QVERIFY(!dialog.isVisible());
        QVERIFY(f.platform.calls.isEmpty());
    }

    void singleFileFromMenuIsOnlyListed()
    {
        Fixture f;
        f.add("english.sel", LangFileBytes("English"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(false));
        QCOMPARE(entries(dialog), QStringList({"English"}));
        QVERIFY(!f.ctx.LanguageAutoLoaded);
        QVERIFY(!f.ctx.lang.IsLoaded());
        QVERIFY(f.platform.preferences.isEmpty());
    }

    void onlyNamedLanguageFilesAreListed()
    {
        Fixture f;
        f.add("broken.sel", "no name here\r\nk=v\r\n");
        f.add("lower.sel", "main.langname=Lower\r\n");
        f.add("notes.txt", LangFileBytes("Text"));
        QVERIFY(QDir(f.dir.path()).mkdir("folder.sel"));
        const QString good = f.add("italiano.sel", LangFileBytes("Italiano"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(true));
        QCOMPARE(entries(dialog), QStringList({"Italiano"}));
        QCOMPARE(dialog.LangFiles, QStringList({good}));
        QVERIFY(f.ctx.LanguageAutoLoaded);
        QCOMPARE(f.storedLanguage(), QFileInfo(good).fileName());
    }

    void refillingStartsOver()
    {
        Fixture f;
        f.addTwoLanguages();
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(true));
        QVERIFY(dialog.FillUp(true));
        QCOMPARE(entries(dialog), QStringList({"A", "B"}));
        QCOMPARE(dialog.LangFiles.size(), 2);
        QVERIFY(!f.ctx.LanguageAutoLoaded);   // two files: the caller shows the dialog
    }

    void sameNameTwiceListsBothAndEachLoadsItsOwnFile()
    {
        Fixture f;
        const QString first = f.add("a.sel", LangFileBytes("English", "which=a\r\n"));
        const QString second = f.add("b.sel", LangFileBytes("English", "which=b\r\n"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(true));
        QCOMPARE(entries(dialog), QStringList({"English", "English"}));

        const QStringList paths{first, second};
        const QStringList expected{"a", "b"};
        for (int row = 0; row < 2; ++row) {
            dialog.show();
            dialog.lsLanguages->setCurrentRow(row);
            dialog.cmOK->click();
            QCOMPARE(f.lookup("which"), expected.at(row));
            QCOMPARE(f.storedLanguage(), QFileInfo(paths.at(row)).fileName());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(!dialog.isVisible());
        }
        QVERIFY(f.platform.calls.isEmpty());
    }

    void noLanguageFileEndsTheProgram_data()
    {
        QTest::addColumn<bool>("withBrokenFile");
        QTest::newRow("empty folder") << false;
        QTest::newRow("only a nameless file") << true;
    }
    void noLanguageFileEndsTheProgram()
    {
        QFETCH(bool, withBrokenFile);
        Fixture f;
        if (withBrokenFile)
            f.add("broken.sel", "k=v\r\n");
        bvlLanguage dialog(f.ctx);
        QVERIFY(!dialog.FillUp(true));
        QCOMPARE(f.platform.messages(), QStringList({NoFileMessage}));
        QCOMPARE(f.platform.calls.first().icon, MsgIcon::Critical);
        QVERIFY(f.platform.exited);
        QCOMPARE(f.platform.calls.last().exitCode, 1);
        QVERIFY(f.platform.preferences.isEmpty());
    }

    void singleFileThatFailsToLoadEndsTheProgram()
    {
        Fixture f;
        const QString path = f.add("bad.sel", LangFileBytes("Bad", "k=1\r\nK=2\r\n"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(!dialog.FillUp(true));
        QCOMPARE(f.platform.messages(), QStringList({RepeatedKeyMessage(path, 3, "K") + "\nExiting application..."}));
        QVERIFY(f.platform.exited);
        QVERIFY(f.platform.preferences.isEmpty());   // the next start offers the choice again
    }

    // From the menu the window has a language and a document: nothing to offer is said,
    // and the program goes on.
    void noLanguageFileFromTheMenuKeepsTheProgram()
    {
        Fixture f;
        bvlLanguage dialog(f.ctx);
        QVERIFY(!dialog.FillUp(false));
        QCOMPARE(f.platform.messages(), QStringList(f.ctx.T("bvlLanguage.sNoLanguageFile_M")));
        QVERIFY(!f.platform.exited);
    }

    void okWithoutSelectionDoesNothing()
    {
        Fixture f;
        f.addTwoLanguages();
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(false));
        dialog.show();
        dialog.cmOK->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!f.ctx.lang.IsLoaded());
        QVERIFY(f.platform.preferences.isEmpty());
        QVERIFY(f.platform.calls.isEmpty());
    }

    void doubleClickConfirms()
    {
        Fixture f;
        const QString second = f.addTwoLanguages().at(1);
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(false));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget *list = dialog.lsLanguages;
        const QPoint itemCentre = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, itemCentre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, itemCentre);
        QCOMPARE(f.storedLanguage(), QFileInfo(second).fileName());
        QCOMPARE(f.lookup("which"), QStringLiteral("b"));
        QVERIFY(!dialog.isVisible());
    }

    void failedLoadKeepsTheDialogOpen()
    {
        Fixture f;
        const QString bad = f.add("a.sel", LangFileBytes("Broken", "k=1\r\nK=2\r\n"));
        const QString good = f.add("b.sel", LangFileBytes("Good", "k=good\r\n"));
        bvlLanguage dialog(f.ctx);
        QVERIFY(dialog.FillUp(true));

        // Driven through the modal loop, as the main window shows it; the state after the
        // failed choice is checked once the loop has ended.
        QStringList messagesAfterFailure;
        QString storedAfterFailure;
        bool openAfterFailure = false;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.lsLanguages->setCurrentRow(0);
            dialog.cmOK->click();
            messagesAfterFailure = f.platform.messages();
            storedAfterFailure = f.storedLanguage();
            openAfterFailure = dialog.isVisible();
            dialog.lsLanguages->setCurrentRow(1);
            dialog.cmOK->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(messagesAfterFailure, QStringList({RepeatedKeyMessage(bad, 3, "K")}));
        QCOMPARE(f.platform.calls.first().icon, MsgIcon::Critical);
        QCOMPARE(storedAfterFailure, QString());   // stored only once a file has loaded
        QVERIFY(openAfterFailure);
        QCOMPARE(f.storedLanguage(), QFileInfo(good).fileName());
        QCOMPARE(f.lookup("k"), QStringLiteral("good"));
    }
};

QTEST_MAIN(TestBvlLanguage)
#include "tst_bvllanguage.moc"
