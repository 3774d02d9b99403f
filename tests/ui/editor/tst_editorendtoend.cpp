#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

void type(QWidget *box, const QString &text)
{
    QTest::keyClicks(box, text);
}

// A radio button takes a click on its circle or its caption, not on the empty rest.
void choose(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    QVERIFY(option->isChecked());
}

void leave(QWidget *box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

// Opens Add, lets fill complete the dialog, then presses OK.
void add(bvlEditSetting &editor, const std::function<void(bvlEditSettingDo *)> &fill)
{
    OnNextModal([fill](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        fill(d);
        QTest::mouseClick(d->cmOK, Qt::LeftButton);
    });
    QTest::mouseClick(editor.cmAdd, Qt::LeftButton);
}

void common(bvlEditSettingDo *d, int typeIndex, const QString &name, const QString &group, const QString &offset)
{
    choose(d->opType[typeIndex]);
    type(d->txSettingName, name);
    type(d->txSettingGroup, group);
    type(d->txOffsetDec, offset);
    leave(d->txOffsetDec);
}

}   // namespace

class TestEditorEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    // Authored through the windows, saved, then used by the main window on a SEEM file.
    void authorSaveAndReadBack();
};

void TestEditorEndToEnd::authorSaveAndReadBack()
{
    // A program folder whose own sample file suits SEEM 32_1, not the one authored here.
    MainFixtures::MainFixture f;
    bvlEditSetting editor(f.ctx, f.window.get());
    editor.show();
    type(editor.txAuthor, QStringLiteral("Tester"));
    type(editor.txPhones, QStringLiteral("Vaka 3, Vaka 3i"));
    type(editor.txSEEMNr, QStringLiteral("33"));
    type(editor.txSEEMRec, QStringLiteral("1a"));

    add(editor, [](bvlEditSettingDo *d) {
        common(d, 0, QStringLiteral("Beep"), QStringLiteral("Sound"), QStringLiteral("16"));
        d->txSettingDescription->setPlainText(QStringLiteral("Key beep"));
        QTest::mouseClick(d->chBit[0], Qt::LeftButton);
        QTest::mouseClick(d->chBit[1], Qt::LeftButton);
        d->txUncheckedValue->selectAll();
        type(d->txUncheckedValue, QStringLiteral("00000010"));
    });
    add(editor, [&f](bvlEditSettingDo *d) {
        choose(d->opType[1]);
        type(d->txSettingName, QStringLiteral("Mode"));
        OnNextModal([](QDialog *dialog) {
            auto *browser = static_cast<bvlGroupBrowse *>(dialog);
            browser->lsGroups->setCurrentRow(0);
            QTest::mouseClick(browser->cmOK, Qt::LeftButton);
        });
        QTest::mouseClick(d->cmGroupBrowse, Qt::LeftButton);
        type(d->txOffsetHex, QStringLiteral("1a"));
        leave(d->txOffsetHex);
        for (int bit : {4, 5, 6, 7})
            QTest::mouseClick(d->chBit[bit], Qt::LeftButton);
        f.platform.answerInput(QStringLiteral("Off"));
        QTest::mouseClick(d->cmAddSettingValue, Qt::LeftButton);
        f.platform.answerInput(QStringLiteral("On"));
        QTest::mouseClick(d->cmAddSettingValue, Qt::LeftButton);
        d->txSettingValueValDec->selectAll();
        type(d->txSettingValueValDec, QStringLiteral("16"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 2, QStringLiteral("Volume"), QStringLiteral("Sound\\Levels"), QStringLiteral("30"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 3, QStringLiteral("Owner"), QStringLiteral("Phone"), QStringLiteral("40"));
        type(d->txMaxStringLength, QStringLiteral("21"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 4, QStringLiteral("Greeting"), QStringLiteral("Phone"), QStringLiteral("100"));
        type(d->txMaxStringLength, QStringLiteral("34"));
    });
    QCOMPARE(f.platform.messages(), QStringList());
    QCOMPARE(editor.lsSettings->count(), 5);

    const QString path = f.folder.file(QStringLiteral("authored.sec"));
    f.platform.answerFile(path);
    editor.mnfSaveSetting->trigger();
    QCOMPARE(f.platform.messages(), QStringList());
    QVERIFY(editor.FileSaved());

    SettingFileHeader h;
    SettingList s;
    ReadSettingFile(path, h, s);
    QCOMPARE(h.Magic, QStringLiteral("sec"));
    QCOMPARE(h.FileVersion, quint8(3));
    QCOMPARE(h.ProgramVersion, VersionString());
    QCOMPARE(h.Author, QStringLiteral("Tester"));
    QCOMPARE(h.Phones, QStringLiteral("Vaka 3, Vaka 3i"));
    QCOMPARE(h.SEEMNr, qint16(0x33));
    QCOMPARE(h.SEEMRec, qint16(0x1A));
    QCOMPARE(h.SettingCount, 5);
    QCOMPARE(s.size(), 5);

    QCOMPARE(s[0].Name, QStringLiteral("Beep"));
    QCOMPARE(s[0].Type, quint8(SettingType::Checkbox));
    QCOMPARE(s[0].Group, QStringLiteral("Sound"));
    QCOMPARE(s[0].Description, QStringLiteral("Key beep"));
    QCOMPARE(s[0].Offset, 16);
    QCOMPARE(s[0].BitMask, quint8(0x03));
    QCOMPARE(s[0].Values, QStringLiteral("3§2"));

    QCOMPARE(s[1].Name, QStringLiteral("Mode"));
    QCOMPARE(s[1].Type, quint8(SettingType::ValueList));
    QCOMPARE(s[1].Group, QStringLiteral("Sound"));   // the only group in use, picked in the browser
    QCOMPARE(s[1].Offset, 26);
    QCOMPARE(s[1].BitMask, quint8(0xF0));
    QCOMPARE(s[1].ValueNames, QStringLiteral("Off§On"));
    QCOMPARE(s[1].Values, QStringLiteral("0§16"));

    QCOMPARE(s[2].Name, QStringLiteral("Volume"));
    QCOMPARE(s[2].Type, quint8(SettingType::Int8));
    QCOMPARE(s[2].Group, QStringLiteral("Sound\\Levels"));
    QCOMPARE(s[2].Offset, 30);

    QCOMPARE(s[3].Type, quint8(SettingType::AnsiString));
    QCOMPARE(s[3].Offset, 40);
    QCOMPARE(s[3].MaxStringLength, 21);
    QCOMPARE(s[4].Name, QStringLiteral("Greeting"));
    QCOMPARE(s[4].Type, quint8(SettingType::UnicodeString));
    QCOMPARE(s[4].MaxStringLength, 34);

    // A second editor opens the file to the same list.
    bvlEditSetting reader(f.ctx);
    f.platform.answerFile(path);
    reader.mnfOpenSetting_Click();
    QCOMPARE(reader.Settings, editor.Settings);
    QCOMPARE(reader.txSEEMRec->text(), QStringLiteral("1A"));
    QVERIFY(f.platform.allAnswersUsed());
    editor.hide();

    // The main window chooses the new file by itself and shows the image's values.
    QByteArray image(134, '\0');
    image[16] = 0x03;                                             // Beep: the checked value
    image[26] = 0x1F;                                             // Mode: On, bits outside the setting ignored
    image[30] = char(200);                                        // Volume
    image.replace(40, 4, QByteArray("Ann\0", 4));                 // Owner
    image.replace(100, 6, QByteArray::fromHex("004800690000"));   // Greeting "Hi", high byte first
    f.open(f.folder.writeBytes(QStringLiteral("0033_001A.seem"), image));
    QCOMPARE(f.platform.messages(), QStringList());
    QCOMPARE(f.window->Document->settingPath(), path);
    QVERIFY(f.check(1)->isChecked());
    QCOMPARE(f.list(2)->currentText(), QStringLiteral("On"));
    QCOMPARE(f.text(3)->text(), QStringLiteral("200"));
    QCOMPARE(f.text(4)->text(), QStringLiteral("Ann"));
    QCOMPARE(f.text(5)->text(), QStringLiteral("Hi"));
}

QTEST_MAIN(TestEditorEndToEnd)
#include "tst_editorendtoend.moc"
