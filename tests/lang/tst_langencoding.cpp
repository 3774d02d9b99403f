// Language files in UTF-8 (with the byte order mark) beside the Windows-1252 ones.
#include "lang/LangTable.h"
#include "support/LangTestFiles.h"
#include "support/ScriptedPlatform.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLangEncoding : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void byteOrderMarkMeansUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const QByteArray russian = "Main.LangName=\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\r\n"
                                   "k=\xD0\x94\xD0\xB0 \xC2\xA7 \xE2\x82\xAC\r\n";
        QTest::newRow("UTF-8 with the mark")
            << QByteArray("\xEF\xBB\xBF" + russian) << QStringLiteral("\u0420\u0443\u0441\u0441\u043A\u0438\u0439")
            << QStringLiteral("\u0414\u0430 \u00A7 \u20AC");
        // Without the mark the same bytes are Windows-1252, as every language file was.
        QTest::newRow("UTF-8 without the mark")
            << russian
            << QStringLiteral("\u00D0\u00A0\u00D1\u0192\u00D1\u0081\u00D1\u0081\u00D0\u00BA\u00D0\u00B8\u00D0\u00B9")
            << QStringLiteral("\u00D0\u201D\u00D0\u00B0 \u00C2\u00A7 \u00E2\u201A\u00AC");
        QTest::newRow("Windows-1252") << QByteArray("Main.LangName=Fran\xE7"
                                                    "ais\r\nk=\xA7 \x80\r\n")
                                      << QStringLiteral("Fran\u00E7ais") << QStringLiteral("\u00A7 \u20AC");
        // The mark counts only at the very beginning; elsewhere its bytes are text.
        QTest::newRow("mark on a later line")
            << QByteArray("Main.LangName=X\r\n\xEF\xBB\xBFk=1\r\n") << QStringLiteral("X") << QString();
    }

    void byteOrderMarkMeansUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, value);
        const QString path = WriteLangFile(m_dir.path(), QStringLiteral("l.sel"), bytes);
        QString listedName;
        QVERIFY(LangTable::GetLanguageName(path, listedName));
        QCOMPARE(listedName, name);

        ScriptedPlatform platform;
        LangTable table(platform);
        QVERIFY(table.LoadLanguageFile(path));
        QString found;
        QCOMPARE(table.Lookup(QStringLiteral("k"), found), !value.isEmpty());
        QCOMPARE(found, value);
        QCOMPARE(table.Lookup(QStringLiteral("Main.LangName"), found), true);
        QCOMPARE(found, name);
    }
};

QTEST_GUILESS_MAIN(TestLangEncoding)
#include "tst_langencoding.moc"
