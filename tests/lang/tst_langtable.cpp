#include "lang/LangTable.h"
#include "lang/Wording.h"
#include "support/LangTestFiles.h"
#include "support/ScriptedPlatform.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLangTable : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("test.sel"))
    {
        return WriteLangFile(m_dir.path(), name, bytes);
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Each row: file bytes, the key looked up, whether it is found and its value.
    void entries_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("value");

        QTest::newRow("split at first =") << QByteArray("a=b=c\r\n") << "a" << true << "b=c";
        QTest::newRow("empty value") << QByteArray("k=\r\nx=1\r\n") << "k" << true << "";
        QTest::newRow("blanks belong to key and value") << QByteArray("k = v \r\n") << "k " << true << " v ";
        QTest::newRow("key with leading blank") << QByteArray(" lead=x\r\n") << " lead" << true << "x";
        QTest::newRow("leading blank not dropped") << QByteArray(" lead=x\r\n") << "lead" << false << "";
        QTest::newRow("CR LF line end not in value") << QByteArray("a=1\r\nb=2\r\n") << "a" << true << "1";
        QTest::newRow("LF line ends") << QByteArray("a=1\nb=2\n") << "b" << true << "2";
        QTest::newRow("last line without end") << QByteArray("a=1\r\nb=2") << "b" << true << "2";
        QTest::newRow("CR inside a line kept") << QByteArray("a=x\ry\r\n") << "a" << true << "x\ry";
        QTest::newRow("lines without = ignored") << QByteArray("comment\r\n\r\nk=v\r\n") << "comment" << false << "";
        QTest::newRow("empty key accepted") << QByteArray("=nameless\r\n") << "" << true << "nameless";
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("k=perch\xE8 \x80 \xA7\r\n") << "k" << true << QString::fromUtf8("perchè € §");
        QTest::newRow("lookup ignores case") << QByteArray("bvlMain.Quit=Esci\r\n") << "BVLMAIN.quit" << true << "Esci";
    }
    void entries()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, value);

        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(write(content)));
        QString actual;
        QCOMPARE(table.Lookup(key, actual), found);
        if (found) {
            QCOMPARE(actual, value);
            QCOMPARE(table.GetLangString(key), value);   // an empty value is no miss either
        }
        QVERIFY(platform.calls.isEmpty());
    }

    void duplicateKeyInOtherCaseFailsAndKeepsEarlierEntries()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(!table.LoadLanguageFile(write("first=1\r\nKey=a\r\nmiddle=2\r\nKEY=b\r\nlast=3\r\n")));
        QString value;
        QVERIFY(table.Lookup("first", value));
        QVERIFY(table.Lookup("middle", value));
        QVERIFY(table.Lookup("key", value));
        QCOMPARE(value, QStringLiteral("a"));
        QVERIFY(!table.Lookup("last", value));
        QVERIFY(platform.calls.isEmpty());   // the caller reports a failed load
    }

    void eachLoadReplacesTheTable()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(write("old=1\r\n", "a.sel")));
        QVERIFY(table.LoadLanguageFile(write("new=2\r\n", "b.sel")));
        QString value;
        QVERIFY(!table.Lookup("old", value));
        QVERIFY(table.Lookup("new", value));

        // A failed load also starts from an empty table.
        QVERIFY(!table.LoadLanguageFile(JoinPath(m_dir.path(), "absent.sel")));
        QVERIFY(table.IsLoaded());
        QVERIFY(!table.Lookup("new", value));
    }

    void unreadableFilesFailTheLoad_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << JoinPath(m_dir.path(), "absent.sel");
        QTest::newRow("folder") << m_dir.path();
    }
    void unreadableFilesFailTheLoad()
    {
        QFETCH(QString, path);
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(!table.LoadLanguageFile(path));
        QString name;
        QVERIFY(!LangTable::GetLanguageName(path, name));
    }

    void oversizedFileIsRefused()
    {
        // Valid entries throughout, so only the size can be the reason.
        QByteArray content = LangFileBytes("Big");
        const QByteArray line = QByteArray(60, 'x') + "\r\n";
        while (content.size() <= 4 * 1024 * 1024)
            content += line;
        const QString path = write(content, "big.sel");

        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(!table.LoadLanguageFile(path));
        QString name;
        QVERIFY(!LangTable::GetLanguageName(path, name));
    }

    // The file is read in pieces: a line across a piece boundary, and the size limit itself.
    void largeFilesReadWhole_data()
    {
        constexpr int Limit = 4 * 1024 * 1024;
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");

        const QByteArray farName = QByteArray(100000, 'x') + "\r\nMain.LangName=Far\r\n";
        QTest::newRow("name entry behind the first piece") << farName << true;
        QByteArray atLimit = "Main.LangName=Far\r\n";
        atLimit += QByteArray(Limit - atLimit.size(), 'x');   // one long comment line
        QTest::newRow("exactly at the limit") << atLimit << true;
        QTest::newRow("one byte over the limit") << QByteArray(atLimit + "x") << false;
    }

    void largeFilesReadWhole()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        const QString path = write(content, "large.sel");

        ScriptedPlatform platform;
        LangTable table(platform);
        QCOMPARE(table.LoadLanguageFile(path), loads);
        QString name;
        QCOMPARE(LangTable::GetLanguageName(path, name), loads);
        if (loads) {
            QCOMPARE(name, QStringLiteral("Far"));
            QCOMPARE(table.GetLangString("main.langname"), QStringLiteral("Far"));
        }
    }

    void languageName_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("name");

        QTest::newRow("plain") << QByteArray("x=1\r\nMain.LangName=English\r\n") << true << "English";
        QTest::newRow("code page") << QByteArray("Main.LangName=Fran\xE7"
                                                 "ais")
                                   << true << QString::fromUtf8("Français");
        QTest::newRow("first of several") << QByteArray("Main.LangName=A\nMain.LangName=B\n") << true << "A";
        QTest::newRow("value kept verbatim") << QByteArray("Main.LangName= A=B \r\n") << true << " A=B ";
        QTest::newRow("other letter case") << QByteArray("main.langname=English\r\n") << false << "";
        QTest::newRow("blank before =") << QByteArray("Main.LangName =English\r\n") << false << "";
        QTest::newRow("no entry") << QByteArray("a=b\r\n") << false << "";
    }
    void languageName()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, found);
        QFETCH(QString, name);

        QString actual = QStringLiteral("unchanged");
        QCOMPARE(LangTable::GetLanguageName(write(content), actual), found);
        QCOMPARE(actual, found ? name : QStringLiteral("unchanged"));
    }

    void nameInOtherCaseStillLoadsAsEntry()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(write("main.langname=English\r\n")));
        QCOMPARE(table.GetLangString("Main.LangName"), QStringLiteral("English"));
    }

    void missingKeysAreReportedEachTime()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(write("a=1\r\n")));
        QCOMPARE(table.GetLangString("bvlMain.sSave?_M"), QStringLiteral("?"));
        QCOMPARE(table.GetLangString("bvlMain.sSave?_M"), QStringLiteral("?"));
        QCOMPARE(platform.messages(), QStringList({"Missing language string: \"bvlMain.sSave?_M\"",
                                                   "Missing language string: \"bvlMain.sSave?_M\""}));
        for (const auto &call : platform.calls) {
            QCOMPARE(call.icon, MsgIcon::Critical);
            QCOMPARE(call.buttons, MsgButtons::Ok);
        }
    }

    void noTableLoaded()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(!table.IsLoaded());
        QString value;
        QVERIFY(!table.Lookup("", value));
        QCOMPARE(table.GetLangString("a"), QStringLiteral("?"));
        QCOMPARE(table.GetLangString("b"), QStringLiteral("?"));
        QCOMPARE(platform.messages(),
                 QStringList({"Missing language string: \"a\"", "Missing language string: \"b\""}));
    }

    // A language chosen while another is in use replaces it only as a whole.
    void replacingIsAllOrNothing()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.ReplaceWithLanguageFile(write("a=first\r\n", "first.sel")));
        LangTable::LoadFailure failure;
        QVERIFY(!table.ReplaceWithLanguageFile(write("b=1\r\n# note\r\nB=2\r\n", "twice.sel"), &failure));
        QCOMPARE(failure.repeatedKey, QStringLiteral("B"));
        QCOMPARE(failure.line, 3);
        QCOMPARE(table.GetLangString("a"), QStringLiteral("first"));
        QString value;
        QVERIFY(!table.Lookup("b", value));

        failure = {};
        QVERIFY(!table.ReplaceWithLanguageFile(m_dir.filePath("missing.sel"), &failure));
        QCOMPARE(failure.readReason, QStringLiteral("does not exist"));
        QCOMPARE(table.GetLangString("a"), QStringLiteral("first"));

        // Before any language, a failure leaves none.
        LangTable fresh(platform);
        QVERIFY(!fresh.ReplaceWithLanguageFile(m_dir.filePath("twice.sel")));
        QVERIFY(!fresh.IsLoaded());
        QVERIFY(platform.calls.isEmpty());
    }

    // Each row: the language's locale, a count and the form the text is taken from.
    void pluralForms_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QString>("form");
        QTest::newRow("en one") << "en" << QList<int>{1} << "one";
        QTest::newRow("en other") << "en" << QList<int>{0, 2, 11, 21} << "other";
        QTest::newRow("de one") << "de" << QList<int>{1} << "one";
        QTest::newRow("fr zero and one") << "fr" << QList<int>{0, 1} << "one";
        QTest::newRow("fr other") << "fr" << QList<int>{2, 100} << "other";
        QTest::newRow("pt of Portugal: 0 is other") << "pt" << QList<int>{0, 2} << "other";
        QTest::newRow("pt of Brazil: 0 is one") << "pt_BR" << QList<int>{0, 1} << "one";
        QTest::newRow("pl one") << "pl" << QList<int>{1} << "one";
        QTest::newRow("pl few") << "pl" << QList<int>{2, 3, 4, 22, 24, 102} << "few";
        QTest::newRow("pl many") << "pl" << QList<int>{0, 5, 11, 12, 14, 21, 25, 112} << "many";
        QTest::newRow("ru one") << "ru" << QList<int>{1, 21, 101} << "one";
        QTest::newRow("ru few") << "ru" << QList<int>{2, 4, 22, 34} << "few";
        QTest::newRow("ru many") << "ru" << QList<int>{0, 5, 11, 12, 14, 111, 25} << "many";
        QTest::newRow("no locale: English rule") << "" << QList<int>{1} << "one";
    }
    void pluralForms()
    {
        QFETCH(QString, locale);
        QFETCH(QList<int>, counts);
        QFETCH(QString, form);
        ScriptedPlatform platform;
        LangTable table(platform);
        const QByteArray forms = "n.one=%1 one\r\nn.few=%1 few\r\nn.many=%1 many\r\nn.other=%1 other\r\n";
        QVERIFY(table.LoadLanguageFile(write("Main.Locale=" + locale.toLatin1() + "\r\n" + forms)));
        for (int count : counts)
            QCOMPARE(table.GetPluralString("n", count), QString::number(count) + QLatin1Char(' ') + form);
        QVERIFY(platform.calls.isEmpty());
    }

    // A form the file lacks takes its own "other" before any English; the shipped
    // Polish and Russian files say each count in its form.
    void pluralFallbackAndShippedFiles()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(write("Main.Locale=pl\r\nbvlMain.sSavedCount_V.other=%1 (%2)\r\n")));
        QCOMPARE(table.GetPluralString("bvlMain.sSavedCount_V", 1).arg("x"), QStringLiteral("1 (x)"));
        QVERIFY(table.LoadLanguageFile(write("Main.Locale=pl\r\n")));
        QCOMPARE(table.GetPluralString("bvlMain.sSavedCount_V", 5).arg("a.seem"),
                 QStringLiteral("Saved 5 settings into a.seem"));

        QVERIFY(table.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/polski.sel")));
        QCOMPARE(table.GetPluralString("bvlMain.sChangedCount_V", 1), QStringLiteral("(1 zmiana)"));
        QCOMPARE(table.GetPluralString("bvlMain.sChangedCount_V", 3), QStringLiteral("(3 zmiany)"));
        QCOMPARE(table.GetPluralString("bvlMain.sChangedCount_V", 12), QStringLiteral("(12 zmian)"));
        QVERIFY(table.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/russkij.sel")));
        QCOMPARE(table.GetPluralString("bvlMain.sChangedCount_V", 21),
                 QString::fromUtf8("(21 \u0438\u0437\u043c\u0435\u043d\u0435\u043d\u0438\u0435)"));
        QCOMPARE(table.GetPluralString("bvlMain.sChangedCount_V", 5),
                 QString::fromUtf8("(5 \u0438\u0437\u043c\u0435\u043d\u0435\u043d\u0438\u0439)"));
        QVERIFY(platform.calls.isEmpty());
    }

    // The command line's words are the English window's, from the same shipped file.
    void englishWordingIsTheShippedEnglishFile()
    {
        ScriptedPlatform platform;
        LangTable english(platform);
        QVERIFY(english.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/english.sel")));
        LangWording window(english);
        Wording &cli = EnglishWording();
        for (const char *key : {"bvlEditSetting.sFindSameName_V", "bvlMain.sSave?_M"})
            QCOMPARE(cli.text(key), window.text(key));
        for (qint64 count : {0, 1, 2, 21})
            QCOMPARE(cli.plural("bvlEditSetting.sCheckErrors_V", count),
                     window.plural("bvlEditSetting.sCheckErrors_V", count));
        QCOMPARE(cli.text("no.such.key"), QStringLiteral("no.such.key"));
        QVERIFY(platform.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLangTable)
#include "tst_langtable.moc"
