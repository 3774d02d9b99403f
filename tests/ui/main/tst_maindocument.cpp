// Opening SEEM files, choosing setting files, saving and restoring through the main window.
#include "support/MainFixtures.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;
using Kind = ScriptedPlatform::Kind;

namespace {
// What must not change when an opening or a change of setting file does not happen.
struct Snapshot
{
    QString seemPath, settingPath, status, openFile;
    int nodes, frames;
    bool saveEnabled;

    explicit Snapshot(MainFixture &f)
        : seemPath(f.window->Document->seemPath()),
          settingPath(f.window->Document->settingPath()),
          status(f.window->lbFileDesc->text()),
          openFile(f.window->Document->file().path()),
          nodes(f.window->tvUI->topLevelItemCount()),
          frames(f.window->FrameCount),
          saveEnabled(f.window->mnfSaveSEEM->isEnabled())
    {}
    bool operator==(const Snapshot &o) const
    {
        return seemPath == o.seemPath && settingPath == o.settingPath && status == o.status && openFile == o.openFile
               && nodes == o.nodes && frames == o.frames && saveEnabled == o.saveEnabled;
    }
};
}   // namespace

class TestMainDocument : public QObject
{
    Q_OBJECT
private slots:
    void automaticChoiceFindsTheSettingFile()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QVERIFY(f.platform.allAnswersUsed());
        const auto dialogs = f.platform.callsOf(Kind::OpenFile);
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.first().text, QStringLiteral("Open SEEM..."));
        QCOMPARE(dialogs.first().filter, QStringLiteral("SEEM files|*.seem;*.bin;*.sch|All files|*.*"));
        QCOMPARE(w.lbFileDesc->text(), f.T("bvlMain.lbUsingFile_V") + '"' + f.secPath
                                           + "\" (V3 - 1.01.500_Tavik). Demo phone (SEEM 32_1). By Ann");
        QCOMPARE(w.Document->seemPath(), f.seemPath);
        QCOMPARE(w.Document->settingPath(), f.secPath);
        QVERIFY(w.IsSaved());
        QVERIFY(w.mnfChangeSettingFile->isEnabled() && w.mnfSaveSEEM->isEnabled() && w.mnfRestore->isEnabled());
        QVERIFY(w.tvUI->isVisibleTo(&w) && w.frDescription->isVisibleTo(&w));
        // The first group shows at once, with its first setting's description.
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Sound"));
        QVERIFY(w.BuiltControlOf(2)->isVisibleTo(&w) && !w.BuiltControlOf(3));
        QCOMPARE(w.txDescription->toPlainText(), QStringLiteral("Beeps on keys"));
        // Every control holds the file's value.
        QVERIFY(f.check(1)->isChecked());
        QCOMPARE(f.list(2)->currentIndex(), 1);
        QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
        QCOMPARE(f.text(5)->text(), QStringLiteral("AB"));
        QVERIFY(f.check(6)->isChecked());
    }

    void firstGroupHoldingOnlyGroupsShowsThePageBelowIt()
    {
        MainFixture f;
        f.openWith({SampleSettings()[4], SampleSettings()[0]}, SampleImage());   // Net\GPRS\Owner first
        QCOMPARE(f.window->tvUI->currentItem(), f.window->tvUI->topLevelItem(0)->child(0));
        QVERIFY(f.window->BuiltControlOf(1)->isVisibleTo(f.window.get()));
        QVERIFY(f.window->txDescription->toPlainText().isEmpty());   // Owner has no description
    }

    void noAutomaticMatchAsksForTheSettingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("otherRecord");   // the name says another SEEM than the setting file
        QTest::newRow("no matching header") << "0033_0001.seem" << true << true;
        QTest::newRow("no underscore") << "0032.seem" << true << false;
        QTest::newRow("not hexadecimal") << "SEEM0032_0001.seem" << true << false;
        QTest::newRow("automatic choice off") << "0032_0001.seem" << false << false;
    }
    void noAutomaticMatchAsksForTheSettingFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, automatic);
        QFETCH(bool, otherRecord);
        MainFixture f;
        bvlMain &w = *f.window;
        w.mnfAutoSettingSelection->setChecked(automatic);
        const QString path = f.folder.writeBytes(name, SampleImage());
        QString statusDuringDialog;
        f.platform.beforeFileDialog = [&] { statusDuringDialog = w.lbFileDesc->text(); };
        f.platform.answerFile(path);
        f.platform.answerFile(f.secPath);
        if (otherRecord)
            f.platform.answerMessage(MsgResult::Yes);
        w.mnfOpenSEEM_Click();
        QCOMPARE(f.platform.callsOf(Kind::Message).size(), otherRecord ? 1 : 0);
        QCOMPARE(statusDuringDialog, automatic ? f.T("bvlMain.lbNoSettingFound_V") + " \"" + name + '"' : QString());
        const auto dialogs = f.platform.callsOf(Kind::OpenFile);
        QCOMPARE(dialogs.size(), 2);
        QCOMPARE(dialogs.at(1).text, f.T("bvlEditSetting.mnfOpenSetting").remove(QLatin1Char('&')));
        QCOMPARE(dialogs.at(1).filter, QStringLiteral("Setting files|*.sec"));
        QCOMPARE(w.Document->seemPath(), path);
        QVERIFY(w.lbFileDesc->text().endsWith("(SEEM 32_1). By Ann"));
    }

    void firstMatchingFileByNameWins()
    {
        MainFixture f;
        SettingFileHeader badMagic = Header(0x32, 1, "magic"), oldVersion = Header(0x32, 1, "version");
        badMagic.Magic = "SEC";
        oldVersion.FileVersion = 2;
        f.folder.writeSec("0_magic.sec", badMagic, SampleSettings());
        f.folder.writeSec("1_version.sec", oldVersion, SampleSettings());
        f.folder.writeBytes("2_broken.sec", "sec");
        f.folder.writeSec("3_other.sec", Header(0x32, 2, "other"), SampleSettings());
        const QString first = f.folder.writeSec("4_first.sec", Header(0x32, 1, "first"), SampleSettings());
        f.folder.writeSec("5_second.sec", Header(0x32, 1, "second"), SampleSettings());
        QCOMPARE(f.window->AutoSelectSEC("0032_0001.seem"), first);
        QCOMPARE(f.window->AutoSelectSEC("0032_00015_extra.bin"), first);
        QCOMPARE(f.window->AutoSelectSEC("0032_0003.seem"), QString());
    }

    // Whatever goes wrong, the open document stays exactly as it was.
    void failedOpeningKeepsTheDocument_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancel SEEM dialog") << "cancel seem"
                                            << "";
        QTest::newRow("cancel setting dialog") << "cancel sec"
                                               << "";
        QTest::newRow("wrong magic") << "magic"
                                     << "bvlEditSetting.UnknownFile_M";
        QTest::newRow("wrong version") << "version"
                                       << "bvlEditSetting.UnsupportedVer_M";
        QTest::newRow("cut short") << "truncated"
                                   << "other.sec is not a whole setting file: it ends inside its header (ERR 62)";
        QTest::newRow("list value not a number") << "list text"
                                                 << "mnfOpenSEEM ERR 13";
        QTest::newRow("fewer values than names") << "list count"
                                                 << "mnfOpenSEEM ERR 13";
        QTest::newRow("missing SEEM file") << "missing seem"
                                           << "mnfOpenSEEM ERR 53";
    }
    void failedOpeningKeepsTheDocument()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.text(3)->setText("7");   // an edit that must survive
        const Snapshot before(f);
        // The edit is kept unsaved: the save question is answered No each time.
        const auto withoutSaveQuestion = [&f] {
            QStringList shown = f.platform.messages();
            shown.removeIf([&f](const QString &m) { return m.startsWith(f.T("bvlMain.sSave?_M")); });
            return shown;
        };
        f.platform.answerMessage(MsgResult::No);

        SettingFileHeader header = Header(0x32, 1);
        SettingList settings = SampleSettings();
        if (failure == "magic")
            header.Magic = "seC";
        if (failure == "version")
            header.FileVersion = 4;
        if (failure == "list text")
            settings[1].Values = JoinValues({"0", "x", "32"});
        if (failure == "list count")
            settings[1].Values = JoinValues({"0", "16"});
        const QString sec = f.folder.writeSec("other.sec", header, settings);
        if (failure == "truncated")
            f.folder.writeBytes("other.sec", f.folder.bytes("other.sec").left(40));
        const QString seem = f.folder.writeBytes("AAAA_0001.seem", SampleImage());

        if (failure == "cancel seem") {
            f.platform.cancelFile();
        } else {
            f.platform.answerFile(failure == "missing seem" ? f.folder.file("gone_1.seem") : seem);
            failure == "cancel sec" ? f.platform.cancelFile() : f.platform.answerFile(sec);
        }
        w.mnfOpenSEEM_Click();
        QVERIFY(f.platform.allAnswersUsed());
        QVERIFY(before == Snapshot(f));
        QCOMPARE(f.text(3)->text(), QStringLiteral("7"));
        const QStringList shown = withoutSaveQuestion();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(shown.first().startsWith(message.startsWith(QLatin1String("bvl")) ? f.T(message) : message),
                     qPrintable(shown.first()));

        // The same setting files are refused alike when chosen for the open SEEM file.
        if (failure != "cancel seem" && failure != "cancel sec" && failure != "missing seem") {
            f.platform.clearCalls();
            f.platform.answerMessage(MsgResult::No);
            f.platform.answerFile(sec);
            w.mnfChangeSettingFile_Click();
            QVERIFY(before == Snapshot(f));
            if (message.startsWith("mnfOpenSEEM"))
                QCOMPARE(withoutSaveQuestion(), QStringList("mnfChangeSettingFile ERR 13"));
        }
    }

    void anotherSettingFileRebuildsTheView()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        w.tvUI->setCurrentItem(w.NodeByKey("Sound"));
        QVERIFY(w.CurrentGroup != -1);
        const QString other =
            f.folder.writeSec("other.sec", Header(1, 1, "Bob"), {Named(SeemFixtures::Int8(19), "Last", "Extra")});
        f.platform.answerFile(other);
        f.platform.answerMessage(MsgResult::Yes);   // for another record, used all the same
        w.mnfChangeSettingFile_Click();
        QCOMPARE(w.tvUI->topLevelItemCount(), 1);
        QVERIFY(!w.NodeByKey("Sound") && w.NodeByKey("Extra"));
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Extra"));
        QCOMPARE(w.FrameCount, 1);
        QCOMPARE(w.TextCount, 1);
        QCOMPARE(f.text(1)->text(), QStringLiteral("0"));
        QCOMPARE(w.Document->seemPath(), f.seemPath);
        QCOMPARE(w.Document->settingPath(), other);
        QVERIFY(w.lbFileDesc->text().endsWith("(SEEM 1_1). By Bob"));
    }

    void saveWritesEverySettingAndRestoreReadsTheFile()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        f.list(2)->setCurrentIndex(2);
        f.text(3)->setText("7");
        f.text(4)->setText("Q");
        f.text(5)->setText(QString(QChar(0x8A9E)));
        f.check(6)->setChecked(false);
        QVERIFY(!w.IsSaved());
        f.platform.answerFile(f.seemPath);
        QVERIFY(w.mnfSaveSEEM_Click());
        QVERIFY(w.IsSaved());
        const auto save = f.platform.callsOf(Kind::SaveFile).first();
        QCOMPARE(save.text, f.ctx.Title("bvlMain.mnfSaveSEEM"));
        QCOMPARE(save.filter, QStringLiteral("All files|*.*"));
        QCOMPARE(save.proposed, f.seemPath);
        QVERIFY(!save.confirmOverwrite);   // the open file itself is saved without a question
        QCOMPARE(f.folder.bytes("0032_0001.seem").toHex(), QByteArray("2007"
                                                                      "5100430058595a57"
                                                                      "8a9e000000000000"
                                                                      "0000"));

        // Restore brings back the saved values, not the ones first opened.
        f.text(3)->setText("99");
        w.mnfRestore_Click();
        QCOMPARE(f.text(3)->text(), QStringLiteral("7"));
        QCOMPARE(f.list(2)->currentIndex(), 2);
        QVERIFY(w.IsSaved());
    }

    void failingSaveWritesNothingAndShowsTheSetting()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.open(f.seemPath);
        f.check(1)->setChecked(false);   // encoded before the failing setting
        f.text(5)->setText("x");         // and after it
        f.text(3)->setText("256");
        const QByteArray before = f.folder.bytes("0032_0001.seem");
        // Refused before the save dialog, naming the setting and why.
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.messages(),
                 QStringList(f.T("bvlMain.sCannotSave_M") + " \"Timeout\": " + f.T("bvlMain.sNotAByte_V")));
        QVERIFY(f.platform.callsOf(Kind::SaveFile).isEmpty());
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
        QCOMPARE(f.folder.bytes("0032_0001.seem"), before);
        QVERIFY(!w.IsSaved());
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Display"));
        QCOMPARE(w.replicator.at(w.CurrentGroup), f.text(3)->parentWidget());
        QCOMPARE(QApplication::focusWidget(), f.text(3));

        // A list without a selected entry fails alike.
        f.text(3)->setText("1");
        f.list(2)->setCurrentIndex(-1);
        f.platform.clearCalls();
        f.platform.answerFile(f.seemPath);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlEditSetting.wssInputDataError_M") + " (ERR 381)"));
        QCOMPARE(f.folder.bytes("0032_0001.seem"), before);
    }

    void settingBeyondTheEndOfTheFile()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingList settings = SampleSettings();
        settings << Named(SeemFixtures::AnsiString(18, 4), "Tail", "Display")   // bytes 18..21 of 20
                 << Named(SeemFixtures::Checkbox(20, 1, 1, 0), "Past", "Display");
        f.folder.writeSec("sample.sec", Header(0x32, 1), settings);
        f.open(f.seemPath);
        // The message names the first setting that failed and where its bytes lie (the
        // string reads what the file holds of it).
        QCOMPARE(f.platform.messages(),
                 QStringList(f.T("bvlMain.sIncompatible_M")
                             + "\n\nPast: its byte 20 (0x14) lies past the end of the SEEM file (20 bytes) (ERR 62)"));
        QCOMPARE(w.Document->settingPath(), f.secPath);   // the view is built all the same

        f.text(7)->setText("abc");   // would run past the end
        f.platform.clearCalls();
        f.platform.answerFile(f.seemPath);
        QVERIFY(!w.mnfSaveSEEM_Click());
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlEditSetting.wssInputDataError_M") + " (ERR 62)"));
        QCOMPARE(f.folder.bytes("0032_0001.seem"), SampleImage());
    }

    void unsavedEditsBeforeOpening_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("saveConfirmed");
        QTest::addColumn<bool>("opened");
        QTest::newRow("cancel") << MsgResult::Cancel << false << false;
        QTest::newRow("yes, save cancelled") << MsgResult::Yes << false << false;
        QTest::newRow("yes, saved") << MsgResult::Yes << true << true;
        QTest::newRow("no") << MsgResult::No << false << true;
    }
    void unsavedEditsBeforeOpening()
    {
        QFETCH(MsgResult, answer);
        QFETCH(bool, saveConfirmed);
        QFETCH(bool, opened);
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.text(3)->setText("9");
        const QString other = f.folder.writeBytes("0032_0001_b.seem", SampleImage());
        f.platform.answerMessage(answer);
        if (answer == MsgResult::Yes)
            saveConfirmed ? f.platform.answerFile(f.seemPath) : f.platform.cancelFile();
        if (opened)
            f.platform.answerFile(other);
        w.mnfOpenSEEM_Click();
        QVERIFY(f.platform.allAnswersUsed());
        QCOMPARE(w.Document->seemPath(), opened ? other : f.seemPath);
        QCOMPARE(f.text(3)->text(), QString(opened ? "200" : "9"));
        QCOMPARE(f.folder.bytes("0032_0001.seem").at(1), char(saveConfirmed ? 9 : 200));
    }
};

QTEST_MAIN(TestMainDocument)
#include "tst_maindocument.moc"
