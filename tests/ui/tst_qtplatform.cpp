// The desktop's own message box: the key pressed without reading gives the safe answer
// of a question that could destroy something, and the usual answer of every other one.
#include "ui/platform/QtPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(MsgButtons)
Q_DECLARE_METATYPE(MsgDefault)
Q_DECLARE_METATYPE(MsgResult)

namespace {
// Presses key in the message box once it is on screen; defaultText gets its default button.
void pressInBox(int key, QString &defaultText)
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(20, [key, &defaultText] { pressInBox(key, defaultText); });
        return;
    }
    defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
    QTest::keyClick(box, Qt::Key(key));
}
}   // namespace

class TestQtPlatform : public QObject
{
    Q_OBJECT
private slots:
    void enterAndEscapeInAQuestion_data()
    {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgDefault>("defaultAnswer");
        QTest::addColumn<int>("key");
        QTest::addColumn<MsgResult>("expected");
        QTest::newRow("risky, Enter") << MsgButtons::YesNo << MsgDefault::No << int(Qt::Key_Return) << MsgResult::No;
        QTest::newRow("risky, Escape") << MsgButtons::YesNo << MsgDefault::No << int(Qt::Key_Escape) << MsgResult::No;
        QTest::newRow("risky with Cancel, Enter")
            << MsgButtons::YesNoCancel << MsgDefault::No << int(Qt::Key_Return) << MsgResult::No;
        QTest::newRow("ordinary, Enter") << MsgButtons::YesNo << MsgDefault::Yes << int(Qt::Key_Return)
                                         << MsgResult::Yes;
        QTest::newRow("save question, Escape")
            << MsgButtons::YesNoCancel << MsgDefault::Yes << int(Qt::Key_Escape) << MsgResult::Cancel;
    }
    void enterAndEscapeInAQuestion()
    {
        QFETCH(MsgButtons, buttons);
        QFETCH(MsgDefault, defaultAnswer);
        QFETCH(int, key);
        QFETCH(MsgResult, expected);
        QtPlatform platform;
        QString defaultText;
        QTimer::singleShot(0, [key, &defaultText] { pressInBox(key, defaultText); });
        QCOMPARE(platform.messageBox(QStringLiteral("Replace it?"), MsgIcon::Question, buttons, defaultAnswer),
                 expected);
        // What the user sees marked as the button Enter presses.
        QCOMPARE(defaultText.remove(QLatin1Char('&')),
                 defaultAnswer == MsgDefault::No ? QStringLiteral("No") : QStringLiteral("Yes"));
    }
};

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
