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

class TestEditSettingDo : public QObject
{
    Q_OBJECT
private slots:
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
    void switchingTypeForgetsTheOtherPanels();
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
