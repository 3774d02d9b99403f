#include "core/Conversions.h"
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
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

namespace {

void selectBits(bvlEditSettingDo &d, std::initializer_list<int> bits)
{
    for (int bit : bits)
        Ui(d).chBit[bit]->setChecked(true);
}

void loseFocus(QWidget *box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

// The fields every type needs, so that storing can succeed.
void fillRequired(bvlEditSettingDo &d, const QString &name, const QString &group, const QString &offset)
{
    Ui(d).txSettingName->setText(name);
    Ui(d).txSettingGroup->setText(group);
    Ui(d).txOffsetDec->setText(offset);
}

// The state names and values in list order.
QStringList states(const QComboBox *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->itemText(i) + QLatin1Char('=') + list->itemData(i).toString();
    return result;
}

}   // namespace

class TestEditSettingDo : public QObject
{
    Q_OBJECT
private slots:
    // Typed numbers are read in the regional format; the tests fix it.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void typeSelectsPanel_data();
    void typeSelectsPanel();
    void bitSelectionResetsCheckboxValues();
    void checkboxValueColours_data();
    void checkboxValueColours();
    void offsetBoxesConvertOnLeaving_data();
    void offsetBoxesConvertOnLeaving();
    void stringLengthShowsAvailableCharacters_data();
    void stringLengthShowsAvailableCharacters();
    void stateValuesFollowTheBitSelection();
    void stateValueDecimalBox_data();
    void stateValueDecimalBox();
    void stateListCommands();
    void storesCheckboxAndValueList();
    void checkboxValuesThatCannotBeStoredAreRefused_data();
    void checkboxValuesThatCannotBeStoredAreRefused();
    void switchingTypeForgetsTheOtherPanels();
    void errorsInTheirOrder_data();
    void errorsInTheirOrder();
    void fractionsInTheRegionalFormat();
    void readThenWriteKeepsTheRecord_data();
    void readThenWriteKeepsTheRecord();
    void resetFormClearsForAdd();
    void okHidesWithTheRecord();
    void closeBoxAndEscapeCancel();
    void enterPressesOk();
    void groupBoxHintReachesStatusLine();
    void groupBrowserFillsGroupBox();
};

void TestEditSettingDo::typeSelectsPanel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("bits");
    QTest::addColumn<bool>("checkbox");
    QTest::addColumn<bool>("list");
    QTest::addColumn<bool>("string");
    QTest::newRow("Checkbox") << 0 << true << true << false << false;
    QTest::newRow("ValueList") << 1 << true << false << true << false;
    QTest::newRow("Int8") << 2 << false << false << false << false;
    QTest::newRow("AnsiString") << 3 << false << false << false << true;
    QTest::newRow("UnicodeString") << 4 << false << false << false << true;
}

void TestEditSettingDo::typeSelectsPanel()
{
    QFETCH(int, type);
    QFETCH(bool, bits);
    QFETCH(bool, checkbox);
    QFETCH(bool, list);
    QFETCH(bool, string);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    // Start from the opposite panel so that every switch is exercised.
    Ui(d).opType[type == 1 ? 3 : 1]->setChecked(true);
    Ui(d).opType[type]->setChecked(true);
    QCOMPARE(d.GetType(), type);
    QCOMPARE(Ui(d).frBits->isVisibleTo(&d), bits);
    QCOMPARE(Ui(d).frCheckbox->isVisibleTo(&d), checkbox);
    QCOMPARE(Ui(d).frList->isVisibleTo(&d), list);
    QCOMPARE(Ui(d).frString->isVisibleTo(&d), string);
}

void TestEditSettingDo::bitSelectionResetsCheckboxValues()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    selectBits(d, {0, 1});
    QCOMPARE(d.SelectedBits, quint8(0x03));
    QCOMPARE(Ui(d).txCheckedValue->text(), QStringLiteral("00000011"));
    QCOMPARE(Ui(d).txUncheckedValue->text(), QStringLiteral("00000000"));

    // Values typed by the user are replaced by any later change of the selection.
    Ui(d).txCheckedValue->setText(QStringLiteral("00000001"));
    Ui(d).txUncheckedValue->setText(QStringLiteral("00000010"));
    Ui(d).chBit[7]->setChecked(true);
    QCOMPARE(d.SelectedBits, quint8(0x83));
    QCOMPARE(Ui(d).txCheckedValue->text(), QStringLiteral("10000011"));
    QCOMPARE(Ui(d).txUncheckedValue->text(), QStringLiteral("00000000"));
    Ui(d).chBit[0]->setChecked(false);
    QCOMPARE(d.SelectedBits, quint8(0x82));
    QCOMPARE(Ui(d).txCheckedValue->text(), QStringLiteral("10000010"));
    // The bit boxes are captioned 7 to 0 from left to right.
    QVERIFY(Ui(d).chBit[7]->x() < Ui(d).chBit[0]->x());
    QCOMPARE(Ui(d).chBit[7]->text(), QStringLiteral("&7"));
}

void TestEditSettingDo::checkboxValueColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("yellow");
    // bits 0 and 1 selected
    QTest::newRow("inside the selection") << "00000010" << false << false;
    QTest::newRow("bit outside the selection") << "00000100" << true << false;
    QTest::newRow("seven characters") << "0000011" << false << true;
    QTest::newRow("letter in eight characters") << "0000001a" << false << true;
    QTest::newRow("digit 2") << "00000002" << false << true;
    QTest::newRow("empty") << "" << false << true;
}

void TestEditSettingDo::checkboxValueColours()
{
    QFETCH(QString, text);
    QFETCH(bool, red);
    QFETCH(bool, yellow);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    selectBits(d, {0, 1});
    for (QLineEdit *box : {Ui(d).txCheckedValue, Ui(d).txUncheckedValue}) {
        box->setText(text);
        QCOMPARE(InputMarks::IsTextRed(box), red);
        QCOMPARE(InputMarks::IsBackYellow(box), yellow);
    }
    // Feedback only: OK is not blocked by colours (checked by the error tests).
}

void TestEditSettingDo::offsetBoxesConvertOnLeaving_data()
{
    QTest::addColumn<bool>("fromDecimal");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("other");
    QTest::newRow("255") << true << "255"
                         << "FF";
    QTest::newRow("-1") << true << "-1"
                        << "FFFFFFFF";
    QTest::newRow("0") << true << "0"
                       << "0";
    QTest::newRow("2.5 rounds to even") << true << "2.5"
                                        << "2";
    QTest::newRow("3.5 rounds to even") << true << "3.5"
                                        << "4";
    QTest::newRow("-2.5 rounds to even") << true << "-2.5"
                                         << "FFFFFFFE";
    QTest::newRow("not a number") << true << "12x"
                                  << "unchanged";
    QTest::newRow("beyond 32 bits") << true << "2147483648"
                                    << "unchanged";
    QTest::newRow("hex 1a") << false << "1a"
                            << "26";
    QTest::newRow("hex 7FFFFFFF") << false << "7FFFFFFF"
                                  << "2147483647";
    QTest::newRow("hex G1") << false << "G1"
                            << "unchanged";
    QTest::newRow("hex too large") << false << "80000000"
                                   << "unchanged";
}

void TestEditSettingDo::offsetBoxesConvertOnLeaving()
{
    QFETCH(bool, fromDecimal);
    QFETCH(QString, typed);
    QFETCH(QString, other);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    QLineEdit *source = fromDecimal ? Ui(d).txOffsetDec : Ui(d).txOffsetHex;
    QLineEdit *target = fromDecimal ? Ui(d).txOffsetHex : Ui(d).txOffsetDec;
    target->setText(QStringLiteral("unchanged"));
    source->setText(typed);
    QCOMPARE(target->text(), QStringLiteral("unchanged"));   // typing alone converts nothing
    loseFocus(source);
    QCOMPARE(target->text(), other);
}

void TestEditSettingDo::stringLengthShowsAvailableCharacters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("length");
    QTest::addColumn<bool>("red");
    QTest::addColumn<QString>("available");
    QTest::newRow("ANSI 0") << 3 << "0" << true << "-1";
    QTest::newRow("ANSI 1: room for no character") << 3 << "1" << true << "0";
    QTest::newRow("ANSI 256") << 3 << "256" << false << "255";
    QTest::newRow("ANSI 2") << 3 << "2" << false << "1";
    QTest::newRow("ANSI 20") << 3 << "20" << false << "19";
    QTest::newRow("ANSI 1.5 rounds to 2") << 3 << "1.5" << false << "1";
    QTest::newRow("ANSI lowest") << 3 << "-2147483648" << true << "-2147483649";
    QTest::newRow("Unicode 3") << 4 << "3" << true << "0";
    QTest::newRow("Unicode 4") << 4 << "4" << false << "1";
    QTest::newRow("Unicode 5, odd") << 4 << "5" << false << "1";
    QTest::newRow("Unicode 2") << 4 << "2" << true << "0";
    QTest::newRow("Unicode 512") << 4 << "512" << false << "255";
    QTest::newRow("Unicode 1 truncates toward zero") << 4 << "1" << true << "0";
    QTest::newRow("not a number keeps the count") << 3 << "abc" << true << "before";
    QTest::newRow("empty keeps the count") << 4 << "" << true << "before";
    QTest::newRow("Int8 computes nothing") << 2 << "7" << false << "before";
}

void TestEditSettingDo::stringLengthShowsAvailableCharacters()
{
    QFETCH(int, type);
    QFETCH(QString, length);
    QFETCH(bool, red);
    QFETCH(QString, available);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[type]->setChecked(true);
    Ui(d).txMaxStringLength->setText(QStringLiteral("99"));
    Ui(d).lbAvailableCharsVal->setText(QStringLiteral("before"));
    Ui(d).txMaxStringLength->setText(length);
    QCOMPARE(InputMarks::IsTextRed(Ui(d).txMaxStringLength), red);
    QCOMPARE(Ui(d).lbAvailableCharsVal->text(), available);
}

void TestEditSettingDo::stateValuesFollowTheBitSelection()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[1]->setChecked(true);
    selectBits(d, {4, 5, 6, 7});
    f.platform.answerInput(QStringLiteral("Off"));
    d.cmAddSettingValue_Click();
    QCOMPARE(Ui(d).cbSettingValueList->currentIndex(), 0);
    QCOMPARE(Ui(d).txSettingValueVal->text(), QStringLiteral("00000000"));
    f.platform.answerInput(QStringLiteral("On"));
    d.cmAddSettingValue_Click();
    Ui(d).txSettingValueVal->setText(QStringLiteral("00010000"));
    QCOMPARE(Ui(d).txSettingValueValDec->text(), QStringLiteral("16"));
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"Off=0", "On=16"}));

    // A value with a bit outside the selection is refused while typing.
    Ui(d).txSettingValueVal->setText(QStringLiteral("00010001"));
    QVERIFY(InputMarks::IsTextRed(Ui(d).txSettingValueVal));
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"Off=0", "On=16"}));
    Ui(d).txSettingValueVal->setText(QStringLiteral("00010000"));

    // Unchecking bit 4 re-masks only the chosen state and marks its text.
    Ui(d).chBit[4]->setChecked(false);
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"Off=0", "On=0"}));
    QVERIFY(InputMarks::IsTextRed(Ui(d).txSettingValueVal));
    Ui(d).chBit[4]->setChecked(true);
    QVERIFY(!InputMarks::IsTextRed(Ui(d).txSettingValueVal));

    // Choosing a state shows its value in both boxes.
    Ui(d).txSettingValueVal->setText(QStringLiteral("00110000"));
    Ui(d).cbSettingValueList->setCurrentIndex(0);
    QCOMPARE(Ui(d).txSettingValueVal->text(), QStringLiteral("00000000"));
    QCOMPARE(Ui(d).txSettingValueValDec->text(), QStringLiteral("0"));
    Ui(d).cbSettingValueList->setCurrentIndex(1);
    QCOMPARE(Ui(d).txSettingValueValDec->text(), QStringLiteral("48"));

    // Stored values are masked by the selection as it is at OK.
    Ui(d).chBit[5]->setChecked(false);
    fillRequired(d, QStringLiteral("Mode"), QStringLiteral("G"), QStringLiteral("1"));
    SettingStruct out;
    QVERIFY(d.WriteSettingStruct(out));
    QCOMPARE(out.ValueNames, QStringLiteral("Off§On"));
    QCOMPARE(out.Values, QStringLiteral("0§16"));
    QCOMPARE(out.BitMask, quint8(0xD0));
}

void TestEditSettingDo::stateValueDecimalBox_data()
{
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("binary");
    QTest::addColumn<int>("value");
    // bits 0 to 3 selected; the binary box starts at 00000001 (value 1)
    QTest::newRow("5") << "5"
                       << "00000101" << 5;
    QTest::newRow("0") << "0"
                       << "00000000" << 0;
    QTest::newRow("outside the selection") << "16"
                                           << "00010000" << 1;
    QTest::newRow("255") << "255"
                         << "11111111" << 1;
    QTest::newRow("256 and above") << "300"
                                   << "00000001" << 1;
    QTest::newRow("negative") << "-1"
                              << "00000001" << 1;
    QTest::newRow("not a number") << "1x"
                                  << "00000001" << 1;
}

void TestEditSettingDo::stateValueDecimalBox()
{
    QFETCH(QString, decimal);
    QFETCH(QString, binary);
    QFETCH(int, value);
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[1]->setChecked(true);
    selectBits(d, {0, 1, 2, 3});
    f.platform.answerInput(QStringLiteral("A"));
    d.cmAddSettingValue_Click();
    Ui(d).txSettingValueValDec->setText(QStringLiteral("1"));
    QCOMPARE(Ui(d).cbSettingValueList->itemData(0).toInt(), 1);

    Ui(d).txSettingValueValDec->setText(decimal);
    QCOMPARE(Ui(d).txSettingValueVal->text(), binary);
    QCOMPARE(Ui(d).cbSettingValueList->itemData(0).toInt(), value);
}

void TestEditSettingDo::stateListCommands()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    d.ResetForm();
    Ui(d).opType[1]->setChecked(true);
    selectBits(d, {0, 1});

    // Kept in the order of adding, not sorted; the prompt starts empty.
    for (const char *name : {"b", "a", "B"}) {
        f.platform.answerInput(QString::fromLatin1(name));
        d.cmAddSettingValue_Click();
    }
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"b=0", "a=0", "B=0"}));
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::Input).first().text,
             f.ctx.T(QStringLiteral("bvlEditSetting.cmtNewStateName_I")));
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::Input).first().proposed, QString());
    QVERIFY(f.platform.messages().isEmpty());

    // An existing name is refused with a warning; the choice stays.
    Ui(d).cbSettingValueList->setCurrentIndex(0);
    f.platform.answerInput(QStringLiteral("a"));
    d.cmAddSettingValue_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.cmtAlreadyExist_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QCOMPARE(Ui(d).cbSettingValueList->count(), 3);
    QCOMPARE(Ui(d).cbSettingValueList->currentIndex(), 0);

    // A name with the value separator would read back as two names.
    f.platform.clearCalls();
    f.platform.answerInput(QStringLiteral("On§Off"));
    d.cmAddSettingValue_Click();
    QCOMPARE(f.platform.messages(), QStringList({f.ctx.T(QStringLiteral("bvlEditSetting.StateNameSeparator_M"))}));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QCOMPARE(Ui(d).cbSettingValueList->count(), 3);

    // An empty answer (or Cancel) adds nothing; blanks are a name.
    f.platform.clearCalls();
    f.platform.answerInput(QString());
    d.cmAddSettingValue_Click();
    QCOMPARE(Ui(d).cbSettingValueList->count(), 3);
    f.platform.answerInput(QStringLiteral("  "));
    d.cmAddSettingValue_Click();
    QCOMPARE(Ui(d).cbSettingValueList->count(), 4);
    QCOMPARE(Ui(d).cbSettingValueList->currentIndex(), 3);
    QVERIFY(f.platform.messages().isEmpty());

    // Removing takes the chosen state without a question and leaves no choice.
    Ui(d).cbSettingValueList->setCurrentIndex(1);
    d.cmRemoveSettingValue_Click();
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"b=0", "B=0", "  =0"}));
    QCOMPARE(Ui(d).cbSettingValueList->currentIndex(), -1);
    d.cmRemoveSettingValue_Click();   // nothing chosen: nothing removed
    QCOMPARE(Ui(d).cbSettingValueList->count(), 3);
    QVERIFY(f.platform.messages().isEmpty());

    // With no state chosen, typing a value changes no state.
    Ui(d).txSettingValueVal->setText(QStringLiteral("00000011"));
    QCOMPARE(states(Ui(d).cbSettingValueList), QStringList({"b=0", "B=0", "  =0"}));
}

void TestEditSettingDo::storesCheckboxAndValueList()
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

void TestEditSettingDo::checkboxValuesThatCannotBeStoredAreRefused_data()
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
                           << ""
                           << "Checkbox off";
    QTest::newRow("equal within the bits") << "11110011"
                                           << "00000011"
                                           << ""
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

void TestEditSettingDo::checkboxValuesThatCannotBeStoredAreRefused()
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
    } else {
        QVERIFY(f.ctx.CurrentSettingOK);
        QCOMPARE(f.ctx.CurrentSetting.Values, values);
    }
}

void TestEditSettingDo::switchingTypeForgetsTheOtherPanels()
{
    EditorFixture f;
    bvlEditSettingDo d(f.ctx, f.document, f.images);
    SettingStruct list = MakeSetting(QStringLiteral("L"), QStringLiteral("G"), SettingType::ValueList);
    list.BitMask = 0x03;
    list.ValueNames = QStringLiteral("a§b");
    list.Values = QStringLiteral("1§2");
    d.ReadSettingStruct(list);
    QCOMPARE(Ui(d).cbSettingValueList->count(), 2);
    Ui(d).opType[int(SettingType::AnsiString)]->setChecked(true);
    Ui(d).opType[int(SettingType::ValueList)]->setChecked(true);
    // The states and bits of the list read before do not come back.
    QCOMPARE(Ui(d).cbSettingValueList->count(), 0);
    QCOMPARE(d.SelectedBits, quint8(0));
    Ui(d).opType[int(SettingType::AnsiString)]->setChecked(true);
    Ui(d).txMaxStringLength->setText(QStringLiteral("12"));
    Ui(d).opType[int(SettingType::Checkbox)]->setChecked(true);
    Ui(d).opType[int(SettingType::AnsiString)]->setChecked(true);
    QVERIFY(Ui(d).txMaxStringLength->text().isEmpty());
}

void TestEditSettingDo::errorsInTheirOrder_data()
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
    QTest::newRow("Int8 complete") << 2 << "-5"
                                   << ""
                                   << "G"
                                   << "N" << 0 << 0 << 0;
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

void TestEditSettingDo::errorsInTheirOrder()
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
        QCOMPARE(message, QStringLiteral("Group: a setting needs a group (ERR 600)"));
    QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
    QVERIFY(!f.ctx.CurrentSettingOK);
}

void TestEditSettingDo::fractionsInTheRegionalFormat()
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

void TestEditSettingDo::readThenWriteKeepsTheRecord_data()
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
    SettingStruct list = MakeSetting("Mode", "Display\\Colours", SettingType::ValueList, -1);
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

void TestEditSettingDo::readThenWriteKeepsTheRecord()
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

void TestEditSettingDo::resetFormClearsForAdd()
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

void TestEditSettingDo::okHidesWithTheRecord()
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

void TestEditSettingDo::closeBoxAndEscapeCancel()
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

void TestEditSettingDo::enterPressesOk()
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

void TestEditSettingDo::groupBoxHintReachesStatusLine()
{
    EditorFixture f;
    QStringList shown;
    bvlEditSettingDo d(f.ctx, f.document, f.images, nullptr, [&shown](const QString &text) { shown << text; });
    const QString hint = f.ctx.T(QStringLiteral("bvlEditSetting.ttGroup"));
    QCOMPARE(Ui(d).txSettingGroup->toolTip(), hint);
    QCOMPARE(Ui(d).lbSettingGroup->toolTip(), hint);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Ui(d).txSettingGroup, &move);
    QCOMPARE(shown, QStringList({hint}));
    QCOMPARE(d.windowTitle(), f.ctx.Title(QStringLiteral("bvlMain.mnuSetting")));
}

void TestEditSettingDo::groupBrowserFillsGroupBox()
{
    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    PutRecords(editor, {MakeSetting("a", "Sound", SettingType::Int8), MakeSetting("b", "Display", SettingType::Int8)});
    bvlEditSettingDo *d = editor.SettingDialog();
    d->ResetForm();
    Ui(*d).txSettingGroup->setText(QStringLiteral("typed"));

    // OK without a choice keeps the box.
    OnNextModal([](QDialog *browser) { static_cast<bvlGroupBrowse *>(browser)->cmOK->click(); });
    d->cmGroupBrowse_Click();
    QCOMPARE(Ui(*d).txSettingGroup->text(), QStringLiteral("typed"));

    OnNextModal([](QDialog *dialog) {
        auto *browser = static_cast<bvlGroupBrowse *>(dialog);
        QCOMPARE(Ui(*browser).lsGroups->count(), 2);
        QCOMPARE(Ui(*browser).lsGroups->item(0)->text(), QStringLiteral("Display"));
        Ui(*browser).lsGroups->setCurrentRow(1);
        Ui(*browser).cmOK->click();
    });
    d->cmGroupBrowse_Click();
    QCOMPARE(Ui(*d).txSettingGroup->text(), QStringLiteral("Sound"));

    // Escape after choosing is no choice.
    OnNextModal([](QDialog *dialog) {
        auto *browser = static_cast<bvlGroupBrowse *>(dialog);
        Ui(*browser).lsGroups->setCurrentRow(0);
        PressKey(Ui(*browser).lsGroups, Qt::Key_Escape);
    });
    d->cmGroupBrowse_Click();
    QCOMPARE(Ui(*d).txSettingGroup->text(), QStringLiteral("Sound"));
}

QTEST_MAIN(TestEditSettingDo)
#include "tst_editsettingdo.moc"
