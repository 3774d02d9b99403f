#include "ui/language/ApplyLanguage.h"
#include "support/EditorFixtures.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
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
            continue; // a window of its own
        if (object->property(TagProperty).toString() == TagCaption)
            keys << ControlLangKey(window, object);
    }
    keys.sort();
    return keys;
}

// Texts the editor windows look up by key in their code.
const QStringList CodeKeys = {
    "bvlMain.mnuSetting",                  "bvlMain.sSave?_M",
    "bvlEditSetting.mnfOpenSetting",       "bvlEditSetting.mnfSaveSetting",
    "bvlEditSetting.UnknownFile_M",        "bvlEditSetting.UnsupportedVer_M",
    "bvlEditSetting.FileError_M",          "bvlEditSetting.NoSettings_M",
    "bvlEditSetting.wssInputDataError_M",  "bvlEditSetting.CopyMultiple?_M",
    "bvlEditSetting.DeleteMultiple?_M",    "bvlEditSetting.ttGroup",
    "bvlEditSetting.cmtNewStateName_I",    "bvlEditSetting.cmtAlreadyExist_M",
    "bvlEditSetting.StateNameSeparator_M", "bvlEditSetting.UnsupportedRecord_M",
    "bvlEditSettingDo.lbSettingGroup",
};

}

class TestEditorLanguage : public QObject
{
    Q_OBJECT
private slots:
    void everyKeyInEveryShippedFile_data();
    void everyKeyInEveryShippedFile();
    void captionsComeFromTheLanguage();
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
    QCOMPARE(editorKeys.size(), 22);   // the Image and Edit menus, their items and Check among them
    QCOMPARE(mapKeys.size(), 13);
    QCOMPARE(dialogKeys.size(), 23);
    QVERIFY(dialogKeys.contains("bvlEditSettingDo.opType(3)"));
    QVERIFY(taggedKeys(editor.GroupBrowser()).isEmpty()); // titled by code, not by tags

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
    QCOMPARE(editor.cmAdd->text(), QStringLiteral("Add"));
    QCOMPARE(editor.frGeneralInfo->title(), QStringLiteral("General information"));
    QCOMPARE(editor.mnuFile->title(), QStringLiteral("File"));
    QCOMPARE(editor.mnfNew->text(), QStringLiteral("New setting file"));
    QCOMPARE(editor.mnfNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    bvlEditSettingDo *dialog = editor.SettingDialog();
    QCOMPARE(dialog->opType[1]->text(), QStringLiteral("Value list"));
    QCOMPARE(dialog->cmCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog->frSetting->title(), f.ctx.T(QStringLiteral("bvlEditSettingDo.frSetting")));
    QCOMPARE(dialog->cmGroupBrowse->text(), QStringLiteral("..."));
}

QTEST_MAIN(TestEditorLanguage)
#include "tst_editorlanguage.moc"
