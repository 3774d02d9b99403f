// The road from opening a SEEM file to saving it, as a new user walks it: dialogs that do
// what they show, input checked as it is typed, every control showing what the file holds
// after a save, texts for older language files, a window that fits, and the keyboard.
#include "lang/BuiltinTexts.h"
#include "support/FifoFiles.h"
#include "support/MainFixtures.h"
#include "ui/editor/InputMarks.h"
#include "ui/main/bvlReviewChanges.h"

#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;
using namespace SeemFixtures;
using Kind = ScriptedPlatform::Kind;

namespace {
void ShowActive(QWidget &w)
{
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
}

// The rows of the review of changes: name and new value.
QStringList ReviewRows(bvlMain &w)
{
    QStringList rows;
    w.ShowModal = [&rows](QDialog &dialog) {
        auto &review = static_cast<bvlReviewChanges &>(dialog);
        for (int row = 0; row < review.lsChanges->topLevelItemCount(); ++row)
            rows << review.lsChanges->topLevelItem(row)->text(1) + ": " + review.lsChanges->topLevelItem(row)->text(3);
    };
    w.mnfReviewChanges_Click();
    return rows;
}
}   // namespace

class TestMainRoad : public QObject
{
    Q_OBJECT
private slots:
    void saveToAnotherNameSavesACopyThatBecomesTheDocument()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem"));
        f.text(3)->setText("7");
        const QString copy = f.folder.file("copy.seem");
        f.platform.answerFile(copy);
        QVERIFY(w.mnfSaveSEEM_Click());
        QVERIFY(f.platform.allAnswersUsed());
        QVERIFY(f.platform.messages().isEmpty());   // a new file asks nothing
        QCOMPARE(f.image(), SampleImage());
        QByteArray edited = SampleImage();
        edited[1] = 7;
        QCOMPARE(f.folder.bytes("copy.seem"), edited);
        QCOMPARE(w.Document->seemPath(), copy);
        QCOMPARE(w.Document->file().path(), copy);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - copy.seem"));
        QCOMPARE(w.lbFileDesc->text(), QStringLiteral("Saved 1 setting into copy.seem"));
        QVERIFY(w.tmSavedStatus->isActive());
        w.tmSavedStatus->setInterval(0);
        w.tmSavedStatus->start();
        QTRY_VERIFY(!w.tmSavedStatus->isActive());
        QVERIFY(w.lbFileDesc->text().startsWith(f.T("bvlMain.lbUsingFile_V")));

        // The next save goes into the copy, proposed by the dialog, without a question.
        f.text(3)->setText("9");
        f.check(1)->setChecked(false);
        f.platform.clearCalls();
        f.platform.answerFile(copy);
        QVERIFY(w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.callsOf(Kind::SaveFile).first().proposed, copy);
        QVERIFY(f.platform.messages().isEmpty());
        QCOMPARE(f.folder.bytes("copy.seem").left(2), QByteArray::fromHex("1009"));
        QCOMPARE(w.lbFileDesc->text(), QStringLiteral("Saved 2 settings into copy.seem"));
        QCOMPARE(f.image(), SampleImage());
    }

    void anExistingTargetIsReplacedOnlyWhenTheUserSaysSo()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.text(4)->setText("Q");
        const QString other = f.folder.writeBytes("other.seem", "keep me");
        f.platform.answerFile(other);
        f.platform.answerMessage(MsgResult::No);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sReplace?_M").arg("other.seem")));
        QCOMPARE(f.platform.calls.last().defaultAnswer, MsgDefault::No);
        QCOMPARE(f.folder.bytes("other.seem"), QByteArray("keep me"));
        QCOMPARE(w.Document->seemPath(), f.seemPath);
        QVERIFY(!w.IsSaved());

        f.platform.answerFile(other);
        f.platform.answerMessage(MsgResult::Yes);
        QVERIFY(w.mnfSaveSEEM_Click());
        QCOMPARE(f.folder.bytes("other.seem").mid(2, 3), QByteArray("Q\0C", 3));
        QCOMPARE(f.image(), SampleImage());
        QCOMPARE(w.Document->seemPath(), other);

        // A copy that cannot be written: said with the reason, the document stays.
        f.text(4)->setText("R");
        const QString nowhere = f.folder.file("missing-folder/copy.seem");
        f.platform.clearCalls();
        f.platform.answerFile(nowhere);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QVERIFY(f.platform.messages().first().startsWith(f.T("bvlMain.sNotCopied_M") + " \"" + nowhere + "\"\n"));
        QCOMPARE(w.Document->seemPath(), other);
        QVERIFY(!w.IsSaved());

        // A FIFO is never turned into a plain file, whatever the answer to "replace?".
        const QString fifo = MakeFifo(f.folder.file("fifo.seem"));
        f.platform.clearCalls();
        f.platform.answerFile(fifo);
        f.platform.answerMessage(MsgResult::Yes);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QVERIFY(f.platform.messages().last().endsWith("is a FIFO, not a regular file"));
        QVERIFY(!QFileInfo(fifo).isFile());
        QCOMPARE(w.Document->seemPath(), other);

        // Nor is the setting file in use: an input of the copy, refused before any question.
        QFile settingFile(w.Document->settingPath());
        QVERIFY(settingFile.open(QIODevice::ReadOnly));
        const QByteArray settingBytes = settingFile.readAll();
        settingFile.close();
        f.platform.clearCalls();
        f.platform.answerFile(w.Document->settingPath());
        f.platform.answerMessage(MsgResult::Yes);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.messages().size(), 1);
        QVERIFY(f.platform.messages().first().startsWith(f.T("bvlMain.sNotCopied_M")));
        QVERIFY(settingFile.open(QIODevice::ReadOnly));
        QCOMPARE(settingFile.readAll(), settingBytes);
        QCOMPARE(w.Document->seemPath(), other);
        QVERIFY(!w.IsSaved());
    }

    void changingTheSettingFileAsksAboutUnsavedEdits()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.text(3)->setText("7");
        const QString other = f.folder.writeSec("other.sec", Header(0x32, 1, "Bob"), SampleSettings());
        f.platform.answerMessage(MsgResult::Cancel);
        w.mnfChangeSettingFile_Click();
        QCOMPARE(f.platform.calls.last().text, f.T("bvlMain.sSave?_M") + "\n\n0032_0001.seem");
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Question);
        QVERIFY(f.platform.callsOf(Kind::OpenFile).size() == 1);   // the opening only
        QCOMPARE(f.text(3)->text(), QStringLiteral("7"));

        f.platform.answerMessage(MsgResult::No);
        f.platform.answerFile(other);
        w.mnfChangeSettingFile_Click();
        QVERIFY(f.platform.allAnswersUsed());
        QCOMPARE(w.Document->settingPath(), other);
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
        QCOMPARE(f.image(), SampleImage());
    }

    void aSettingFileForAnotherRecordIsUsedOnlyWhenConfirmed()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        const QString other = f.folder.writeSec("other.sec", Header(0x33, 2, "Bob"), SampleSettings());
        f.platform.clearCalls();
        f.platform.answerFile(other);
        f.platform.answerMessage(MsgResult::No);
        w.mnfChangeSettingFile_Click();
        const auto question = f.platform.callsOf(Kind::Message).first();
        QCOMPARE(question.icon, MsgIcon::Warning);
        QCOMPARE(question.buttons, MsgButtons::YesNo);
        QCOMPARE(question.defaultAnswer, MsgDefault::No);
        QCOMPARE(question.text,
                 f.T("bvlMain.sOtherRecord?_M").arg("other.sec", "0033_0002", "0032_0001.seem", "0032_0001"));
        QCOMPARE(w.Document->settingPath(), f.secPath);

        f.platform.answerFile(other);
        f.platform.answerMessage(MsgResult::Yes);
        w.mnfChangeSettingFile_Click();
        QCOMPARE(w.Document->settingPath(), other);
    }

    void invalidInputIsShownAtOnceAndRefusedAtSave()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        SettingList settings = SampleSettings();
        settings << Named(AnsiString(14, 4), "Code", "Display");
        f.openWith(settings, SampleImage());
        QLineEdit *number = f.text(3);
        number->setText("abc");
        QVERIFY(InputMarks::IsTextRed(number) && InputMarks::IsBackYellow(number));
        QCOMPARE(ShownToolTip(number), f.T("bvlMain.sNotAByte_V"));
        number->setText("255");
        QVERIFY(!InputMarks::IsTextRed(number) && number->toolTip().isEmpty());
        number->setText("256");
        QVERIFY(InputMarks::IsTextRed(number));
        f.text(7)->setText(QString(QChar(0x20AC)) + QChar(0x0101));   // the euro sign has a byte, ā has none
        QCOMPARE(ShownToolTip(f.text(7)), f.T("bvlMain.sNotInCodePage_V"));
        QCOMPARE(ReviewRows(w),
                 QStringList({"Timeout: 256 (" + f.T("bvlReviewChanges.sInvalid_V") + ")",
                              "Code: " + f.text(7)->text() + " (" + f.T("bvlReviewChanges.sInvalid_V") + ")"}));

        w.tvUI->setCurrentItem(w.NodeByKey("Sound"));
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.messages(),
                 QStringList(f.T("bvlMain.sCannotSave_M") + " \"Timeout\": " + f.T("bvlMain.sNotAByte_V")));
        QVERIFY(f.platform.callsOf(Kind::SaveFile).isEmpty());
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Display"));
        QCOMPARE(QApplication::focusWidget(), number);
        QCOMPARE(f.image(), SampleImage());

        // Restored, a value is what the file holds and no longer in the way.
        w.PopupTarget = 3;
        w.mnfRestoreItem_Click();
        QVERIFY(!InputMarks::IsTextRed(number));
        f.platform.clearCalls();
        QVERIFY(!w.mnfSaveSEEM_Click());
        QVERIFY(f.platform.messages().first().endsWith("\"Code\": " + f.T("bvlMain.sNotInCodePage_V")));
        QCOMPARE(f.image(), SampleImage());
    }

    void settingsOverWrittenBytesAreReadAgainAfterASave()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        // A number over the byte of two check boxes, and a string over a list's byte.
        SettingStruct list = ValueList(5, 0xFF, {0x41, 0x5A});
        list.ValueNames = JoinValues({"A", "Z"});
        f.openWith({Named(Checkbox(0, 0x01, 1, 0), "Low bit", "G"), Named(Checkbox(0, 0x80, 128, 0), "High bit", "G"),
                    Named(Int8(0), "Whole byte", "G"), Named(AnsiString(4, 4), "Text", "G"), Named(list, "Letter", "G"),
                    Named(Int8(9), "Apart", "G")},
                   QByteArray::fromHex("01000000"
                                       "58414200"
                                       "00000000"));
        QVERIFY(f.check(1)->isChecked() && !f.check(2)->isChecked());
        QCOMPARE(f.list(5)->currentIndex(), 0);
        f.text(3)->setText("128");
        f.text(4)->setText("YZ");
        QCOMPARE(ReviewRows(w), QStringList({"Whole byte: 128", "Text: YZ",
                                             "Low bit: off (" + f.T("bvlReviewChanges.sAlsoChanges_V") + ")",
                                             "High bit: on (" + f.T("bvlReviewChanges.sAlsoChanges_V") + ")",
                                             "Letter: Z (" + f.T("bvlReviewChanges.sAlsoChanges_V") + ")"}));
        QVERIFY(f.save());
        QVERIFY(!f.check(1)->isChecked() && f.check(2)->isChecked());
        QCOMPARE(f.list(5)->currentIndex(), 1);
        QVERIFY(w.ChangedSettings().isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem"));

        // Restoring everything right after the save changes no control.
        QVector<ControlState> before;
        for (int index = 1; index <= w.Settings.size(); ++index)
            before << w.CurrentState(index);
        const int steps = w.UndoStack->count();
        w.mnfRestore_Click();
        for (int index = 1; index <= w.Settings.size(); ++index)
            QVERIFY2(w.CurrentState(index) == before.at(index - 1), qPrintable(QString::number(index)));
        QCOMPARE(w.UndoStack->count(), steps);
    }

    void anOlderLanguageFileGivesNoMessageForNewerTexts()
    {
        MainFixture f;
        // Only the keys of the first version, as a user's own translation of it holds them.
        QByteArray older;
        for (const QByteArray &line : f.folder.bytes("english.sel").split('\n')) {
            const QString key = QString::fromLatin1(line.left(line.indexOf('=')));
            if (line.contains('=') && (key == "Main.LangName" || BuiltinTexts::IsFirstVersionKey(key))
                && key != "bvlMain.lbNoSettingFound_V")
                older += line + '\n';
        }
        const QString path = f.folder.writeBytes("older.sel", older);
        f.platform.preferences.insert("Lang/Language", path);
        bvlMain w(f.ctx);
        QVERIFY(w.Form_Load());
        QVERIFY2(f.platform.messages().isEmpty(), qPrintable(f.platform.messages().join('\n')));
        QCOMPARE(w.mnuChanges->title(), QStringLiteral("&Changes"));   // English, not the built-in Italian

        f.platform.answerFile(f.seemPath);
        w.mnfOpenSEEM_Click();
        auto *number = qobject_cast<QLineEdit *>(w.ControlOf(3));
        QTest::keyClicks(number, "12");
        number->setText("x");
        QCOMPARE(w.windowTitle(), QStringLiteral("Brimvale Edit - 0032_0001.seem (1 changed)"));
        QCOMPARE(number->toolTip().isEmpty(), false);
        bvlReviewChanges review(f.ctx, *w.Document, w.Reviewing(), &w);
        QCOMPARE(review.lsChanges->headerItem()->text(0), QStringLiteral("Group"));
        QVERIFY2(f.platform.messages().isEmpty(), qPrintable(f.platform.messages().join('\n')));

        // A key of the first version still reports that it is missing.
        QCOMPARE(f.ctx.T("bvlMain.lbNoSettingFound_V"), QStringLiteral("?"));
        QCOMPARE(f.platform.messages(), QStringList("Missing language string: \"bvlMain.lbNoSettingFound_V\""));
    }

    void theClientAreaScrollsOnlyWhenTheScreenIsTooSmall()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        const QSize client = w.centralWidget()->size();
        w.FitToScreen(QRect(0, 0, 1920, 1080));
        QVERIFY(!w.ClientScrolls());
        QCOMPARE(w.centralWidget()->size(), client);

        // 200 % on a 1920 x 1080 screen leaves 960 x 540 logical pixels.
        w.FitToScreen(QRect(0, 0, 960, 540));
        QVERIFY(w.ClientScrolls());
        auto *scroll = qobject_cast<QScrollArea *>(w.centralWidget());
        QVERIFY(scroll && scroll->widget()->isAncestorOf(w.tvUI));
        QCOMPARE(scroll->widget()->size(), client);
        QVERIFY(w.width() <= 960 && w.height() <= 540);
        QCOMPARE(scroll->focusPolicy(), Qt::NoFocus);
    }

    void aLargerWindowGivesItsRoomToThePagesAndTheDescription()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        // It opens at its smallest size, and no smaller.
        w.layout()->activate();
        const QSize smallest = w.size();
        QCOMPARE(w.minimumSize(), smallest);
        w.resize(smallest - QSize(100, 100));
        QCOMPARE(w.size(), smallest);

        f.open(f.seemPath);
        w.ShowSetting(2);
        w.show();
        QCoreApplication::processEvents();
        auto shown = [&w] {
            return QList<QRect>{w.tvUI->geometry(), w.replicator.at(1)->geometry(), w.frDescription->geometry(),
                                w.lbFileDesc->geometry()};
        };
        const QList<QRect> before = shown();
        // The client area as a larger window gives it (the test screen is small: it scrolls).
        QWidget *client = w.tvUI->parentWidget();
        client->resize(client->size() + QSize(300, 150));
        const QList<QRect> after = shown();
        // The tree keeps its width; the page and the description take the room.
        QCOMPARE(after[0], before[0].adjusted(0, 0, 0, 100));
        QCOMPARE(after[1], before[1].adjusted(0, 0, 300, 100));
        QCOMPARE(after[2], before[2].adjusted(0, 100, 300, 150));
        QCOMPARE(after[3], before[3].adjusted(0, 150, 300, 150));
        // A page built now takes the same place.
        QCOMPARE(w.ControlOf(5)->parentWidget()->geometry(), after[1]);
    }

    void theKeyboardReachesThePopupsAndOnlyVisibleControls()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        w.ShowSetting(3);
        QCOMPARE(QApplication::focusWidget(), f.text(3));
        QTest::keyClick(f.text(3), Qt::Key_F10);
        QTRY_VERIFY(w.mnuFile->isVisible());
        w.mnuFile->hide();
        w.ShowSetting(3);
        QTest::keyClick(f.text(3), Qt::Key_F10, Qt::ShiftModifier);
        // A text box's pop-up: Restore original above its edit actions.
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup && popup->actions().value(0) == w.mnfRestoreItem);
        QCOMPARE(w.PopupTarget, 3);
        popup->hide();
        w.tvUI->setFocus();
        QTest::keyClick(w.tvUI, Qt::Key_Menu);
        QVERIFY(w.mnuOrig->isVisible());
        QCOMPARE(w.PopupTarget, -1);
        w.mnuOrig->hide();

        // Every tab stop is a control the user can see.
        QWidget *start = QApplication::focusWidget();
        QWidget *at = start;
        for (int step = 0; step < 50; ++step) {
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
            QVERIFY2(at && at->isVisible(), qPrintable(at ? at->objectName() : QStringLiteral("none")));
            if (at == start)
                break;
        }
    }
};

QTEST_MAIN(TestMainRoad)
#include "tst_mainroad.moc"
