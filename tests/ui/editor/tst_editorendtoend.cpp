#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "support/EditorControls.h"
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
#include <QTemporaryDir>
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
        QTest::mouseClick(Ui(*d).cmOK, Qt::LeftButton);
    });
    QTest::mouseClick(Ui(editor).cmAdd, Qt::LeftButton);
}

void common(bvlEditSettingDo *d, int typeIndex, const QString &name, const QString &group, const QString &offset)
{
    choose(Ui(*d).opType[typeIndex]);
    type(Ui(*d).txSettingName, name);
    type(Ui(*d).txSettingGroup, group);
    type(Ui(*d).txOffsetDec, offset);
    leave(Ui(*d).txOffsetDec);
}

}   // namespace

class TestEditorEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    // Authored through the windows, saved, then used by the main window on a SEEM file.
    void authorSaveAndReadBack();
    // Edit, then OK with nothing changed, on every record: nothing is unsaved, and the
    // file saved is the file read, byte for byte.
    void editWithoutChangeKeepsEveryByte_data();
    void editWithoutChangeKeepsEveryByte();
};

namespace {

// Records whose bytes a careless dialog would change: line breaks, tabs, fields their
// type does not use, numbers written unusually, a name longer than a text box holds.
SettingList AwkwardRecords()
{
    SettingStruct box = MakeSetting("Box", "G", SettingType::Checkbox, 3);
    box.BitMask = 0x06;
    box.Values = QStringLiteral("06§00");
    box.Description = QStringLiteral("first line\r\nsecond\tline\r\n");
    box.UIIndex = 12;
    SettingStruct number = MakeSetting("Number", "G\\Sub", SettingType::Int8, 4);
    number.BitMask = 0x81;
    number.MaxStringLength = 77;
    number.ValueNames = QStringLiteral("left§over");
    number.Values = QStringLiteral("1§2");
    SettingStruct list = MakeSetting("List", "G", SettingType::ValueList, 5);
    list.BitMask = 0x30;
    list.ValueNames = QStringLiteral("A§B");
    list.Values = QStringLiteral("+0§0032");
    list.MaxStringLength = -4;
    SettingStruct text = MakeSetting(QString(40000, QLatin1Char('n')), "G", SettingType::AnsiString, 6);
    text.MaxStringLength = 300;
    text.Description = QStringLiteral("\r\n\r");
    SettingStruct wide = MakeSetting("Wide", " G ", SettingType::UnicodeString, 7);
    wide.MaxStringLength = 3;
    wide.BitMask = 0xFF;
    return {box, number, list, text, wide};
}

}   // namespace

void TestEditorEndToEnd::editWithoutChangeKeepsEveryByte_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("demo file") << QStringLiteral(BVL_DATA_DIR "/demo-phone.sec");
    QTest::newRow("awkward records") << QString();
}

void TestEditorEndToEnd::editWithoutChangeKeepsEveryByte()
{
    QFETCH(QString, file);
    EditorFixture f;
    QTemporaryDir dir;
    if (file.isEmpty()) {
        SettingFileDocument awkward;
        awkward.appendRecords(AwkwardRecords(), QStringLiteral("Add"));
        file = dir.filePath(QStringLiteral("awkward.sec"));
        awkward.save(file);
    }
    QFile read(file);
    QVERIFY(read.open(QIODevice::ReadOnly));
    const QByteArray bytes = read.readAll();

    bvlEditSetting editor(f.ctx);
    f.platform.answerFile(file);
    editor.mnfOpenSetting_Click();
    const int count = editor.Document().count();
    QVERIFY(count > 0);
    for (int k = 1; k <= count; ++k) {
        OnNextModal([](QDialog *dialog) { static_cast<bvlEditSettingDo *>(dialog)->cmOK->click(); });
        editor.EditRecord(k);
        QVERIFY2(editor.FileSaved(), qPrintable(QString::number(k)));
    }
    QVERIFY(!editor.windowTitle().endsWith(QLatin1Char('*')));
    QCOMPARE(f.platform.messages(), QStringList());

    const QString copy = dir.filePath(QStringLiteral("copy.sec"));
    f.platform.answerFile(copy);
    QVERIFY(editor.SaveSettingFile());
    QFile saved(copy);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), bytes);
}

void TestEditorEndToEnd::authorSaveAndReadBack()
{
    // A program folder whose own sample file suits SEEM 32_1, not the one authored here.
    MainFixtures::MainFixture f;
    bvlEditSetting editor(f.ctx, f.window.get());
    editor.show();
    type(Ui(editor).txAuthor, QStringLiteral("Tester"));
    type(Ui(editor).txPhones, QStringLiteral("Vaka 3, Vaka 3i"));
    type(Ui(editor).txSEEMNr, QStringLiteral("33"));
    type(Ui(editor).txSEEMRec, QStringLiteral("1a"));

    add(editor, [](bvlEditSettingDo *d) {
        common(d, 0, QStringLiteral("Beep"), QStringLiteral("Sound"), QStringLiteral("16"));
        Ui(*d).txSettingDescription->setPlainText(QStringLiteral("Key beep"));
        QTest::mouseClick(Ui(*d).chBit[0], Qt::LeftButton);
        QTest::mouseClick(Ui(*d).chBit[1], Qt::LeftButton);
        Ui(*d).txUncheckedValue->selectAll();
        type(Ui(*d).txUncheckedValue, QStringLiteral("00000010"));
    });
    add(editor, [&f](bvlEditSettingDo *d) {
        choose(Ui(*d).opType[1]);
        type(Ui(*d).txSettingName, QStringLiteral("Mode"));
        OnNextModal([](QDialog *dialog) {
            auto *browser = static_cast<bvlGroupBrowse *>(dialog);
            Ui(*browser).lsGroups->setCurrentRow(0);
            QTest::mouseClick(Ui(*browser).cmOK, Qt::LeftButton);
        });
        QTest::mouseClick(Ui(*d).cmGroupBrowse, Qt::LeftButton);
        type(Ui(*d).txOffsetHex, QStringLiteral("1a"));
        leave(Ui(*d).txOffsetHex);
        for (int bit : {4, 5, 6, 7})
            QTest::mouseClick(Ui(*d).chBit[bit], Qt::LeftButton);
        f.platform.answerInput(QStringLiteral("Off"));
        QTest::mouseClick(Ui(*d).cmAddSettingValue, Qt::LeftButton);
        f.platform.answerInput(QStringLiteral("On"));
        QTest::mouseClick(Ui(*d).cmAddSettingValue, Qt::LeftButton);
        Ui(*d).txSettingValueValDec->selectAll();
        type(Ui(*d).txSettingValueValDec, QStringLiteral("16"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 2, QStringLiteral("Volume"), QStringLiteral("Sound\\Levels"), QStringLiteral("30"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 3, QStringLiteral("Owner"), QStringLiteral("Phone"), QStringLiteral("40"));
        type(Ui(*d).txMaxStringLength, QStringLiteral("21"));
    });
    add(editor, [](bvlEditSettingDo *d) {
        common(d, 4, QStringLiteral("Greeting"), QStringLiteral("Phone"), QStringLiteral("100"));
        type(Ui(*d).txMaxStringLength, QStringLiteral("34"));
    });
    QCOMPARE(f.platform.messages(), QStringList());
    QCOMPARE(Ui(editor).lsSettings->count(), 5);

    const QString path = f.folder.file(QStringLiteral("authored.sec"));
    f.platform.answerFile(path);
    Ui(editor).mnfSaveSetting->trigger();
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
    QCOMPARE(reader.Document().records(), editor.Document().records());
    QCOMPARE(Ui(reader).txSEEMRec->text(), QStringLiteral("1A"));
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
