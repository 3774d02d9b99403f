// The setting editor's file commands: New, Open and Save, their questions and refusals.
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/EditorSteps.h"
#include "support/FileBytes.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <sys/stat.h>

using namespace EditorSteps;

class TestEditorFiles : public QObject
{
    Q_OBJECT
private slots:
    void newAndOpenAskOnlyWhenChanged();
    void headerTypingCountsAsChange();
    void unsavedFileSurvivesAFailedSave_data();
    void unsavedFileSurvivesAFailedSave();
    void saveRefusals_data();
    void saveRefusals();
    void saveWritesHeaderAndStampsVersion();
    void failedWriteKeepsThePreviousFile();
    void openShowsTheFile();
    void openRefusalsKeepTheWindow_data();
    void openRefusalsKeepTheWindow();
    void unshowableRecordSavedExactlyAsRead();
    void fileTextsShowLiterally();
    void fileDialogsStartInTheFilesFolder();
};

void TestEditorFiles::newAndOpenAskOnlyWhenChanged()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);

    // Nothing changed: no question.
    editor.mnfNew_Click();
    QVERIFY(f.platform.calls.isEmpty());

    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("G"));
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    f.platform.answerMessage(MsgResult::Cancel);
    editor.mnfNew_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlMain.sSave?_M"))}));
    QCOMPARE(f.platform.calls.last().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Question);
    QCOMPARE(editor.Document().records().size(), 1);
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));

    // Open asks first; Cancel stops before the file dialog.
    f.platform.clearCalls();
    f.platform.answerMessage(MsgResult::Cancel);
    editor.mnfOpenSetting_Click();
    QCOMPARE(f.platform.calls.size(), 1);

    // No discards: New clears the boxes and the version line.
    f.platform.answerMessage(MsgResult::No);
    editor.mnfNew_Click();
    QVERIFY(editor.Document().records().isEmpty());
    QCOMPARE(Ui(editor).lsSettings->count(), 0);
    QVERIFY(Ui(editor).txAuthor->text().isEmpty());
    QVERIFY(Ui(editor).lbFileVer->text().isEmpty());
    QVERIFY(editor.FileSaved());

    // A file just opened counts as saved, although the boxes were filled.
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(), {MakeSetting("x", "G", SettingType::Int8)});
    f.platform.clearCalls();
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();
    QVERIFY(editor.FileSaved());
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();   // no question, and a cancelled dialog is silent
    QCOMPARE(f.platform.messages(), QStringList());
    QCOMPARE(editor.Document().records().size(), 1);
    QVERIFY(f.platform.allAnswersUsed());
}

void TestEditorFiles::headerTypingCountsAsChange()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    editor.show();
    for (QLineEdit *box : {Ui(editor).txAuthor, Ui(editor).txPhones, Ui(editor).txSEEMNr, Ui(editor).txSEEMRec}) {
        editor.UndoStack()->setClean();
        QTest::keyClicks(box, QStringLiteral("7"));
        QVERIFY2(!editor.FileSaved(), qPrintable(box->objectName()));
    }
    f.platform.answerMessage(MsgResult::Cancel);
    editor.close();
    QVERIFY(editor.isVisible());
    f.platform.answerMessage(MsgResult::No);
    editor.close();
    QVERIFY(!editor.isVisible());
    QCOMPARE(f.platform.messages().size(), 2);
}

void TestEditorFiles::unsavedFileSurvivesAFailedSave_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("writeFails");
    for (const char *command : {"new", "open", "close"}) {
        QTest::addRow("%s, save dialog cancelled", command) << command << false;
        QTest::addRow("%s, write fails", command) << command << true;
    }
}

void TestEditorFiles::unsavedFileSurvivesAFailedSave()
{
    QFETCH(QString, command);
    QFETCH(bool, writeFails);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    editor.show();
    addThroughDialog(editor, QStringLiteral("A"), QStringLiteral("G"));
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    const SettingList before = editor.Document().records();

    f.platform.answerMessage(MsgResult::Yes);
    if (writeFails)
        f.platform.answerFile(dir.filePath(QStringLiteral("missing-folder/x.sec")));
    else
        f.platform.cancelFile();
    if (command == QLatin1String("new"))
        editor.mnfNew_Click();
    else if (command == QLatin1String("open"))
        editor.mnfOpenSetting_Click();   // stops before its own file dialog
    else
        editor.close();

    QVERIFY(f.platform.allAnswersUsed());
    QCOMPARE(editor.Document().records(), before);
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));
    QVERIFY(!editor.FileSaved());
    QVERIFY(editor.isVisible());
    if (writeFails)
        QCOMPARE(f.platform.messages().last(), inputError(f.ctx, 75));
}

void TestEditorFiles::saveRefusals_data()
{
    QTest::addColumn<QString>("seemNr");
    QTest::addColumn<QString>("seemRec");
    QTest::addColumn<int>("error");
    QTest::newRow("SEEM number 10000 overflows 16 bits") << "10000"
                                                         << "1" << 6;
    QTest::newRow("record 10000") << "32"
                                  << "10000" << 6;
    QTest::newRow("not hexadecimal") << "G1"
                                     << "1" << 513;
    QTest::newRow("blank inside") << "1 2"
                                  << "1" << 6;
}

void TestEditorFiles::saveRefusals()
{
    QFETCH(QString, seemNr);
    QFETCH(QString, seemRec);
    QFETCH(int, error);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);

    // No settings: refused before the save dialog.
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Information);
    QCOMPARE(f.platform.calls.size(), 1);

    load(editor, {"a"});
    editor.UndoStack()->resetClean();
    Ui(editor).txSEEMNr->setText(seemNr);
    Ui(editor).txSEEMRec->setText(seemRec);
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.clearCalls();
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList({inputError(f.ctx, error)}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("V") + VersionString());
}

void TestEditorFiles::saveWritesHeaderAndStampsVersion()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"b", "a"});
    Ui(editor).txAuthor->setText(QStringLiteral("Ann"));
    Ui(editor).txPhones->setText(QStringLiteral("Vaka 3, Vaka 3€"));
    Ui(editor).txSEEMNr->setText(QStringLiteral("7fff"));
    Ui(editor).txSEEMRec->clear();   // empty gives 0
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages(), QStringList());
    const ScriptedPlatform::Call dialog = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).first();
    QCOMPARE(dialog.text, f.ctx.Title(QStringLiteral("bvlEditSetting.mnfSaveSetting")));
    QCOMPARE(dialog.filter, QStringLiteral("Setting file (*.sec)|*.sec"));
    QVERIFY(editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (") + VersionString() + QLatin1Char(')'));

    SettingFileHeader h;
    SettingList settings;
    ReadSettingFile(path, h, settings);
    QCOMPARE(h.Magic, QStringLiteral("sec"));
    QCOMPARE(h.FileVersion, quint8(3));
    QCOMPARE(h.ProgramVersion, VersionString());
    QCOMPARE(h.SEEMNr, qint16(0x7FFF));
    QCOMPARE(h.SEEMRec, qint16(0));
    QCOMPARE(h.Phones, QStringLiteral("Vaka 3, Vaka 3€"));
    QCOMPARE(h.Author, QStringLiteral("Ann"));
    QCOMPARE(h.SettingCount, 2);
    QCOMPARE(settings, editor.Document().records());
    QCOMPARE(editor.Document().readHeader(), h);
}

void TestEditorFiles::failedWriteKeepsThePreviousFile()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"a"});
    const QString path = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    const QByteArray saved = FileBytes(path);
    QVERIFY(!saved.isEmpty());
    Ui(editor).lbFileVer->setText(QStringLiteral("marker"));

    // A name or an author the file's code page cannot hold fails the write as a whole,
    // named with its setting, field and character.
    SettingStruct renamed = editor.Document().record(1);
    renamed.Name = QStringLiteral("名");
    editor.Document().replaceRecord(1, renamed, QStringLiteral("Rename"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages().last(),
             QStringLiteral("Ga\\名 (#1): its name has the character \"名\" (U+540D), which Windows-1252 cannot hold "
                            "(ERR 13)"));
    QCOMPARE(FileBytes(path), saved);
    QVERIFY(!editor.FileSaved());
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("marker"));
    renamed.Name = QStringLiteral("a");
    editor.Document().replaceRecord(1, renamed, QStringLiteral("Rename"));
    Ui(editor).txAuthor->setText(QStringLiteral("名"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting_Click();
    QVERIFY2(f.platform.messages().last().startsWith(QStringLiteral("the author has the character")),
             qPrintable(f.platform.messages().last()));
    QCOMPARE(FileBytes(path), saved);
    Ui(editor).txAuthor->clear();

    // A FIFO is not replaced by a regular file: the save fails and counts as unsaved.
    const QString fifo = dir.filePath(QStringLiteral("pipe.sec"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    renamed.Name = QStringLiteral("a");
    editor.Document().replaceRecord(1, renamed, QStringLiteral("Rename"));
    f.platform.answerFile(fifo);
    editor.mnfSaveSetting_Click();
    QCOMPARE(f.platform.messages().last(), inputError(f.ctx, 75));
    QVERIFY(!editor.FileSaved());
    QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo(fifo).exists());
}

void TestEditorFiles::openShowsTheFile()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingStruct beep = MakeSetting("Beep", "Sound", SettingType::Checkbox, 16);
    beep.BitMask = 1;
    beep.Values = "1§0";
    const SettingList settings = {MakeSetting("Zoom", "Display", SettingType::Int8), beep};
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(0x32, -1), settings);
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();

    const ScriptedPlatform::Call dialog = f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).first();
    QCOMPARE(dialog.text, f.ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSetting")));
    QCOMPARE(dialog.filter, QStringLiteral("Setting file (*.sec)|*.sec"));
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("Ann"));
    QCOMPARE(Ui(editor).txPhones->text(), QStringLiteral("Vaka 3"));
    QCOMPARE(Ui(editor).txSEEMNr->text(), QStringLiteral("32"));
    QCOMPARE(Ui(editor).txSEEMRec->text(), QStringLiteral("FFFF"));
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (0.9_Old)"));
    QCOMPARE(editor.Document().records(), settings);
    QCOMPARE(listTexts(editor), QStringList({"Beep", "Zoom"}));
    verifyListMapsRecords(editor);
    QVERIFY(editor.FileSaved());
    QCOMPARE(f.platform.messages(), QStringList());
}

void TestEditorFiles::openRefusalsKeepTheWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("messageKeys");   // keys, or texts starting with "="
    QTest::newRow("magic in capitals") << "magic" << QStringList({"bvlEditSetting.UnknownFile_M"});
    QTest::newRow("version 2") << "version" << QStringList({"bvlEditSetting.UnsupportedVer_M", "= V2"});
    QTest::newRow("missing file") << "missing" << QStringList({"=ReadSettingFile(", "bvlEditSetting.FileError_M"});
    QTest::newRow("truncated file") << "truncated"
                                    << QStringList(
                                           {"=f.sec is not a whole setting file: it ends inside record 1 (ERR 62)"});
    // Its counts run past its end, but the point is that it is no setting file.
    QTest::newRow("language file renamed") << "language" << QStringList({"bvlEditSetting.UnknownFile_M"});
    QTest::newRow("group path of 32767 levels") << "deep" << QStringList({"bvlEditSetting.GroupPathTooLong_M"});
}

void TestEditorFiles::openRefusalsKeepTheWindow()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, messageKeys);
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    load(editor, {"kept"});
    Ui(editor).txAuthor->setText(QStringLiteral("me"));
    editor.UndoStack()->setClean();
    const SettingList before = editor.Document().records();

    SettingFileHeader h = header();
    QString path = dir.filePath(QStringLiteral("missing.sec"));
    if (kind == QLatin1String("magic")) {
        h.Magic = QStringLiteral("SEC");
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
    } else if (kind == QLatin1String("version")) {
        h.FileVersion = 2;
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
    } else if (kind == QLatin1String("truncated")) {
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", "G", SettingType::Int8)});
        QFile file(path);
        QVERIFY(file.resize(file.size() - 3));
    } else if (kind == QLatin1String("language")) {
        path = dir.filePath(QStringLiteral("english.sec"));
        QVERIFY(QFile::copy(QStringLiteral(BVL_DATA_DIR "/english.sel"), path));
    } else if (kind == QLatin1String("deep")) {
        const QString deep = QStringList(32767, QStringLiteral("a")).join(GroupSeparator);
        path = writeFile(dir, QStringLiteral("f.sec"), h, {MakeSetting("new", deep, SettingType::Int8)});
        QVERIFY(QFileInfo(path).size() > 65000);
    }
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();

    const QStringList shown = f.platform.messages();
    QCOMPARE(shown.size(), messageKeys.size() == 2 && messageKeys[1].startsWith('=') ? 1 : messageKeys.size());
    QString expectedFirst = messageKeys[0].startsWith('=') ? messageKeys[0].mid(1) : f.ctx.T(messageKeys[0]);
    if (messageKeys.size() == 2 && messageKeys[1].startsWith('='))
        expectedFirst += messageKeys[1].mid(1);
    QVERIFY2(shown[0].startsWith(expectedFirst), qPrintable(shown[0]));
    if (shown.size() == 2)
        QCOMPARE(shown[1], f.ctx.T(messageKeys[1]));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);

    // The window still shows, and holds, the file it had.
    QCOMPARE(editor.Document().records(), before);
    QCOMPARE(listTexts(editor), QStringList({"kept"}));
    QCOMPARE(Ui(editor).txAuthor->text(), QStringLiteral("me"));
    verifyListMapsRecords(editor);
}

void TestEditorFiles::unshowableRecordSavedExactlyAsRead()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingStruct odd = MakeSetting("odd", "G", SettingType::Int8, 3);
    odd.Type = 9;
    odd.UIIndex = 5;
    odd.ValueNames = "A§B";
    odd.Values = "300§x";
    SettingStruct list = MakeSetting("list", "G", SettingType::ValueList, 4);
    list.BitMask = 0x0F;
    list.ValueNames = "A§B§C";
    list.Values = "1§2";
    const SettingList settings = {odd, list};
    const QString source = writeFile(dir, QStringLiteral("in.sec"), header(), settings);
    f.platform.answerFile(source);
    editor.mnfOpenSetting_Click();

    for (const QString &name : {QStringLiteral("odd"), QStringLiteral("list")}) {
        select(editor, {name});
        UnexpectedModalGuard guard;
        editor.cmEdit_Click();
        QVERIFY(!guard.opened);
    }
    QCOMPARE(f.platform.messages().size(), 2);

    const QString target = dir.filePath(QStringLiteral("out.sec"));
    f.platform.answerFile(target);
    editor.mnfSaveSetting_Click();
    SettingFileHeader h;
    SettingList reread;
    ReadSettingFile(target, h, reread);
    QCOMPARE(reread, settings);
}

void TestEditorFiles::fileTextsShowLiterally()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    SettingFileHeader h = header();
    h.ProgramVersion = QStringLiteral("<i>0.9</i>");
    f.platform.answerFile(
        writeFile(dir, QStringLiteral("a.sec"), h, {MakeSetting("<b>x</b>", "<b>g</b>", SettingType::Int8)}));
    editor.mnfOpenSetting_Click();
    Ui(editor).lsSettings->setCurrentRow(0);

    QCOMPARE(Ui(editor).lbSettingGroup->text(), QStringLiteral("Group: \"<b>g</b>\""));
    QCOMPARE(Ui(editor).lbFileVer->text(), QStringLiteral("File V3 (<i>0.9</i>)"));
    for (QLabel *label : {Ui(editor).lbSettingGroup, Ui(editor).lbFileVer})
        QCOMPARE(label->textFormat(), Qt::PlainText);   // never guessed to be markup
}

// The dialogs start in the folder of the file in the window; with none, the platform
// chooses.
void TestEditorFiles::fileDialogsStartInTheFilesFolder()
{
    EditorFixture f;
    QTemporaryDir dir;
    bvlEditSetting editor(f.ctx);
    const QString path = writeFile(dir, QStringLiteral("a.sec"), header(), {MakeSetting("a", "G", SettingType::Int8)});
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    f.platform.answerFile(path);
    editor.mnfOpenSetting_Click();
    f.platform.cancelFile();
    editor.mnfSaveSetting_Click();
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();
    editor.mnfNew_Click();
    f.platform.cancelFile();
    editor.mnfOpenSetting_Click();

    QStringList proposed;
    for (const ScriptedPlatform::Call &call : f.platform.calls)
        proposed << call.proposed;
    // Save proposes the open file itself, in its folder.
    QCOMPARE(proposed, QStringList({QString(), path, folder, QString()}));
}

QTEST_MAIN(TestEditorFiles)
#include "tst_editorfiles.moc"
