// The setting dialog and its record: clearing, filling, storing, the refusals of OK in
// their order, OK and Cancel.
#include "core/Conversions.h"
#include "support/EditorSteps.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace EditorSteps;

class TestSettingDialogRecord : public QObject
{
    Q_OBJECT
private slots:
    void storesCheckboxAndValueList();
    void checkboxValuesThatCannotBeStoredAreRefused_data();
    void checkboxValuesThatCannotBeStoredAreRefused();
    void errorsInTheirOrder_data();
    void errorsInTheirOrder();
    void fractionsInTheRegionalFormat();
    void readThenWriteKeepsTheRecord_data();
    void readThenWriteKeepsTheRecord();
    void resetFormClearsForAdd();
    void okHidesWithTheRecord();
    void closeBoxAndEscapeCancel();
    void enterPressesOk();
};

void TestSettingDialogRecord::storesCheckboxAndValueList()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    fillRequired(d, QStringLiteral("Beep"), QStringLiteral("Sound"), QStringLiteral("16"));
    Ui(d).txSettingDescription->setPlainText(QStringLiteral("Key beep"));
    selectBits(d, {0, 1});
    SettingStruct out;
    out.UIIndex = 42;
    out.MaxStringLength = 7;
    out.ValueNames = QStringLiteral("kept");
    QVERIFY(d.WriteSettingStruct(out));
    QCOMPARE(out.Type, quint8(SettingType::Checkbox));
    QCOMPARE(out.Values, QStringLiteral("3§0"));
    QCOMPARE(out.BitMask, quint8(0x03));
    QCOMPARE(out.Offset, 16);
    QCOMPARE(out.Description, QStringLiteral("Key beep"));
    // Fields the type does not use are emptied, so that nothing left over from another
    // setting reaches the file; UIIndex is the editor's business and stays.
    QCOMPARE(out.UIIndex, 42);
    QCOMPARE(out.MaxStringLength, 0);
    QVERIFY(out.ValueNames.isEmpty());

    // String types store the length; name and group are stored as typed.
    Ui(d).opType[4]->setChecked(true);
    Ui(d).txMaxStringLength->setText(QStringLiteral("34"));
    Ui(d).txSettingName->setText(QStringLiteral(" Owner "));
    QVERIFY(d.WriteSettingStruct(out));
    QCOMPARE(out.Type, quint8(SettingType::UnicodeString));
    QCOMPARE(out.MaxStringLength, 34);
    QCOMPARE(out.Name, QStringLiteral(" Owner "));
    QVERIFY(out.Values.isEmpty());
    QCOMPARE(out.BitMask, quint8(0));
}

void TestSettingDialogRecord::checkboxValuesThatCannotBeStoredAreRefused_data()
{
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("unchecked");
    QTest::addColumn<QString>("values");   // empty: refused, naming the field
    QTest::addColumn<QString>("field");
    QTest::newRow("unchecked one digit short") << "00000011"
                                               << "0000000"
                                               << ""
                                               << "Checkbox off";
    QTest::newRow("checked empty") << ""
                                   << "00000000"
                                   << ""
                                   << "Checkbox on";
    QTest::newRow("not binary") << "00000021"
                                << "00000000"
                                << ""
                                << "Checkbox on";
    QTest::newRow("equal") << "00000011"
                           << "00000011"
                           << "equal"
                           << "Checkbox off";
    QTest::newRow("equal within the bits") << "11110011"
                                           << "00000011"
                                           << "equal"
                                           << "Checkbox off";
    QTest::newRow("bits outside are masked") << "11111101"
                                             << "00000000"
                                             << "1§0"
                                             << "";
    QTest::newRow("differ in one bit") << "00000010"
                                       << "00000001"
                                       << "2§1"
                                       << "";
}

void TestSettingDialogRecord::checkboxValuesThatCannotBeStoredAreRefused()
{
    QFETCH(QString, checked);
    QFETCH(QString, unchecked);
    QFETCH(QString, values);
    QFETCH(QString, field);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    fillRequired(d, QStringLiteral("N"), QStringLiteral("G"), QStringLiteral("0"));
    selectBits(d, {0, 1});
    Ui(d).txCheckedValue->setText(checked);
    Ui(d).txUncheckedValue->setText(unchecked);
    SettingStruct out;
    f.ctx.CurrentSettingOK = false;
    d.cmOK_Click();
    if (values.isEmpty()) {
        QVERIFY(!f.ctx.CurrentSettingOK);
        QCOMPARE(f.platform.messages(),
                 QStringList({field + QStringLiteral(": ") + f.ctx.T(QStringLiteral("bvlEditSettingDo.sErr605_M"))
                              + QStringLiteral(" (ERR 605)")}));
    } else if (values == QLatin1String("equal")) {
        // Worded as the check words it.
        QVERIFY(!f.ctx.CurrentSettingOK);
        QCOMPARE(f.platform.messages(),
                 QStringList({field
                              + QStringLiteral(": its checked and unchecked values are equal within its bits 00000011 "
                                               "(ERR 605)")}));
    } else {
        QVERIFY(f.ctx.CurrentSettingOK);
        QCOMPARE(f.ctx.CurrentSetting.Values, values);
    }
}

void TestSettingDialogRecord::errorsInTheirOrder_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("stateCount");
    QTest::addColumn<int>("error");
    QTest::newRow("empty offset before everything") << 0 << ""
                                                    << ""
                                                    << ""
                                                    << "" << 0 << 0 << 13;
    QTest::newRow("offset not a number") << 2 << "1.5x"
                                         << ""
                                         << "G"
                                         << "N" << 0 << 0 << 13;
    QTest::newRow("offset beyond 32 bits") << 2 << "2147483648"
                                           << ""
                                           << "G"
                                           << "N" << 0 << 0 << 6;
    QTest::newRow("offset rounded beyond 32 bits") << 2 << "2147483647.5"
                                                   << ""
                                                   << "G"
                                                   << "N" << 0 << 0 << 6;
    QTest::newRow("string length empty") << 3 << "0"
                                         << ""
                                         << ""
                                         << "" << 0 << 0 << 13;
    QTest::newRow("string length overflow") << 4 << "0"
                                            << "-2147483649"
                                            << "G"
                                            << "N" << 0 << 0 << 6;
    QTest::newRow("length not checked for Int8") << 2 << "0"
                                                 << "x"
                                                 << "G"
                                                 << "N" << 0 << 0 << 0;
    QTest::newRow("group before name") << 2 << "0"
                                       << ""
                                       << " "
                                       << "" << 0 << 0 << 600;
    QTest::newRow("name of blanks") << 2 << "0"
                                    << ""
                                    << "G"
                                    << "   " << 0 << 0 << 601;
    QTest::newRow("checkbox without bits") << 0 << "0"
                                           << ""
                                           << "G"
                                           << "N" << 0 << 0 << 603;
    QTest::newRow("value list without bits or states") << 1 << "0"
                                                       << ""
                                                       << "G"
                                                       << "N" << 0 << 0 << 604;
    QTest::newRow("value list without bits") << 1 << "0"
                                             << ""
                                             << "G"
                                             << "N" << 0 << 2 << 604;
    QTest::newRow("value list without states") << 1 << "0"
                                               << ""
                                               << "G"
                                               << "N" << 0x10 << 0 << 602;
    QTest::newRow("value list complete") << 1 << "0"
                                         << ""
                                         << "G"
                                         << "N" << 0x10 << 1 << 0;
    QTest::newRow("Int8 complete") << 2 << "5"
                                   << ""
                                   << "G"
                                   << "N" << 0 << 0 << 0;
    QTest::newRow("offset before any image") << 2 << "-5"
                                             << ""
                                             << "G"
                                             << "N" << 0 << 0 << 6;
    QTest::newRow("a name the code page cannot hold") << 2 << "0"
                                                      << ""
                                                      << "G"
                                                      << "\u4e2d" << 0 << 0 << 13;
    QTest::newRow("ANSI with negative length") << 3 << "0"
                                               << "-3"
                                               << "G"
                                               << "N" << 0 << 0 << 606;
    QTest::newRow("ANSI without room for its terminator") << 3 << "0"
                                                          << "0"
                                                          << "G"
                                                          << "N" << 0 << 0 << 606;
    QTest::newRow("ANSI of 1 byte, the terminator alone") << 3 << "0"
                                                          << "1"
                                                          << "G"
                                                          << "N" << 0 << 0 << 0;
    QTest::newRow("ANSI of 300 bytes") << 3 << "0"
                                       << "300"
                                       << "G"
                                       << "N" << 0 << 0 << 0;
    QTest::newRow("Unicode of 1 byte") << 4 << "0"
                                       << "1"
                                       << "G"
                                       << "N" << 0 << 0 << 606;
    QTest::newRow("Unicode of odd length") << 4 << "0"
                                           << "31"
                                           << "G"
                                           << "N" << 0 << 0 << 0;
    QTest::newRow("Unicode of 510 bytes") << 4 << "0"
                                          << "510"
                                          << "G"
                                          << "N" << 0 << 0 << 0;
}

void TestSettingDialogRecord::errorsInTheirOrder()
{
    QFETCH(int, type);
    QFETCH(QString, offset);
    QFETCH(QString, length);
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(int, bits);
    QFETCH(int, stateCount);
    QFETCH(int, error);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[type]->setChecked(true);
    for (int i = 0; i < stateCount; ++i) {
        f.platform.answerInput(QStringLiteral("S%1").arg(i));
        d.cmAddSettingValue_Click();
    }
    for (int bit = 0; bit < 8; ++bit)
        Ui(d).chBit[bit]->setChecked(bits & (1 << bit));
    fillRequired(d, name, group, offset);
    Ui(d).txMaxStringLength->setText(length);

    f.ctx.CurrentSettingOK = false;
    d.cmOK_Click();
    if (error == 0) {
        QVERIFY(f.platform.messages().isEmpty());
        QVERIFY(f.ctx.CurrentSettingOK);
        return;
    }
    // The refusal names the field, says why, and keeps its number at the end.
    QCOMPARE(f.platform.messages().size(), 1);
    const QString message = f.platform.messages().first();
    QVERIFY2(message.endsWith(QStringLiteral(" (ERR %1)").arg(error)), qPrintable(message));
    QVERIFY2(message.indexOf(QStringLiteral(": ")) > 0, qPrintable(message));
    if (error == 600)
        QCOMPARE(message, QStringLiteral("Group: its group is empty (ERR 600)"));
    if (error == 13 && !name.isEmpty() && name.at(0).unicode() > 0xFF)
        QCOMPARE(message, QStringLiteral("Name: its name has the character \"\u4e2d\" (U+4E2D), which Windows-1252 "
                                         "cannot hold (ERR 13)"));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QVERIFY(!f.ctx.CurrentSettingOK);
}

void TestSettingDialogRecord::fractionsInTheRegionalFormat()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[3]->setChecked(true);
    fillRequired(d, QStringLiteral("Owner"), QStringLiteral("Phone"), QStringLiteral("2,5"));
    Ui(d).txMaxStringLength->setText(QStringLiteral("20,5"));
    SettingStruct out;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const bool stored = d.WriteSettingStruct(out);
    QLocale::setDefault(QLocale::c());
    QVERIFY(stored);
    QCOMPARE(out.Offset, 2);
    QCOMPARE(out.MaxStringLength, 20);
}

void TestSettingDialogRecord::readThenWriteKeepsTheRecord_data()
{
    QTest::addColumn<SettingStruct>("record");
    SettingStruct checkbox = MakeSetting("Beep", "Sound", SettingType::Checkbox, 16);
    checkbox.BitMask = 0x01;
    checkbox.Values = "1§0";
    checkbox.Description = "Line one\r\nline two";
    QTest::newRow("Checkbox") << checkbox;
    SettingStruct inverted = checkbox;
    inverted.BitMask = 0x0C;
    inverted.Values = "0§12";
    QTest::newRow("Checkbox inverted") << inverted;
    SettingStruct list = MakeSetting("Mode", "Display\\Colours", SettingType::ValueList, 1);
    list.BitMask = 0xF0;
    list.ValueNames = "Off§On§ Auto ";
    list.Values = "0§16§240";
    QTest::newRow("ValueList") << list;
    SettingStruct number = MakeSetting("Volume", "Sound", SettingType::Int8, 0x7FFFFFFF);
    QTest::newRow("Int8") << number;
    SettingStruct ansi = MakeSetting("Owner", "Phone", SettingType::AnsiString, 300);
    ansi.MaxStringLength = 21;
    QTest::newRow("AnsiString") << ansi;
    SettingStruct wide = MakeSetting("Greeting", "Phone", SettingType::UnicodeString, 400);
    wide.MaxStringLength = 34;
    QTest::newRow("UnicodeString") << wide;
}

void TestSettingDialogRecord::readThenWriteKeepsTheRecord()
{
    QFETCH(SettingStruct, record);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    // A previous use leaves other content behind; reading must not be disturbed by it.
    d.ResetForm();
    Ui(d).opType[1]->setChecked(true);
    Ui(d).chBit[3]->setChecked(true);
    f.platform.answerInput(QStringLiteral("old"));
    d.cmAddSettingValue_Click();

    d.ReadSettingStruct(record);
    QCOMPARE(d.GetType(), int(record.Type));
    QCOMPARE(Ui(d).txOffsetHex->text(), HexText32(record.Offset));
    QCOMPARE(d.SelectedBits, record.BitMask);
    if (record.Type == quint8(SettingType::ValueList))
        QCOMPARE(Ui(d).cbSettingValueList->currentIndex(), -1);   // no state chosen after filling
    SettingStruct out = record;
    QVERIFY(d.WriteSettingStruct(out));
    QCOMPARE(out, record);
    // Another name: the fields not touched stay the record's own, line breaks and all.
    Ui(d).txSettingName->setText(QStringLiteral("Renamed"));
    QVERIFY(d.WriteSettingStruct(out));
    out.Name = record.Name;
    QCOMPARE(out, record);
}

void TestSettingDialogRecord::resetFormClearsForAdd()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    SettingStruct list = MakeSetting("Mode", "G", SettingType::ValueList, 5);
    list.BitMask = 0x03;
    list.ValueNames = "A§B";
    list.Values = "1§2";
    d.ReadSettingStruct(list);
    Ui(d).cbSettingValueList->setCurrentIndex(1);
    Ui(d).opType[0]->setChecked(true);
    Ui(d).txCheckedValue->setText(QStringLiteral("00000111"));   // red
    Ui(d).opType[4]->setChecked(true);
    Ui(d).txMaxStringLength->setText(QStringLiteral("1"));   // red
    Ui(d).lbAvailableCharsVal->setText(QStringLiteral("kept"));

    d.ResetForm();
    QCOMPARE(d.GetType(), 0);
    QVERIFY(Ui(d).frCheckbox->isVisibleTo(&d));
    for (QLineEdit *box :
         {Ui(d).txSettingName, Ui(d).txSettingGroup, Ui(d).txOffsetDec, Ui(d).txOffsetHex, Ui(d).txSettingValueVal,
          Ui(d).txSettingValueValDec, Ui(d).txMaxStringLength, Ui(d).txCheckedValue, Ui(d).txUncheckedValue})
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    QVERIFY(Ui(d).txSettingDescription->toPlainText().isEmpty());
    QCOMPARE(d.SelectedBits, quint8(0));
    QCOMPARE(Ui(d).cbSettingValueList->count(), 0);
    QVERIFY(!InputMarks::IsTextRed(Ui(d).txSettingValueVal));
    QVERIFY(!InputMarks::IsBackYellow(Ui(d).txSettingValueVal));
    QVERIFY(!InputMarks::IsTextRed(Ui(d).txCheckedValue));
    // Emptied, the string length is no number: red; the available characters keep their text.
    QVERIFY(InputMarks::IsTextRed(Ui(d).txMaxStringLength));
    QCOMPARE(Ui(d).lbAvailableCharsVal->text(), QStringLiteral("kept"));
}

void TestSettingDialogRecord::okHidesWithTheRecord()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    f.ctx.CurrentSetting = SettingStruct();
    f.ctx.CurrentSetting.UIIndex = 9;
    OnNextModal([](QDialog *dialog) {
        auto *dlg = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*dlg).opType[2]->setChecked(true);
        Ui(*dlg).txSettingName->setText(QStringLiteral("Volume"));
        Ui(*dlg).txSettingGroup->setText(QStringLiteral("Sound"));
        Ui(*dlg).txOffsetHex->setText(QStringLiteral("1a"));
        loseFocus(Ui(*dlg).txOffsetHex);
        Ui(*dlg).cmOK->click();
    });
    d.exec();
    QVERIFY(f.ctx.CurrentSettingOK);
    QVERIFY(!d.isVisible());
    QCOMPARE(f.ctx.CurrentSetting.Name, QStringLiteral("Volume"));
    QCOMPARE(f.ctx.CurrentSetting.Offset, 26);
    QCOMPARE(f.ctx.CurrentSetting.Type, quint8(SettingType::Int8));
    QCOMPARE(f.ctx.CurrentSetting.UIIndex, 9);

    // A failed OK keeps the dialog open; Cancel then reports no record.
    OnNextModal([&f](QDialog *dialog) {
        auto *dlg = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*dlg).txSettingName->clear();
        Ui(*dlg).cmOK->click();
        QVERIFY(dlg->isVisible());
        QCOMPARE(f.platform.messages().size(), 1);
        Ui(*dlg).cmCancel->click();
    });
    d.exec();
    QVERIFY(!f.ctx.CurrentSettingOK);
}

void TestSettingDialogRecord::closeBoxAndEscapeCancel()
{
    EditorFixture f;
    QPointer<bvlEditSettingDo> d = new bvlEditSettingDo(f.ctx, f.document, f.images);
    d->ResetForm();
    Ui(*d).txSettingName->setText(QStringLiteral("kept"));

    f.ctx.CurrentSettingOK = true;
    OnNextModal([](QDialog *dialog) { dialog->close(); });
    d->exec();
    QVERIFY(!f.ctx.CurrentSettingOK);
    QVERIFY(d);   // hidden, not destroyed
    QVERIFY(!d->isVisible());
    QCOMPARE(Ui(*d).txSettingName->text(), QStringLiteral("kept"));

    // Escape cancels wherever the focus is, the multi-line description included.
    for (QWidget *focus :
         {static_cast<QWidget *>(Ui(*d).txSettingDescription), static_cast<QWidget *>(Ui(*d).txOffsetDec),
          static_cast<QWidget *>(Ui(*d).cbSettingValueList)}) {
        f.ctx.CurrentSettingOK = true;
        OnNextModal([focus](QDialog *) { PressKey(focus, Qt::Key_Escape); });
        d->exec();
        QVERIFY2(!f.ctx.CurrentSettingOK, qPrintable(focus->objectName()));
        QVERIFY(!d->isVisible());
    }
    QVERIFY(f.platform.messages().isEmpty());
    delete d;
}

void TestSettingDialogRecord::enterPressesOk()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[2]->setChecked(true);
    Ui(d).txSettingName->setText(QStringLiteral("Volume"));
    Ui(d).txSettingGroup->setText(QStringLiteral("Sound"));
    Ui(d).txOffsetDec->setText(QStringLiteral("3"));
    for (QWidget *focus : {static_cast<QWidget *>(Ui(d).txSettingName), static_cast<QWidget *>(Ui(d).chBit[0])}) {
        f.ctx.CurrentSettingOK = false;
        OnNextModal([focus](QDialog *) { PressKey(focus, Qt::Key_Return); });
        d.exec();
        QVERIFY2(f.ctx.CurrentSettingOK, qPrintable(focus->objectName()));
        QCOMPARE(f.ctx.CurrentSetting.Offset, 3);
    }
}

QTEST_MAIN(TestSettingDialogRecord)
#include "tst_settingdialogrecord.moc"
