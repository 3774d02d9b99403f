// Which entry the language dialog offers: the system's language at start-up, where Enter
// and Escape both take it, and the language in use when it is opened from the menu.
#include "support/LangTestFiles.h"
#include "support/ScriptedPlatform.h"
#include "ui/AppContext.h"
#include "ui/language/bvlLanguage.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
struct Fixture
{
    QTemporaryDir dir;
    ScriptedPlatform platform;
    AppContext ctx{platform};
    bvlLanguage dialog{ctx};

    Fixture()
    {
        platform.folder = dir.path();
        WriteLangFile(dir.path(), "a.sel", LangFileBytes("English", "Main.Locale=en\r\nwhich=a\r\n"));
        WriteLangFile(dir.path(), "b.sel", LangFileBytes("Deutsch", "Main.Locale=de\r\nwhich=b\r\n"));
        WriteLangFile(dir.path(), "c.sel", LangFileBytes("Klingon", "which=c\r\n"));
    }
    QString stored() const { return QFileInfo(platform.preferences.value(QStringLiteral("Lang/Language"))).fileName(); }
    QString loaded() const
    {
        QString value;
        ctx.lang.Lookup(QStringLiteral("which"), value);
        return value;
    }
    // Runs the dialog modally and presses key in it.
    int execPressing(Qt::Key key)
    {
        QTimer::singleShot(0, &dialog, [this, key] { QTest::keyClick(dialog.lsLanguages, key); });
        return dialog.exec();
    }
};
}   // namespace

class TestLanguageChoice : public QObject
{
    Q_OBJECT
private slots:
    void startUpOffersTheSystemLanguage_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("taken");
        QTest::newRow("German system, Enter") << "de_AT" << int(Qt::Key_Return) << "b";
        QTest::newRow("German system, Escape") << "de_DE" << int(Qt::Key_Escape) << "b";
        QTest::newRow("English system, Escape") << "en_GB" << int(Qt::Key_Escape) << "a";
        QTest::newRow("no such language: the first, Escape") << "ja_JP" << int(Qt::Key_Escape) << "a";
    }
    void startUpOffersTheSystemLanguage()
    {
        QFETCH(QString, system);
        QFETCH(int, key);
        QFETCH(QString, taken);
        Fixture f;
        f.dialog.SystemLocale = QLocale(system);
        QVERIFY(f.dialog.FillUp(true));
        QCOMPARE(f.execPressing(Qt::Key(key)), int(QDialog::Accepted));
        QCOMPARE(f.stored(), taken + ".sel");
        QCOMPARE(f.loaded(), taken);
        QVERIFY(f.platform.calls.isEmpty());
    }

    void fromTheMenuTheLanguageInUseIsMarkedAndEscapeChangesNothing()
    {
        Fixture f;
        f.platform.preferences.insert(QStringLiteral("Lang/Language"), f.dir.filePath("c.sel"));
        f.dialog.SystemLocale = QLocale(QStringLiteral("de_DE"));
        QVERIFY(f.dialog.FillUp(false));
        QCOMPARE(f.dialog.lsLanguages->currentRow(), 2);
        QVERIFY(f.dialog.lsLanguages->item(2)->isSelected());
        QVERIFY(f.dialog.lsLanguages->item(2)->font().bold());
        QVERIFY(!f.dialog.lsLanguages->item(1)->font().bold());
        QCOMPARE(f.execPressing(Qt::Key_Escape), int(QDialog::Rejected));
        QVERIFY(!f.ctx.lang.IsLoaded());
        QCOMPARE(f.stored(), QStringLiteral("c.sel"));
    }

    // Escape at start-up on a file that does not load ends the dialog all the same, as
    // closing it always did, rather than trapping the user in it.
    void escapeOnABrokenFileStillCloses()
    {
        Fixture f;
        WriteLangFile(f.dir.path(), "a.sel", LangFileBytes("English", "Main.Locale=en\r\nk=1\r\nK=2\r\n"));
        f.dialog.SystemLocale = QLocale(QStringLiteral("en_US"));
        QVERIFY(f.dialog.FillUp(true));
        QCOMPARE(f.execPressing(Qt::Key_Escape), int(QDialog::Rejected));
        QCOMPARE(f.platform.messages().size(), 1);
        QVERIFY(f.platform.messages().first().startsWith("Error in language file!\n" + f.dir.filePath("a.sel")));
    }

    // Without a language file for the system's language, or with none set (LANG=C), the
    // first start offers English, not whichever file comes first by name.
    void startUpWithoutTheSystemLanguageOffersEnglish_data()
    {
        QTest::addColumn<QString>("system");
        QTest::newRow("C") << "C";
        QTest::newRow("Japanese") << "ja_JP";
    }
    void startUpWithoutTheSystemLanguageOffersEnglish()
    {
        QFETCH(QString, system);
        Fixture f;
        WriteLangFile(f.dir.path(), "a.sel", LangFileBytes("Deutsch", "Main.Locale=de\r\nwhich=a\r\n"));
        WriteLangFile(f.dir.path(), "b.sel", LangFileBytes("English", "Main.Locale=en_GB\r\nwhich=b\r\n"));
        f.dialog.SystemLocale = QLocale(system);
        QVERIFY(f.dialog.FillUp(true));
        QCOMPARE(f.dialog.lsLanguages->currentItem()->text(), QStringLiteral("English"));
        QCOMPARE(f.execPressing(Qt::Key_Return), int(QDialog::Accepted));
        QCOMPARE(f.loaded(), QStringLiteral("b"));
    }
};

QTEST_MAIN(TestLanguageChoice)
#include "tst_languagechoice.moc"
