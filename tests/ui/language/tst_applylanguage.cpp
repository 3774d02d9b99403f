#include "lang/LangTable.h"
#include "support/LangTestFiles.h"
#include "support/ScriptedPlatform.h"
#include "ui/ControlNames.h"
#include "ui/language/ApplyLanguage.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

template<typename T> T *named(T *object, const QString &name, const QString &tag = TagCaption)
{
    object->setObjectName(name);
    if (!tag.isEmpty())
        object->setProperty(TagProperty, tag);
    return object;
}

// A window laid out like the program's windows: a menu bar, a pop-up menu, captions in a
// frame, an element of a control array, text boxes, and controls that must stay as built.
struct TestWindow
{
    QMainWindow window;
    QMenu *mnuFile;
    QAction *mnfOpen;
    QAction *mnfQuit;
    QAction *separator;
    QMenu *mnuOrig;
    QAction *mnfRestoreItem;
    QLabel *lbName;
    QGroupBox *frBox;
    QCheckBox *chOption;
    QRadioButton *opType3;
    QPushButton *cmOK;
    QLabel *lbLowerTag;
    QLabel *lbUntagged;
    QLineEdit *txName;
    QPlainTextEdit *txNotes;
    QLineEdit *txCaptionTag;   // a caption tag on a kind without caption
    QDialog *childDialog;
    QLabel *childLabel;

    TestWindow()
    {
        window.setObjectName("bvlTest");
        mnuFile = named(window.menuBar()->addMenu("File"), "mnuFile");
        mnfOpen = named(mnuFile->addAction("Apri"), "mnfOpen");
        mnfOpen->setShortcut(QKeySequence("Ctrl+O"));
        separator = mnuFile->addSeparator();
        mnfQuit = named(mnuFile->addAction("Esci"), "mnfQuit");
        mnuOrig = named(new QMenu("orig", &window), "mnuOrig", QString());
        mnfRestoreItem = named(mnuOrig->addAction("Ripristina"), "mnfRestoreItem");

        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        lbName = named(new QLabel("Nome:", central), "lbName");
        frBox = named(new QGroupBox("Gruppo", central), "frBox");
        chOption = named(new QCheckBox("Opzione", frBox), "chOption");
        opType3 = named(new QRadioButton("Stringa ANSI", frBox), ArrayElementName("opType", 3));
        cmOK = named(new QPushButton("OK", central), "cmOK");
        lbLowerTag = named(new QLabel("lower", central), "lbLowerTag", "langcp");
        lbUntagged = named(new QLabel("plain", central), "lbUntagged", QString());
        txName = named(new QLineEdit("old", central), "txName", TagText);
        txNotes = named(new QPlainTextEdit("old notes", central), "txNotes", TagText);
        txCaptionTag = named(new QLineEdit("as built", central), "txCaptionTag");

        // Another window owned by this one is localised on its own, with its own keys.
        childDialog = named(new QDialog(&window), "bvlChild", QString());
        childLabel = named(new QLabel("child", childDialog), "lbChild");
    }
};

const QByteArray FullTable = LangFileBytes("English", "bvlTest.mnuFile=&File\r\n"
                                                      "bvlTest.mnfOpen=&Open\r\n"
                                                      "bvlTest.mnfQuit=Quit\r\n"
                                                      "bvlTest.mnfRestoreItem=Restore original\r\n"
                                                      "bvlTest.lbName=Name:\r\n"
                                                      "bvlTest.frBox=Group\r\n"
                                                      "bvlTest.chOption=Option\r\n"
                                                      "bvlTest.opType(3)=ANSI string\r\n"
                                                      "bvlTest.cmOK=Okay\r\n"
                                                      "bvlTest.lbLowerTag=localised\r\n"
                                                      "bvlTest.lbUntagged=localised\r\n"
                                                      "bvlTest.txName=new\r\n"
                                                      "bvlTest.txNotes=new notes\r\n"
                                                      "bvlTest.txCaptionTag=localised\r\n"
                                                      "bvlTest.lbChild=localised\r\n"
                                                      "bvlChild.lbChild=localised\r\n");

}   // namespace

class TestApplyLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    void load(LangTable &table, const QByteArray &bytes)
    {
        QVERIFY(table.LoadLanguageFile(WriteLangFile(m_dir.path(), "t.sel", bytes)));
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void controlKeys()
    {
        TestWindow w;
        QCOMPARE(ControlLangKey(&w.window, w.mnfQuit), QStringLiteral("bvlTest.mnfQuit"));
        QCOMPARE(ControlLangKey(&w.window, w.opType3), QStringLiteral("bvlTest.opType(3)"));
        QCOMPARE(ControlLangKey(&w.window, w.chOption), QStringLiteral("bvlTest.chOption"));
        // A menu's own action stands for the menu.
        QCOMPARE(ControlLangKey(&w.window, w.mnuFile->menuAction()), QStringLiteral("bvlTest.mnuFile"));
    }

    void localisesTaggedControlsOnly()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        load(table, FullTable);
        TestWindow w;
        ApplyLanguage(table, &w.window);

        QCOMPARE(w.mnuFile->title(), QStringLiteral("&File"));
        QCOMPARE(w.mnfOpen->text(), QStringLiteral("&Open"));
        QCOMPARE(w.mnfOpen->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(w.mnfQuit->text(), QStringLiteral("Quit"));
        QVERIFY(w.separator->text().isEmpty());
        QCOMPARE(w.mnuOrig->title(), QStringLiteral("orig"));
        QCOMPARE(w.mnfRestoreItem->text(), QStringLiteral("Restore original"));
        QCOMPARE(w.lbName->text(), QStringLiteral("Name:"));
        QCOMPARE(w.frBox->title(), QStringLiteral("Group"));
        QCOMPARE(w.chOption->text(), QStringLiteral("Option"));
        QCOMPARE(w.opType3->text(), QStringLiteral("ANSI string"));
        QCOMPARE(w.cmOK->text(), QStringLiteral("Okay"));
        QCOMPARE(w.txName->text(), QStringLiteral("new"));
        QCOMPARE(w.txNotes->toPlainText(), QStringLiteral("new notes"));

        // The tag is compared exactly; untagged controls and other windows stay as built.
        QCOMPARE(w.lbLowerTag->text(), QStringLiteral("lower"));
        QCOMPARE(w.lbUntagged->text(), QStringLiteral("plain"));
        QCOMPARE(w.txCaptionTag->text(), QStringLiteral("as built"));
        QCOMPARE(w.childLabel->text(), QStringLiteral("child"));
        QCOMPARE(w.window.windowTitle(), QString());
        QVERIFY(platform.calls.isEmpty());
    }

    void firstMissingKeyOfEachCallIsReported()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        // mnfOpen and lbName and txName are missing; everything else is present.
        QByteArray partial;
        for (const QByteArray &line : FullTable.split('\n'))
            if (!line.contains(".mnfOpen=") && !line.contains(".lbName=") && !line.contains(".txName="))
                partial += line + '\n';
        load(table, partial);

        TestWindow w;
        ApplyLanguage(table, &w.window);
        QCOMPARE(platform.messages(), QStringList({"Missing language string: \"bvlTest.mnfOpen\""}));
        QCOMPARE(platform.calls.first().icon, MsgIcon::Critical);
        QCOMPARE(w.mnfOpen->text(), QStringLiteral("Apri"));
        QCOMPARE(w.lbName->text(), QStringLiteral("Nome:"));
        QCOMPARE(w.txName->text(), QStringLiteral("old"));
        // The controls after a miss are still localised.
        QCOMPARE(w.mnfQuit->text(), QStringLiteral("Quit"));
        QCOMPARE(w.frBox->title(), QStringLiteral("Group"));
        QCOMPARE(w.txNotes->toPlainText(), QStringLiteral("new notes"));

        platform.clearCalls();
        ApplyLanguage(table, &w.window);
        QCOMPARE(platform.messages().size(), 1);
    }

    void noTableLeavesBuiltCaptions()
    {
        ScriptedPlatform platform;
        LangTable table(platform);
        TestWindow w;
        ApplyLanguage(table, &w.window);
        QCOMPARE(platform.messages(), QStringList({"Missing language string: \"bvlTest.mnuFile\""}));
        QCOMPARE(w.mnuFile->title(), QStringLiteral("File"));
        QCOMPARE(w.mnfQuit->text(), QStringLiteral("Esci"));
        QCOMPARE(w.opType3->text(), QStringLiteral("Stringa ANSI"));
    }

    void menuItemsOwnedElsewhereAreLocalised()
    {
        // An action parented outside the window but shown in its menu is one of its controls.
        ScriptedPlatform platform;
        LangTable table(platform);
        load(table, LangFileBytes("English", "bvlTest.mnfShared=Shared\r\n"));
        QWidget window;
        window.setObjectName("bvlTest");
        auto *menu = new QMenu(&window);
        QAction shared("Condiviso");
        shared.setObjectName("mnfShared");
        TagForCaption(&shared);
        menu->addAction(&shared);
        ApplyLanguage(table, &window);
        QCOMPARE(shared.text(), QStringLiteral("Shared"));
        QVERIFY(platform.calls.isEmpty());
    }
};

QTEST_MAIN(TestApplyLanguage)
#include "tst_applylanguage.moc"
