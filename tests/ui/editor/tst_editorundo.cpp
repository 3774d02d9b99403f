#include "core/SettingFile.h"
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "ui/ThemeColours.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

// The setting editor's undo and redo, its unsaved state and its title, and the colours
// its windows draw warnings in.

namespace {

QStringList names(const bvlEditSetting &editor)
{
    QStringList list;
    for (const SettingStruct &s : editor.Document().records())
        list << s.Name;
    return list;
}

void addInt8(bvlEditSetting &editor, const QString &name)
{
    OnNextModal([name](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*d).opType[int(SettingType::Int8)]->setChecked(true);
        Ui(*d).txSettingName->setText(name);
        Ui(*d).txSettingGroup->setText(QStringLiteral("G"));
        Ui(*d).txOffsetDec->setText(QStringLiteral("0"));
        Ui(*d).cmOK->click();
    });
    editor.cmAdd_Click();
}

void selectOnly(bvlEditSetting &editor, const QString &text)
{
    QListWidgetItem *item = Ui(editor).lsSettings->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY2(item, qPrintable(text));
    Ui(editor).lsSettings->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
}

// The pixels of widget as drawn that are close to colour.
int pixelsNear(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - colour.red()) + qAbs(p.green() - colour.green()) + qAbs(p.blue() - colour.blue()) < 40)
                ++count;
        }
    return count;
}

QPalette paletteWith(const QColor &window, const QColor &text)
{
    QPalette p;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(role, window);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    return p;
}

}   // namespace

class TestEditorUndo : public QObject
{
    Q_OBJECT
private slots:
    void everyKindOfChangeIsOneStep()
    {
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        QVERIFY(editor.FileSaved());
        addInt8(editor, QStringLiteral("A"));
        addInt8(editor, QStringLiteral("B"));
        selectOnly(editor, QStringLiteral("A"));
        editor.cmCopy_Click();
        QCOMPARE(names(editor), QStringList({"A", "B", "A (Copy, 0)"}));
        selectOnly(editor, QStringLiteral("B"));
        editor.cmDelete_Click();
        QCOMPARE(names(editor), QStringList({"A", "A (Copy, 0)"}));
        OnNextModal([](QDialog *dialog) {
            static_cast<bvlEditSettingDo *>(dialog)->txSettingName->setText(QStringLiteral("A2"));
            static_cast<bvlEditSettingDo *>(dialog)->cmOK->click();
        });
        editor.EditRecord(1);
        editor.AppendSettings({MakeSetting(QStringLiteral("D1"), QStringLiteral("P"), SettingType::Int8, 1),
                               MakeSetting(QStringLiteral("D2"), QStringLiteral("P"), SettingType::Int8, 2)});
        const QStringList last = {"A2", "A (Copy, 0)", "D1", "D2"};
        QCOMPARE(names(editor), last);
        QCOMPARE(editor.UndoStack()->count(), 6);

        // Back through every step, and the list shows what the records are at each.
        const QList<QStringList> before = {
            {"A2", "A (Copy, 0)"}, {"A", "A (Copy, 0)"}, {"A", "B", "A (Copy, 0)"}, {"A", "B"}, {"A"}, {}};
        for (const QStringList &expected : before) {
            Ui(editor).mnfUndo->trigger();
            QCOMPARE(names(editor), expected);
            QCOMPARE(Ui(editor).lsSettings->count(), expected.size());
        }
        QVERIFY(editor.FileSaved());
        QVERIFY(!Ui(editor).mnfUndo->isEnabled());
        // Nothing to ask about: New goes ahead without a question.
        editor.mnfNew_Click();
        QVERIFY(f.platform.messages().isEmpty());
        for (int i = 0; i < 6; ++i)
            Ui(editor).mnfRedo->trigger();
        QCOMPARE(names(editor), QStringList());   // New started afresh: no redo left
        QVERIFY(!Ui(editor).mnfRedo->isEnabled());
    }

    void redoRepeatsAndTypingBackIsClean()
    {
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        editor.show();
        addInt8(editor, QStringLiteral("A"));
        Ui(editor).mnfUndo->trigger();
        Ui(editor).mnfRedo->trigger();
        QCOMPARE(names(editor), QStringList({"A"}));
        editor.UndoStack()->setClean();

        // Typing and deleting a character leaves the file as saved.
        QTest::keyClicks(Ui(editor).txAuthor, QStringLiteral("xy"));
        QVERIFY(!editor.FileSaved());
        QCOMPARE(editor.UndoStack()->count(), 2);   // typing in one box grows one step
        QTest::keyClick(Ui(editor).txAuthor, Qt::Key_Backspace);
        QTest::keyClick(Ui(editor).txAuthor, Qt::Key_Backspace);
        QVERIFY(editor.FileSaved());
        QCOMPARE(editor.UndoStack()->count(), 1);
        QVERIFY(!editor.windowTitle().endsWith(QLatin1Char('*')));

        QTest::keyClicks(Ui(editor).txSEEMNr, QStringLiteral("32"));
        Ui(editor).mnfUndo->trigger();
        QVERIFY(Ui(editor).txSEEMNr->text().isEmpty());
        QVERIFY(editor.FileSaved());
        f.platform.answerMessage(MsgResult::Cancel);
        editor.close();
        QVERIFY(f.platform.messages().isEmpty());   // closed without a question
    }

    void titleNamesTheFileAndSaveProposesIt()
    {
        EditorFixture f;
        QTemporaryDir dir;
        bvlEditSetting editor(f.ctx);
        const QString title = f.ctx.Title(QStringLiteral("bvlMain.mnuSetting"));
        QCOMPARE(editor.windowTitle(), title);
        addInt8(editor, QStringLiteral("A"));
        QCOMPARE(editor.windowTitle(), title + QLatin1Char('*'));
        const QString path = dir.filePath(QStringLiteral("mine.sec"));
        f.platform.answerFile(path);
        QVERIFY(editor.SaveSettingFile());
        QCOMPARE(editor.windowTitle(), title + QStringLiteral(" - mine.sec"));
        addInt8(editor, QStringLiteral("B"));
        QCOMPARE(editor.windowTitle(), title + QStringLiteral(" - mine.sec*"));
        f.platform.cancelFile();
        QVERIFY(!editor.SaveSettingFile());
        const auto saves = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile);
        QCOMPARE(QDir::fromNativeSeparators(saves.last().proposed), path);
        QVERIFY(!QDir::fromNativeSeparators(saves.first().proposed).endsWith(QStringLiteral(".sec")));
    }

    void editMenuAndCheckLine()
    {
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        const QStringList menus = {Ui(editor).menuBar->actions().at(0)->text(),
                                   Ui(editor).menuBar->actions().at(1)->text(),
                                   Ui(editor).menuBar->actions().at(2)->text()};
        QVERIFY(menus.contains(f.ctx.T(QStringLiteral("bvlEditSetting.mnuEdit"))));
        QCOMPARE(Ui(editor).mnfUndo->shortcut(), QKeySequence(QKeySequence::Undo));
        QVERIFY2(Ui(editor).lbCheck->text().isEmpty(), qPrintable(Ui(editor).lbCheck->text()));
        // A check box whose two values are equal: an error, counted under the list.
        SettingStruct box = MakeSetting(QStringLiteral("Box"), QStringLiteral("G"), SettingType::Checkbox);
        box.BitMask = 1;
        box.Values = QStringLiteral("1§1");
        editor.AppendSettings({box});
        QCOMPARE(Ui(editor).lbCheck->text(), QStringLiteral("Check: 1 error, 0 warnings"));
        editor.mnfCheck_Click();
        QVERIFY(f.platform.messages().last().contains(QStringLiteral("G\\Box (#1): its checked and unchecked values")));
        Ui(editor).mnfUndo->trigger();
        QVERIFY(Ui(editor).lbCheck->text().isEmpty());
    }

    void escapeClosesTheByteMap()
    {
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        editor.Images().setReference(QStringLiteral("0032_0001.seem"), QByteArray(64, '\0'));
        editor.show();
        editor.mnfByteMap_Click();
        bvlByteMap *map = editor.ByteMap();
        QVERIFY(QTest::qWaitForWindowExposed(map));
        map->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(map));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : map, Qt::Key_Escape);
        QVERIFY(!map->isVisible());
        QVERIFY(editor.isVisible());
    }

    void warningColoursShowInWhatIsDrawn_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(240, 240, 240) << QColor(0, 0, 0);
        QTest::newRow("dark") << QColor(40, 40, 40) << QColor(230, 230, 230);
        QTest::newRow("high contrast") << QColor(0, 0, 0) << QColor(255, 255, 255);
        QTest::newRow("high contrast white") << QColor(255, 255, 255) << QColor(0, 0, 0);
    }

    void warningColoursShowInWhatIsDrawn()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        const QColor warning = ThemeColours::ForBackground(ThemeColours::Warning, window);
        QVERIFY(ThemeColours::Contrast(warning, window) >= 4.5);
        QVERIFY(ThemeColours::Contrast(ThemeColours::ForBackground(ThemeColours::Error, window), window) >= 4.5);
        QVERIFY(ThemeColours::Contrast(ThemeColours::ForBackground(ThemeColours::Changed, window), window) >= 4.5);

        EditorFixture f;
        bvlEditSettingDo d(f.ctx, f.document, f.images);
        d.setPalette(paletteWith(window, text));
        f.images.setReference(QStringLiteral("0032_0001.seem"), QByteArray(4, '\0'));
        d.ResetForm();
        Ui(d).opType[int(SettingType::Int8)]->setChecked(true);
        Ui(d).txOffsetDec->setText(QStringLiteral("9"));   // past the end of the image
        d.SetEditedRecord(0);
        Ui(d).lbPreviewReference->resize(Ui(d).lbPreviewReference->width(), 30);
        QVERIFY2(pixelsNear(Ui(d).lbPreviewReference, warning) > 20, qPrintable(Ui(d).lbPreviewReference->text()));
        QCOMPARE(pixelsNear(Ui(d).lbPreviewReference, text), 0);
        // Readable again: drawn in the text colour of the palette.
        Ui(d).txOffsetDec->setText(QStringLiteral("1"));
        QCOMPARE(pixelsNear(Ui(d).lbPreviewReference, warning), 0);
        QVERIFY(pixelsNear(Ui(d).lbPreviewReference, text) > 20);
    }
};

QTEST_MAIN(TestEditorUndo)
#include "tst_editorundo.moc"
