// The setting dialog's fields as the user works them: the type, the offset boxes, the
// bit toggles and bit texts, the string length, the state list and the group.
#include "core/BvlError.h"
#include "core/Conversions.h"
#include "ui/AppContext.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/TypedNumber.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

// Index of the chosen state, -1 when no state is chosen.
int chosenState(const QComboBox *list)
{
    return list->currentIndex();
}

}   // namespace

// ---- type, offset, bits ----

int bvlEditSettingDo::GetType() const
{
    for (int i = 0; i < int(opType.size()); ++i)
        if (opType[i]->isChecked())
            return i;
    return -1;
}

void bvlEditSettingDo::selectType(int index)
{
    if (index < 0 || index >= int(opType.size()))
        return;
    if (opType[index]->isChecked())
        opType_Click(index);
    else
        opType[index]->setChecked(true);   // toggled runs opType_Click
}

void bvlEditSettingDo::resetUnusedPanels(int type)
{
    const bool bits = type == int(SettingType::Checkbox) || type == int(SettingType::ValueList);
    const bool string = type == int(SettingType::AnsiString) || type == int(SettingType::UnicodeString);
    if (!bits) {
        for (QPushButton *bit : chBit)
            bit->setChecked(false);
    }
    if (type != int(SettingType::Checkbox)) {
        txCheckedValue->clear();
        txUncheckedValue->clear();
    }
    if (type != int(SettingType::ValueList)) {
        clearStates();
        txSettingValueVal->clear();
        txSettingValueValDec->clear();
        InputMarks::SetTextValid(txSettingValueVal, true);
        InputMarks::SetBackComplete(txSettingValueVal, true);
    }
    if (!string) {
        txMaxStringLength->clear();
        lbAvailableCharsVal->clear();
    }
}

void bvlEditSettingDo::opType_Click(int index)
{
    if (!m_filling)
        resetUnusedPanels(index);
    switch (SettingType(index)) {
    case SettingType::Checkbox:
        frString->hide();
        frBits->show();
        frCheckbox->show();
        frList->hide();
        break;
    case SettingType::ValueList:
        frString->hide();
        frBits->show();
        frCheckbox->hide();
        frList->show();
        break;
    case SettingType::Int8:
        frString->hide();
        frBits->hide();
        break;
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        frString->show();
        frBits->hide();
        txMaxStringLength_Change();
        break;
    }
}

void bvlEditSettingDo::txOffsetDec_LostFocus()
{
    try {
        txOffsetHex->setText(HexText32(TypedNumberToLong(txOffsetDec->text())));
    } catch (const BvlError &) {
        // not a number: the other box keeps its text
    }
}

void bvlEditSettingDo::txOffsetHex_LostFocus()
{
    try {
        txOffsetDec->setText(QString::number(HexToLong(txOffsetHex->text())));
    } catch (const BvlError &) {
        // not a hexadecimal number: the other box keeps its text
    }
}

void bvlEditSettingDo::chBit_Click(int)
{
    quint8 bits = 0;
    for (int bit = 0; bit < int(chBit.size()); ++bit)
        if (chBit[bit]->isChecked())
            bits |= quint8(1u << bit);
    SelectedBits = bits;

    // A new selection starts the checkbox values afresh: all selected bits on, all off.
    txCheckedValue->setText(ValueToBitText(SelectedBits));
    txUncheckedValue->setText(ValueToBitText(0));

    const int v = BitTextToValue(txSettingValueVal->text());
    if (v == -1)
        return;
    const int state = chosenState(cbSettingValueList);
    if (state >= 0)
        cbSettingValueList->setItemData(state, v & SelectedBits);
    InputMarks::SetTextValid(txSettingValueVal, (v & ~SelectedBits) == 0);
}

bool bvlEditSettingDo::CheckBitText(QLineEdit *box)
{
    const QString text = box->text();
    if (text.size() < BitTextLength) {
        InputMarks::SetBackComplete(box, false);
        return false;
    }
    InputMarks::SetBackComplete(box, true);
    const int v = BitTextToValue(text);
    if (v == -1) {
        InputMarks::SetBackComplete(box, false);
        return false;
    }
    const bool insideSelection = (v & ~SelectedBits) == 0;
    InputMarks::SetTextValid(box, insideSelection);
    return insideSelection;
}

void bvlEditSettingDo::txCheckedValue_Change()
{
    CheckBitText(txCheckedValue);
}

void bvlEditSettingDo::txUncheckedValue_Change()
{
    CheckBitText(txUncheckedValue);
}

void bvlEditSettingDo::txMaxStringLength_Change()
{
    qint64 length = 0;   // wide enough for the lowest length minus one
    try {
        length = TypedNumberToLong(txMaxStringLength->text());
    } catch (const BvlError &) {
        InputMarks::SetTextValid(txMaxStringLength, false);
        return;
    }
    switch (GetType()) {
    case int(SettingType::AnsiString):
        // one byte is the terminator: red while no character fits
        InputMarks::SetTextValid(txMaxStringLength, length >= 2);
        lbAvailableCharsVal->setText(QString::number(length - 1));
        break;
    case int(SettingType::UnicodeString):
        // two bytes per character, two for the terminator
        InputMarks::SetTextValid(txMaxStringLength, length >= 4);
        lbAvailableCharsVal->setText(QString::number((length - 2) / 2));
        break;
    default:
        break;
    }
}

// ---- state list ----

bool bvlEditSettingDo::AddSafe(QComboBox *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == text)
            return false;
    // A combo box chooses its first entry by itself; the chosen state must not change.
    const QSignalBlocker quiet(list);
    const int chosen = list->currentIndex();
    list->addItem(text, 0);
    list->setCurrentIndex(chosen);
    return true;
}

void bvlEditSettingDo::clearStates()
{
    const QSignalBlocker quiet(cbSettingValueList);
    cbSettingValueList->clear();
    cbSettingValueList->setCurrentIndex(-1);
}

void bvlEditSettingDo::cbSettingValueList_Click()
{
    const int state = chosenState(cbSettingValueList);
    if (state < 0)
        return;
    try {
        txSettingValueVal->setText(ValueToBitText(cbSettingValueList->itemData(state).toInt()));
    } catch (const BvlError &) {
        // a value without a bit text: the box keeps its text
    }
}

void bvlEditSettingDo::cmAddSettingValue_Click()
{
    const QString name =
        m_ctx.platform.inputBox(m_ctx.T(QStringLiteral("bvlEditSetting.cmtNewStateName_I")), QString());
    if (name.isEmpty())
        return;
    // A stored name with the separator would read back as two names.
    if (name.contains(ValueSeparator)) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.StateNameSeparator_M")), MsgIcon::Warning,
                                  MsgButtons::Ok);
        return;
    }
    if (!AddSafe(cbSettingValueList, name)) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.cmtAlreadyExist_M")), MsgIcon::Warning,
                                  MsgButtons::Ok);
        return;
    }
    cbSettingValueList->setCurrentIndex(cbSettingValueList->count() - 1);
}

void bvlEditSettingDo::cmRemoveSettingValue_Click()
{
    const int state = chosenState(cbSettingValueList);
    if (state < 0)
        return;
    // Removing moves the choice to a neighbour; afterwards no state is chosen instead.
    const QSignalBlocker quiet(cbSettingValueList);
    cbSettingValueList->removeItem(state);
    cbSettingValueList->setCurrentIndex(-1);
}

void bvlEditSettingDo::txSettingValueVal_Change()
{
    const int state = chosenState(cbSettingValueList);
    if (state < 0)
        return;
    if (!CheckBitText(txSettingValueVal))
        return;
    const int v = BitTextToValue(txSettingValueVal->text());
    cbSettingValueList->setItemData(state, v & SelectedBits);
    txSettingValueValDec->setText(QString::number(v));
}

void bvlEditSettingDo::txSettingValueValDec_Change()
{
    qint32 value = 0;
    try {
        value = TypedNumberToLong(txSettingValueValDec->text());
    } catch (const BvlError &) {
        return;
    }
    if (value < 0 || value > 255)   // no bit text: the binary box keeps its text
        return;
    txSettingValueVal->setText(ValueToBitText(value));
}

// ---- group ----

void bvlEditSettingDo::cmGroupBrowse_Click()
{
    if (!m_chooseGroup)
        return;
    const QString group = m_chooseGroup();
    if (!group.isEmpty())
        txSettingGroup->setText(group);
}

void bvlEditSettingDo::txSettingGroup_MouseMove()
{
    if (m_showFileDesc)
        m_showFileDesc(txSettingGroup->toolTip());
}
