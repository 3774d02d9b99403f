#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "support/Mnemonics.h"
#include "ui/CheckFindingTexts.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/language/ApplyLanguage.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

// Keys of every control of window that is tagged for its caption.
QStringList taggedKeys(QWidget *window)
{
    QStringList keys;
    const QList<QObject *> objects = window->findChildren<QObject *>();
    for (QObject *object : objects) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (widget && widget->window() != window && !qobject_cast<QMenu *>(widget))
            continue;   // a window of its own
        if (object->property(TagProperty).toString() == TagCaption)
            keys << ControlLangKey(window, object);
    }
    keys.sort();
    return keys;
}

// Texts the editor windows look up by key in their code.
const QStringList CodeKeys = {
    "bvlMain.mnuSetting",
    "bvlMain.sSave?_M",
    "bvlEditSetting.mnfOpenSetting",
    "bvlEditSetting.mnfSaveSetting",
    "bvlEditSetting.UnknownFile_M",
    "bvlEditSetting.UnsupportedVer_M",
    "bvlEditSetting.FileError_M",
    "bvlEditSetting.NoSettings_M",
    "bvlEditSetting.wssInputDataError_M",
    "bvlEditSetting.CopyMultiple?_M",
    "bvlEditSetting.DeleteMultiple?_M",
    "bvlEditSetting.ttGroup",
    "bvlEditSetting.cmtNewStateName_I",
    "bvlEditSetting.cmtAlreadyExist_M",
    "bvlEditSetting.StateNameSeparator_M",
    "bvlEditSetting.UnsupportedRecord_M",
    "bvlEditSettingDo.lbSettingGroup",
    // The byte map and its proposals over a folder of images.
    "bvlByteMap.sSurveyed_V",
    "bvlByteMap.sSelectedSurvey_V",
    "bvlByteMap.sCellTip_V",
    "bvlByteMap.sSurveyTooFew_M",
    "bvlProposals.sSeen_V",
    "bvlProposals.sSupport_V",
    "bvlProposals.sCountedState_V",
    "bvlProposals.sCountedStateOne_V",
    "bvlProposals.sSupported_V",
    "bvlProposals.sTextSeen_V",
    "bvlProposals.sNoneMany_V",
};

}   // namespace

class TestEditorLanguage : public QObject
{
    Q_OBJECT
private slots:
    void everyKeyInEveryShippedFile_data();
    void everyKeyInEveryShippedFile();
    void captionsComeFromTheLanguage();
    void everyCaptionHasItsOwnKeyInEveryLanguage();
    void f10OpensTheMenuBar();
    void checkFindingsAreWordedInEveryLanguage();
    void theCheckReportSpeaksTheUsersLanguage();
};

void TestEditorLanguage::everyKeyInEveryShippedFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("english") << "english.sel";
    QTest::newRow("italiano") << "italiano.sel";
}

void TestEditorLanguage::everyKeyInEveryShippedFile()
{
    QFETCH(QString, file);
    ScriptedPlatform platform;
    AppContext ctx(platform);
    QVERIFY(ctx.lang.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/") + file));

    bvlEditSetting editor(ctx);
    const QStringList editorKeys = taggedKeys(&editor);
    const QStringList dialogKeys = taggedKeys(editor.SettingDialog());
    const QStringList mapKeys = taggedKeys(editor.ByteMap());
    QCOMPARE(editorKeys.size(), 25);   // the Image and Edit menus, their items, Check, Compare and Merge among them
    QCOMPARE(mapKeys.size(), 19);      // the legend over a folder of images among them
    QCOMPARE(dialogKeys.size(), 23);
    QVERIFY(dialogKeys.contains("bvlEditSettingDo.opType(3)"));
    QVERIFY(taggedKeys(editor.GroupBrowser()).isEmpty());   // titled by code, not by tags

    QString value;
    for (const QString &key : editorKeys + dialogKeys + mapKeys + CodeKeys)
        QVERIFY2(ctx.lang.Lookup(key, value), qPrintable(file + ": " + key));
    // Building the windows looked up nothing in vain.
    QCOMPARE(platform.messages(), QStringList());
}

void TestEditorLanguage::captionsComeFromTheLanguage()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    QCOMPARE(Ui(editor).cmAdd->text(), QStringLiteral("A&dd"));
    QCOMPARE(Ui(editor).frGeneralInfo->title(), QStringLiteral("&General information"));
    QCOMPARE(Ui(editor).mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(Ui(editor).mnfNew->text(), QStringLiteral("&New setting file"));
    QCOMPARE(Ui(editor).mnfNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    bvlEditSettingDo *dialog = editor.SettingDialog();
    QCOMPARE(Ui(*dialog).opType[1]->text(), QStringLiteral("&Value list"));
    QCOMPARE(Ui(*dialog).cmCancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(Ui(*dialog).frSetting->title(), f.ctx.T(QStringLiteral("bvlEditSettingDo.frSetting")));
    QCOMPARE(Ui(*dialog).cmGroupBrowse->text(), QStringLiteral("..."));
}

// Alt and a letter reaches every command and box of the editor, the byte map and the
// setting dialog, and only one of them, in every shipped language.
void TestEditorLanguage::everyCaptionHasItsOwnKeyInEveryLanguage()
{
    const QStringList languages = QDir(QStringLiteral(BVL_DATA_DIR)).entryList({QStringLiteral("*.sel")});
    QVERIFY(languages.size() >= 8);
    QStringList faults;
    for (const QString &language : languages) {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        QVERIFY(ctx.lang.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/") + language));
        bvlEditSetting editor(ctx);
        faults << WindowMnemonicFaults(language + QStringLiteral(" editor"), &editor);
        for (const QMenu *menu : editor.findChildren<QMenu *>()) {
            faults << SharedMnemonics(language + QLatin1Char(' ') + menu->objectName(), menu->actions());
            for (const QAction *item : menu->actions()) {
                if (!item->isSeparator() && MnemonicOf(item->text()).isEmpty())
                    faults << language + QStringLiteral(": no letter in ") + item->text();
            }
        }
        faults << WindowMnemonicFaults(language + QStringLiteral(" byte map"), editor.ByteMap());
        faults << WindowMnemonicFaults(language + QStringLiteral(" setting dialog"), editor.SettingDialog());
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestEditorLanguage::f10OpensTheMenuBar()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    Ui(editor).txAuthor->setFocus();
    QTest::keyClick(Ui(editor).txAuthor, Qt::Key_F10);
    QTRY_VERIFY(Ui(editor).mnuFile->isVisible());
    QCOMPARE(Ui(editor).txAuthor->text(), QString());
    Ui(editor).mnuFile->close();
}

// Every rule of the check has its words in every language, with all its numbers placed
// and none left over, and translated.
void TestEditorLanguage::checkFindingsAreWordedInEveryLanguage()
{
    const QStringList languages = QDir(QStringLiteral(BVL_DATA_DIR)).entryList({QStringLiteral("*.sel")});
    EditorFixture english;
    QStringList faults;
    for (const QString &language : languages) {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        QVERIFY(ctx.lang.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/") + language));
        for (int rule = int(FitRule::WrongMagic); rule <= int(FitRule::TextTooLong); ++rule) {
            FitFinding finding{FitSeverity::Warning, {}, FitRule(rule), {3, 5, 7, 9}, {QStringLiteral("XY")}};
            finding.field = RecordField::Name;
            const QString text = LocalFindingMessage(ctx, finding);
            const QString where = QStringLiteral("%1 rule %2: \"%3\"").arg(language).arg(rule).arg(text);
            if (text.isEmpty() || text.contains(QRegularExpression(QStringLiteral("%\\d")))
                || text.contains(QStringLiteral("sFind")))
                faults << where;
            if (language != QLatin1String("english.sel") && text == LocalFindingMessage(english.ctx, finding))
                faults << where + QStringLiteral(" is the English text");
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// The editor's Check and the line under its list in German: the finding names the
// settings, says what is wrong in German and writes the byte as every window does.
void TestEditorLanguage::theCheckReportSpeaksTheUsersLanguage()
{
    EditorFixture f;
    QVERIFY(f.ctx.lang.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/deutsch.sel")));
    bvlEditSetting editor(f.ctx);
    SettingStruct a = MakeSetting(QStringLiteral("Ton"), QStringLiteral("Klang"), SettingType::Checkbox, 16);
    a.BitMask = 0x03;
    a.Values = QStringLiteral("1§0");
    SettingStruct b = a;
    b.Name = QStringLiteral("Laut");
    b.BitMask = 0x01;
    SettingStruct equal = MakeSetting(QStringLiteral("Stumm"), QStringLiteral("Klang"), SettingType::Checkbox, 17);
    equal.BitMask = 0x01;
    equal.Values = QStringLiteral("1§1");
    editor.AppendSettings({a, b, equal});
    QCOMPARE(Ui(editor).lbCheck->text(), QStringLiteral("Prüfung: 1 Fehler, 1 Warnung"));
    editor.mnfCheck_Click();
    const QStringList lines = f.platform.messages().last().split(QLatin1Char('\n'));
    QVERIFY2(
        lines.contains(QStringLiteral("Fehler: Klang\\Stumm (#3): ihre Werte für aktiviert und deaktiviert sind in "
                                      "ihren Bits 00000001 gleich")),
        qPrintable(lines.join('\n')));
    QVERIFY2(
        lines.contains(QStringLiteral("Warnung: Klang\\Ton (#1) und Klang\\Laut (#2): teilen sich die Bits 00000001 "
                                      "von Byte 16 (0x10)")),
        qPrintable(lines.join('\n')));

    // Twelve on that byte: the first eight named, the others counted, a name's "%1" kept.
    SettingList crowd;
    for (int i = 0; i < 10; ++i) {
        crowd << b;
        crowd.last().Name = i == 0 ? QStringLiteral("%1") : QStringLiteral("L%1").arg(i);
    }
    editor.AppendSettings(crowd);
    editor.mnfCheck_Click();
    QVERIFY2(f.platform.messages()
                 .last()
                 .split(QLatin1Char('\n'))
                 .contains(QStringLiteral("Warnung: Klang\\Ton (#1) und Klang\\Laut (#2) und Klang\\%1 (#4) und "
                                          "Klang\\L1 (#5) und Klang\\L2 (#6) und "
                                          "Klang\\L3 (#7) und Klang\\L4 (#8) und Klang\\L5 (#9) und 4 weitere: teilen "
                                          "sich die Bits 00000001 von Byte 16 (0x10)")),
             qPrintable(f.platform.messages().last()));
}

QTEST_MAIN(TestEditorLanguage)
#include "tst_editorlanguage.moc"
