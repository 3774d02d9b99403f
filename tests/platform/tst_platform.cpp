#include "platform/Platform.h"
#include "support/ScriptedPlatform.h"

#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void fileFilterConversion_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seem") << "SEEM files|*.seem;*.bin;*.sch|All files|*.*"
                              << "SEEM files (*.seem *.bin *.sch);;All files (*)";
        QTest::newRow("one") << "Setting files|*.sec"
                             << "Setting files (*.sec)";
        QTest::newRow("pattern already shown") << "Setting file (*.sec)|*.sec"
                                               << "Setting file (*.sec)";
        QTest::newRow("other text in brackets") << "Images (raw)|*.bin"
                                                << "Images (raw) (*.bin)";
        QTest::newRow("dangling description ignored") << "A|*.a|B"
                                                      << "A (*.a)";
    }
    void fileFilterConversion()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(QtFileFilter(filter), expected);
    }

    void fileDialogStart_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("lastFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing, first dialog: home folder") << ""
                                                            << ""
                                                            << "/people/ann";
        QTest::newRow("nothing: last folder") << ""
                                              << "/last"
                                              << "/last";
        QTest::newRow("a folder") << "/seem/"
                                  << "/last"
                                  << "/seem/";
        QTest::newRow("a path") << "/seem/a.seem"
                                << "/last"
                                << "/seem/a.seem";
        QTest::newRow("a bare name: last folder") << "a.sec"
                                                  << "/last"
                                                  << "/last/a.sec";
        QTest::newRow("a bare name: home folder") << "a.sec"
                                                  << ""
                                                  << "/people/ann/a.sec";
    }
    void fileDialogStart()
    {
        QFETCH(QString, proposed);
        QFETCH(QString, lastFolder);
        QFETCH(QString, expected);
        QCOMPARE(FileDialogStart(proposed, lastFolder, "/people/ann"), expected);
    }

    void scriptedPlatformAnswersInOrderAndRecords()
    {
        ScriptedPlatform p;
        p.answerMessage(MsgResult::No);
        p.answerFile(QStringLiteral("/tmp/a.seem"));
        p.cancelFile();
        QCOMPARE(p.messageBox("plain", MsgIcon::Critical, MsgButtons::Ok), MsgResult::Ok);
        QCOMPARE(p.messageBox("save?", MsgIcon::Question, MsgButtons::YesNoCancel), MsgResult::No);
        QCOMPARE(p.openFileName("Open", "x|*.x", QString()).value(), QStringLiteral("/tmp/a.seem"));
        QVERIFY(!p.saveFileName("Save", "x|*.x", "p", false).has_value());
        QVERIFY(p.allAnswersUsed());
        QCOMPARE(p.messages(), QStringList({"plain", "save?"}));
        QCOMPARE(p.callsOf(ScriptedPlatform::Kind::SaveFile).first().proposed, QStringLiteral("p"));
        QVERIFY(!p.callsOf(ScriptedPlatform::Kind::SaveFile).first().confirmOverwrite);
        p.writePreference("UI", "AutoSettingSelection", "False");
        QCOMPARE(p.readPreference("UI", "AutoSettingSelection", "True"), QStringLiteral("False"));
        QCOMPARE(p.readPreference("Lang", "Language", ""), QString());
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
