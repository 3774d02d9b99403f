#include "lang/LangTable.h"
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
        QTest::newRow("Windows-1252 bytes") << QByteArray("k=perch\xE8 \x80 \xA7\r\n") << "k" << true
                                            << QString::fromUtf8("perchè € §");
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
            QCOMPARE(table.GetLangString(key), value); // an empty value is no miss either
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
        QVERIFY(platform.calls.isEmpty()); // the caller reports a failed load
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
        atLimit += QByteArray(Limit - atLimit.size(), 'x'); // one long comment line
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
        QTest::newRow("code page") << QByteArray("Main.LangName=Fran\xE7" "ais") << true << QString::fromUtf8("Français");
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
        QCOMPARE(platform.messages(), QStringList({"Missing language string: \"a\"",
                                                   "Missing language string: \"b\""}));
    }
};

QTEST_GUILESS_MAIN(TestLangTable)
#include "tst_langtable.moc"
