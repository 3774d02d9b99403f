// What the main window's commands get from the editor side: the one setting editor of the
// program and the shared refusal of hostile setting files.
#include "core/Conversions.h"
#include "support/EditorControls.h"
#include "support/MainFixtures.h"
#include "ui/editor/bvlEditSetting.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace MainFixtures;

namespace {

// Copies the one setting put into the editor and returns the copy's name.
QString copyOne(bvlEditSetting &editor)
{
    PutRecords(editor, {MakeSetting(QStringLiteral("S"), QStringLiteral("G"), SettingType::Int8)});
    Ui(editor).lsSettings->setCurrentRow(0);
    editor.cmCopy_Click();
    return editor.Document().records().last().Name;
}

}   // namespace

class TestFromMainWindow : public QObject
{
    Q_OBJECT
private slots:
    // Each opening starts empty, but the window object stays: the copy count goes on and
    // the window comes back where it was.
    void oneSettingEditorForTheProgramsLife()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        QDialog *first = nullptr;
        QPoint firstPlace;
        OnNextModal([&](QDialog *dialog) {
            first = dialog;
            firstPlace = dialog->pos();
            auto *editor = static_cast<bvlEditSetting *>(dialog);
            QCOMPARE(copyOne(*editor), QStringLiteral("S (Copy, 0)"));
            Ui(*editor).txAuthor->setText(QStringLiteral("me"));
            f.platform.answerMessage(MsgResult::No);   // discard the changes on closing
            dialog->reject();
        });
        w.mnuSetting_Click();

        OnNextModal([&](QDialog *dialog) {
            QCOMPARE(dialog, first);
            QCOMPARE(dialog->pos(), firstPlace);
            auto *editor = static_cast<bvlEditSetting *>(dialog);
            QVERIFY(editor->Document().count() == 0 && Ui(*editor).lsSettings->count() == 0);
            QVERIFY(Ui(*editor).txAuthor->text().isEmpty() && Ui(*editor).lbSettingGroup->text().isEmpty());
            QCOMPARE(Ui(*editor).lbFileVer->text(), QStringLiteral("V") + VersionString());
            QVERIFY(editor->FileSaved());
            QCOMPARE(copyOne(*editor), QStringLiteral("S (Copy, 1)"));
            f.platform.answerMessage(MsgResult::No);
            dialog->reject();
        });
        w.mnuSetting_Click();
        QVERIFY(f.platform.allAnswersUsed());
    }

    // The automatic choice finds the file by its header; opening it is then refused, at
    // once and with its message, before the tree is built.
    void mainWindowRefusesAHostileGroupPath()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingList deep = SampleSettings();
        deep[2].Group = QStringList(32767, QStringLiteral("a")).join(GroupSeparator);
        f.folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), deep);
        f.open(f.seemPath);
        QCOMPARE(f.platform.messages(), QStringList({f.T("bvlEditSetting.GroupPathTooLong_M")}));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);
        QVERIFY(w.Document->seemPath().isEmpty());
        QCOMPARE(w.FrameCount, 0);
    }
};

QTEST_MAIN(TestFromMainWindow)
#include "tst_frommainwindow.moc"
