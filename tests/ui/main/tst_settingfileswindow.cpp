// The per-user folder in the windows: the automatic choice, the language list and the
// setting editor's Save use it; the "Setting files" window and a drop onto the main
// window install into it and remove from it.
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/language/bvlLanguage.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QDir>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

using namespace MainFixtures;

namespace {

QString UserFile(MainFixture &f, const QString &name)
{
    return JoinPath(f.platform.user, name);
}

// A setting file for SEEM 32_1 whose first setting is named firstName.
QByteArray SecNamed(const QString &firstName, const QString &author = QStringLiteral("Me"))
{
    SettingList settings = SampleSettings();
    settings[0].Name = firstName;
    SettingFileHeader header = Header(0x32, 1, author);
    header.SettingCount = settings.size();
    return EncodeSettingFile(header, settings);
}

QStringList Column(const QTreeWidget *list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

void SelectFile(bvlSettingFiles &files, const QString &name)
{
    for (int row = 0; row < files.lsFiles->topLevelItemCount(); ++row)
        if (files.lsFiles->topLevelItem(row)->text(bvlSettingFiles::FileColumn) == name)
            files.lsFiles->setCurrentItem(files.lsFiles->topLevelItem(row));
}

}   // namespace

class TestSettingFilesWindow : public QObject
{
    Q_OBJECT
private slots:
    void automaticChoiceTakesTheUsersOwnFile();
    void listInstallsAsksBeforeReplacingAndRemoves();
    void replaceQuestionSaysWhatTheNewVersionChanges();
    void refusedFilesAreNamedWithTheirReason();
    void droppedFilesAreInstalledOrOpened();
    void editorSavesNewFilesIntoThePerUserFolder();
    void languageListShowsTheUsersOwnFilesFirst();
};

void TestSettingFilesWindow::automaticChoiceTakesTheUsersOwnFile()
{
    MainFixture f;
    f.open(f.seemPath);
    QCOMPARE(f.window->Document->settingPath(), f.secPath);
    QVERIFY(!QFileInfo::exists(f.platform.user));   // nothing made by looking

    QDir().mkpath(f.platform.user);
    ProgramFolder scratch;
    QFile::copy(scratch.writeBytes(QStringLiteral("mine.sec"), SecNamed(QStringLiteral("My beep"))),
                UserFile(f, QStringLiteral("mine.sec")));
    f.open(f.seemPath);
    QCOMPARE(f.window->Document->settingPath(), UserFile(f, QStringLiteral("mine.sec")));
    QCOMPARE(f.window->Settings.first().Name, QStringLiteral("My beep"));
}

void TestSettingFilesWindow::listInstallsAsksBeforeReplacingAndRemoves()
{
    MainFixture f;
    ProgramFolder downloads;
    bvlSettingFiles files(f.ctx, f.window.get());
    QCOMPARE(files.windowTitle(), f.T(QStringLiteral("bvlSettingFiles.sTitle_V")));
    QCOMPARE(files.cmInstall->text(), f.T(QStringLiteral("bvlSettingFiles.cmInstall")));
    QCOMPARE(Column(files.lsFiles, bvlSettingFiles::FileColumn), QStringList({"sample.sec"}));
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::FolderColumn),
             f.T(QStringLiteral("bvlSettingFiles.sShipped_V")));
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::SeemColumn), QStringLiteral("32"));
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::CheckColumn),
             f.T(QStringLiteral("bvlSettingFiles.sCheckOk_V")));
    SelectFile(files, QStringLiteral("sample.sec"));
    QVERIFY(!files.cmRemove->isEnabled());   // shipped files stay
    QVERIFY(files.cmOpenInEditor->isEnabled());

    // Install: copied into the per-user folder and listed first.
    const QByteArray first = SecNamed(QStringLiteral("One"), QStringLiteral("First"));
    f.platform.answerFile(downloads.writeBytes(QStringLiteral("phone.sec"), first));
    files.cmInstall_Click();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).last().text,
             f.T(QStringLiteral("bvlSettingFiles.cmInstall")));
    QCOMPARE(Column(files.lsFiles, bvlSettingFiles::FileColumn), QStringList({"phone.sec", "sample.sec"}));
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::AuthorColumn), QStringLiteral("First"));

    // The same name again: replaced only after Yes.
    const QByteArray second = SecNamed(QStringLiteral("Two"), QStringLiteral("Second"));
    downloads.writeBytes(QStringLiteral("phone.sec"), second);
    f.platform.answerFile(downloads.file(QStringLiteral("phone.sec")));
    f.platform.answerMessage(MsgResult::No);
    files.cmInstall_Click();
    QVERIFY(f.platform.messages().last().startsWith(f.T(QStringLiteral("bvlSettingFiles.sReplace?_M"))));
    QCOMPARE(f.platform.calls.last().defaultAnswer, MsgDefault::No);
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::AuthorColumn), QStringLiteral("First"));
    f.platform.answerFile(downloads.file(QStringLiteral("phone.sec")));
    f.platform.answerMessage(MsgResult::Yes);
    files.cmInstall_Click();
    QCOMPARE(files.lsFiles->topLevelItem(0)->text(bvlSettingFiles::AuthorColumn), QStringLiteral("Second"));
    QFile installed(UserFile(f, QStringLiteral("phone.sec")));
    QVERIFY(installed.open(QIODevice::ReadOnly));
    QCOMPARE(installed.readAll(), second);
    installed.close();

    // Show folder: the selected file's folder, as a file URL for the desktop.
    SelectFile(files, QStringLiteral("phone.sec"));
    files.cmShowFolder_Click();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::ShellOpen).last().text,
             QUrl::fromLocalFile(f.platform.user).toString());

    // Remove: per-user files only, after a question.
    QVERIFY(files.cmRemove->isEnabled());
    f.platform.answerMessage(MsgResult::No);
    files.cmRemove_Click();
    QVERIFY(installed.exists());
    SelectFile(files, QStringLiteral("phone.sec"));
    f.platform.answerMessage(MsgResult::Yes);
    files.cmRemove_Click();
    QVERIFY(f.platform.messages().last().startsWith(f.T(QStringLiteral("bvlSettingFiles.sRemove?_M"))));
    QCOMPARE(f.platform.calls.last().defaultAnswer, MsgDefault::No);
    QVERIFY(!installed.exists());
    QCOMPARE(Column(files.lsFiles, bvlSettingFiles::FileColumn), QStringList({"sample.sec"}));

    // Open in setting editor hands the file to the main window once the list has closed.
    SelectFile(files, QStringLiteral("sample.sec"));
    files.cmOpenInEditor_Click();
    QCOMPARE(files.FileToOpen(), f.secPath);
    QVERIFY(f.platform.allAnswersUsed());
}

void TestSettingFilesWindow::replaceQuestionSaysWhatTheNewVersionChanges()
{
    MainFixture f;
    ProgramFolder downloads;
    bvlSettingFiles files(f.ctx, f.window.get());
    const QString installed = UserFile(f, QStringLiteral("phone.sec"));
    const auto install = [&](const QByteArray &bytes, MsgResult answer) {
        f.platform.answerFile(downloads.writeBytes(QStringLiteral("phone.sec"), bytes));
        f.platform.answerMessage(answer);
        files.cmInstall_Click();
        const QString question = f.platform.messages().last();
        const QString asked = f.T(QStringLiteral("bvlSettingFiles.sReplace?_M")) + QStringLiteral(" \"") + installed
                              + QStringLiteral("\"\n\n");
        if (!question.startsWith(asked))
            QTest::qFail(qPrintable(question), __FILE__, __LINE__);
        return question.mid(asked.size());
    };
    f.platform.answerFile(downloads.writeSec(QStringLiteral("phone.sec"), Header(0x32, 1), SampleSettings()));
    files.cmInstall_Click();

    // Beep renamed where it stands, Volume described anew, Roaming gone, seven added.
    SettingList next = SampleSettings();
    next[0].Name = QStringLiteral("Key beep");
    next[1].Description = QStringLiteral("Louder");
    next.removeLast();
    for (int i = 1; i <= 7; ++i)
        next << Named(SeemFixtures::Int8(19), QStringLiteral("X%1").arg(i), QStringLiteral("Extra"));
    SettingFileHeader header = Header(0x32, 1, QStringLiteral("Bob"));
    header.SettingCount = next.size();
    QCOMPARE(install(EncodeSettingFile(header, next), MsgResult::No),
             QStringLiteral("What the new version changes:\n"
                            "7 settings added: Extra\\X1, Extra\\X2, Extra\\X3, Extra\\X4, Extra\\X5 and 2 more\n"
                            "1 setting removed: Net\\Roaming\n"
                            "1 setting renamed: Sound\\Beep -> Sound\\Key beep\n"
                            "1 setting changed: Sound\\Volume\n"
                            "Header: Author"));
    QCOMPARE(QFileInfo(installed).size(), EncodeSettingFile(Header(0x32, 1), SampleSettings()).size());

    // The same again; a damaged file in the folder cannot be compared.
    QFile file(installed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray same = file.readAll();
    file.close();
    QCOMPARE(install(same, MsgResult::No), f.T(QStringLiteral("bvlSettingFiles.sSameVersion_V")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(same.left(30)) == 30);
    file.close();
    QCOMPARE(install(same, MsgResult::Yes), f.T(QStringLiteral("bvlSettingFiles.sOldUnreadable_V")));
    QCOMPARE(QFileInfo(installed).size(), same.size());
    QVERIFY(f.platform.allAnswersUsed());
}

void TestSettingFilesWindow::refusedFilesAreNamedWithTheirReason()
{
    MainFixture f;
    ProgramFolder downloads;
    const QString notes = downloads.writeBytes(QStringLiteral("notes.sec"), "not a setting file");
    const QString cut = downloads.writeBytes(QStringLiteral("cut.sec"), SecNamed(QStringLiteral("Cut")).left(40));
    // Cut two bytes into its second record: too short for the six records it counts.
    SettingFileHeader counted = Header(0x32, 1, QStringLiteral("Me"));
    counted.SettingCount = 6;
    SettingList first = SampleSettings().mid(0, 1);
    first[0].Name = QStringLiteral("Short");
    const QString cutShort =
        downloads.writeBytes(QStringLiteral("short.sec"),
                             SecNamed(QStringLiteral("Short")).left(EncodeSettingFile(counted, first).size() + 2));
    // Cut where that record ends: it holds one whole record of the six.
    const QString cutAtRecord = downloads.writeBytes(
        QStringLiteral("whole.sec"), SecNamed(QStringLiteral("Short")).left(EncodeSettingFile(counted, first).size()));
    SettingFileHeader v2 = Header(0x32, 1);
    v2.FileVersion = 2;
    const QString old = downloads.writeSec(QStringLiteral("old.sec"), v2, SampleSettings());
    const QString good = downloads.writeBytes(QStringLiteral("good.sec"), SecNamed(QStringLiteral("Good")));
    f.window->DropFiles({notes, cut, cutShort, cutAtRecord, good, old});

    QCOMPARE(f.platform.messages().size(), 1);
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QCOMPARE(f.platform.messages().first(),
             f.T(QStringLiteral("bvlSettingFiles.sNotInstalled_M")) + QStringLiteral("\n\"") + notes
                 + QStringLiteral("\": ") + f.T(QStringLiteral("bvlSettingFiles.sNotSettingFile_V"))
                 + QStringLiteral("\ncut.sec is not a whole setting file: it ends inside its header (ERR 62)"
                                  "\nshort.sec is not a whole setting file: it ends inside record 2 (ERR 7)"
                                  "\nwhole.sec is not a whole setting file: it ends after record 1 of the 6 its "
                                  "header counts (ERR 7)\n\"")
                 + old + QStringLiteral("\": ") + f.T(QStringLiteral("bvlSettingFiles.sUnsupportedVersion_V"))
                 + QStringLiteral(" V2"));
    QCOMPARE(QDir(f.platform.user).entryList(QDir::Files), QStringList({"good.sec"}));

    // Put there by other means, the list says where it ends too.
    QVERIFY(QFile::copy(cutShort, QDir(f.platform.user).filePath(QStringLiteral("short.sec"))));
    QVERIFY(QFile::copy(cutAtRecord, QDir(f.platform.user).filePath(QStringLiteral("whole.sec"))));
    bvlSettingFiles files(f.ctx, f.window.get());
    const QStringList shown = Column(files.lsFiles, bvlSettingFiles::FileColumn);
    QVERIFY(shown.contains(QStringLiteral("short.sec")) && shown.contains(QStringLiteral("whole.sec")));
    QCOMPARE(files.lsFiles->topLevelItem(int(shown.indexOf(QStringLiteral("short.sec"))))
                 ->text(bvlSettingFiles::CheckColumn),
             QStringLiteral("not whole: ends inside record 2 (ERR 7)"));
    QCOMPARE(files.lsFiles->topLevelItem(int(shown.indexOf(QStringLiteral("whole.sec"))))
                 ->text(bvlSettingFiles::CheckColumn),
             QStringLiteral("not whole: ends after record 1 of 6 (ERR 7)"));

    // A file with one finding is counted in the singular (two settings on the same bits).
    SettingList twins = SampleSettings();
    SettingStruct twin = twins.first();
    twin.Name = QStringLiteral("Twin");
    twins << twin;
    QVERIFY(QFile::copy(downloads.writeSec(QStringLiteral("twins.sec"), Header(0x32, 1), twins),
                        QDir(f.platform.user).filePath(QStringLiteral("twins.sec"))));
    bvlSettingFiles again(f.ctx, f.window.get());
    const int twinsRow = int(Column(again.lsFiles, bvlSettingFiles::FileColumn).indexOf(QStringLiteral("twins.sec")));
    QVERIFY(twinsRow >= 0);
    QCOMPARE(again.lsFiles->topLevelItem(twinsRow)->text(bvlSettingFiles::CheckColumn), QStringLiteral("1 warning"));
}

void TestSettingFilesWindow::droppedFilesAreInstalledOrOpened()
{
    MainFixture f;
    f.window->show();
    ProgramFolder downloads;
    const QString sec = downloads.writeBytes(QStringLiteral("mine.sec"), SecNamed(QStringLiteral("Dropped beep")));
    const QString seem = downloads.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(sec), QUrl::fromLocalFile(seem)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.get(), &drop);

    // Installed first, so the image dropped with it is opened through it.
    QVERIFY(QFileInfo::exists(UserFile(f, QStringLiteral("mine.sec"))));
    QCOMPARE(f.window->Document->seemPath(), seem);
    QCOMPARE(f.window->Document->settingPath(), UserFile(f, QStringLiteral("mine.sec")));
    QCOMPARE(f.window->Settings.first().Name, QStringLiteral("Dropped beep"));

    // With unsaved edits, a dropped image asks first; Cancel keeps the document.
    f.check(1)->setChecked(!f.check(1)->isChecked());
    f.platform.answerMessage(MsgResult::Cancel);
    f.window->DropFiles({f.seemPath});
    QCOMPARE(f.window->Document->seemPath(), seem);
    QVERIFY(f.platform.allAnswersUsed());
}

void TestSettingFilesWindow::editorSavesNewFilesIntoThePerUserFolder()
{
    MainFixture f;
    bvlEditSetting editor(f.ctx);
    PutRecords(editor, SampleSettings());
    Ui(editor).txSEEMNr->setText(QStringLiteral("32"));
    Ui(editor).txSEEMRec->setText(QStringLiteral("1"));
    f.platform.cancelFile();
    QVERIFY(!editor.SaveSettingFile());
    const QString proposed = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).last().proposed;
    QCOMPARE(proposed, QDir::toNativeSeparators(f.platform.user) + QDir::separator());
    QVERIFY(QFileInfo(proposed).isDir());   // made for the dialog to start in

    // Saved there, the automatic choice finds it from then on.
    f.platform.answerFile(UserFile(f, QStringLiteral("authored.sec")));
    QVERIFY(editor.SaveSettingFile());
    f.open(f.seemPath);
    QCOMPARE(f.window->Document->settingPath(), UserFile(f, QStringLiteral("authored.sec")));

    // A file opened from a writable folder is proposed where it is, under its own name.
    f.platform.answerFile(f.secPath);
    editor.mnfOpenSetting_Click();
    f.platform.cancelFile();
    editor.SaveSettingFile();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).last().proposed, QDir::toNativeSeparators(f.secPath));
}

void TestSettingFilesWindow::languageListShowsTheUsersOwnFilesFirst()
{
    MainFixture f;
    QDir().mkpath(f.platform.user);
    QFile mine(UserFile(f, QStringLiteral("zz-mine.sel")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("Main.LangName=Mine\r\n");
    mine.close();
    bvlLanguage dialog(f.ctx, f.window.get());
    QVERIFY(dialog.FillUp(false));
    QCOMPARE(dialog.lsLanguages->count(), 2);
    QCOMPARE(dialog.lsLanguages->item(0)->text(), QStringLiteral("Mine"));
    QCOMPARE(dialog.lsLanguages->item(1)->text(), QStringLiteral("English"));
}

QTEST_MAIN(TestSettingFilesWindow)
#include "tst_settingfileswindow.moc"
