// Ending the desktop session with unsaved changes asks as closing the window does.
#include "support/MainFixtures.h"
#include "ui/LogoutQuestion.h"

#include <QApplication>
#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {
// The sample image open with Beep unticked by the user: one unsaved change.
struct EditedFixture : MainFixture
{
    LogoutQuestion logout{*qApp, *window};
    EditedFixture()
    {
        open(seemPath);
        window->show();
        check(1)->click();
        platform.clearCalls();
    }
};
}   // namespace

class TestLogoutQuestion : public QObject
{
    Q_OBJECT
private slots:
    void cancelKeepsTheSessionAndTheEdits()
    {
        EditedFixture f;
        // The session manager that gives no leave to ask gets no question and no veto.
        QVERIFY(!f.logout.CommitData(false));
        QVERIFY(f.platform.calls.isEmpty());

        f.platform.answerMessage(MsgResult::Cancel);
        QVERIFY(f.logout.CommitData(true));
        QCOMPARE(f.platform.calls.size(), 1);
        QVERIFY(f.platform.messages().first().startsWith(f.T("bvlMain.sSave?_M")));
        QCOMPARE(f.platform.calls.first().buttons, MsgButtons::YesNoCancel);
        QVERIFY(!f.check(1)->isChecked());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.folder.bytes("0032_0001.seem"), SampleImage());
        // The close that Quit brings asks again: the logout did not happen.
        f.platform.answerMessage(MsgResult::Cancel);
        QVERIFY(!f.window->close());
        QCOMPARE(f.platform.calls.size(), 2);
    }

    void yesSavesBeforeTheSessionEnds()
    {
        EditedFixture f;
        f.platform.answerMessage(MsgResult::Yes);
        f.platform.answerFile(f.seemPath);
        QVERIFY(!f.logout.CommitData(true));
        QCOMPARE(f.folder.bytes("0032_0001.seem").at(0), char(0x10));   // Beep's bit cleared, nothing else
        QCOMPARE(f.folder.bytes("0032_0001.seem").mid(1), SampleImage().mid(1));
        QVERIFY(f.window->close());
        QCOMPARE(f.platform.messages().size(), 1);
    }

    void noIsAskedOnceUnlessTheUserEditsAgain()
    {
        EditedFixture f;
        f.platform.answerMessage(MsgResult::No);
        QVERIFY(!f.logout.CommitData(true));
        // Another edit after the answer (the logout was cancelled elsewhere) is asked about.
        f.check(6)->click();
        f.platform.answerMessage(MsgResult::Cancel);
        QVERIFY(!f.window->close());
        QCOMPARE(f.platform.messages().size(), 2);

        f.platform.answerMessage(MsgResult::No);
        QVERIFY(!f.logout.CommitData(true));
        QVERIFY(f.window->close());   // the session's close: the answer stands
        QCOMPARE(f.platform.messages().size(), 3);
        QCOMPARE(f.folder.bytes("0032_0001.seem"), SampleImage());
    }

    void typingAfterTheAnswerIsAskedAboutBeforeTheBoxIsLeft()
    {
        EditedFixture f;
        f.platform.answerMessage(MsgResult::No);
        QVERIFY(!f.logout.CommitData(true));
        QTest::keyClicks(f.text(4), "Hi");   // still in the box: no undo step yet
        f.platform.answerMessage(MsgResult::Cancel);
        QVERIFY(!f.window->close());
        QCOMPARE(f.platform.messages().size(), 2);
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABCHi"));
    }
};

QTEST_MAIN(TestLogoutQuestion)
#include "tst_logoutquestion.moc"
