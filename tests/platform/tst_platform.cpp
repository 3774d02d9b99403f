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
                              << "SEEM files (*.seem *.bin *.sch);;All files (*.*)";
        QTest::newRow("one") << "Setting file (*.sec)|*.sec" << "Setting file (*.sec) (*.sec)";
        QTest::newRow("dangling description ignored") << "A|*.a|B" << "A (*.a)";
    }
    void fileFilterConversion()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(QtFileFilter(filter), expected);
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
        QVERIFY(!p.saveFileName("Save", "x|*.x", "p").has_value());
        QVERIFY(p.allAnswersUsed());
        QCOMPARE(p.messages(), QStringList({"plain", "save?"}));
        QCOMPARE(p.callsOf(ScriptedPlatform::Kind::SaveFile).first().proposed, QStringLiteral("p"));
        p.writePreference("UI", "AutoSettingSelection", "False");
        QCOMPARE(p.readPreference("UI", "AutoSettingSelection", "True"), QStringLiteral("False"));
        QCOMPARE(p.readPreference("Lang", "Language", ""), QString());
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
