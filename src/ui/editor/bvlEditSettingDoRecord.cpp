// The setting dialog and its record: clearing for Add, filling from a record, storing the
// fields into one, and the preview of what the fields would read from the images.
#include "core/BvlError.h"
#include "core/Conversions.h"
#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "seem/authoring/RecordRules.h"
#include "seem/authoring/ReferenceImages.h"
#include "seem/authoring/SettingFileDocument.h"
#include "ui/AppContext.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/SettingPreview.h"
#include "ui/editor/TypedNumber.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

// Three lines under the fields for what the setting reads from the images.
constexpr int PreviewHeight = 3 * 255 + 60;

// Empties the fields a record's new type does not use, so that what the record held for
// its old type never reaches the file.
void KeepOnlyUsedFields(SettingStruct &setting)
{
    const auto type = SettingType(setting.Type);
    const bool bits = type == SettingType::Checkbox || type == SettingType::ValueList;
    const bool string = type == SettingType::AnsiString || type == SettingType::UnicodeString;
    if (!bits) {
        setting.BitMask = 0;
        setting.Values.clear();
    }
    if (type != SettingType::ValueList)
        setting.ValueNames.clear();
    if (!string)
        setting.MaxStringLength = 0;
}

enum ShownText {
    ShownName,
    ShownGroup,
    ShownDescription
};

}   // namespace

// ---- filling and storing ----

void bvlEditSettingDo::ResetForm()
{
    m_filledFrom.reset();
    m_filledShape.reset();
    // Only what is cleared below is cleared: the available characters keep their text.
    m_filling = true;
    selectType(int(SettingType::Checkbox));
    m_filling = false;
    txSettingName->clear();
    txSettingGroup->clear();
    txSettingDescription->clear();
    txOffsetDec->clear();
    txOffsetHex->clear();
    for (QPushButton *bit : chBit)
        bit->setChecked(false);
    clearStates();
    txSettingValueVal->clear();
    InputMarks::SetTextValid(txSettingValueVal, true);
    InputMarks::SetBackComplete(txSettingValueVal, true);
    txSettingValueValDec->clear();
    InputMarks::SetTextValid(txMaxStringLength, true);
    txMaxStringLength->clear();
    for (QLineEdit *box : {txCheckedValue, txUncheckedValue}) {
        InputMarks::SetTextValid(box, true);
        InputMarks::SetBackComplete(box, true);
        box->clear();
    }
}

void bvlEditSettingDo::DoReadSettingStruct()
{
    ReadSettingStruct(m_ctx.CurrentSetting);
}

void bvlEditSettingDo::ReadSettingStruct(const SettingStruct &setting)
{
    // The record's own values replace what the panels held, whatever its type.
    resetUnusedPanels(setting.Type);
    m_filling = true;
    selectType(setting.Type);
    m_filling = false;
    txOffsetDec->setText(QString::number(setting.Offset));
    txOffsetHex->setText(HexText32(setting.Offset));
    txMaxStringLength->setText(QString::number(setting.MaxStringLength));
    for (int bit = 0; bit < int(chBit.size()); ++bit)
        chBit[bit]->setChecked((setting.BitMask >> bit) & 1u);
    txSettingDescription->setPlainText(setting.Description);
    txSettingGroup->setText(setting.Group);
    txSettingName->setText(setting.Name);

    // A value without a bit text (only in records the editor refuses to edit) leaves
    // the box as it was rather than stopping the fill half-way.
    const auto bitText = [](const QString &decimal, QString &text) {
        try {
            text = ValueToBitText(DecimalToLong(decimal));
            return true;
        } catch (const BvlError &) {
            return false;
        }
    };

    const QStringList values = SplitValues(setting.Values);
    if (setting.Type == quint8(SettingType::Checkbox)) {
        QString text;
        if (values.size() > 0 && bitText(values[0], text))
            txCheckedValue->setText(text);
        if (values.size() > 1 && bitText(values[1], text))
            txUncheckedValue->setText(text);
    } else if (setting.Type == quint8(SettingType::ValueList)) {
        const QStringList names = SplitValues(setting.ValueNames);
        const QSignalBlocker quiet(cbSettingValueList);   // filling chooses no state
        cbSettingValueList->clear();
        for (int i = 0; i < names.size(); ++i) {
            qint32 value = 0;
            try {
                value = i < values.size() ? DecimalToLong(values[i]) : 0;
            } catch (const BvlError &) {
            }
            cbSettingValueList->addItem(names[i], value);
        }
        cbSettingValueList->setCurrentIndex(-1);
    }

    m_filledFrom = setting;
    m_shownTexts = {txSettingName->text(), txSettingGroup->text(), txSettingDescription->toPlainText()};
    m_filledShape.reset();
    try {
        SettingStruct shape = setting;
        storeFields(shape, true);
        m_filledShape = shape;
    } catch (const BvlError &) {
        // OK refuses it as it stands, so there is nothing to hand back unchanged
    } catch (const Refusal &) {
        // the same
    }
}

QString bvlEditSettingDo::keptOrTyped(int field, const QString &typed, const QString &own) const
{
    return m_filledFrom && typed == m_shownTexts[std::size_t(field)] ? own : typed;
}

bool bvlEditSettingDo::WriteSettingStruct(SettingStruct &setting)
{
    try {
        storeFields(setting, true);
        // Nothing changed since the record was filled in: it goes back to the byte as it came.
        if (m_filledShape && setting == *m_filledShape)
            setting = *m_filledFrom;
        return true;
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(refusalText(e.number(), QString()), MsgIcon::Warning, MsgButtons::Ok);
    } catch (const Refusal &refusal) {
        m_ctx.platform.messageBox(refusalText(refusal.number, refusal.reason), MsgIcon::Warning, MsgButtons::Ok);
    }
    return false;
}

QString bvlEditSettingDo::refusalText(int number, QString reason) const
{
    // A number that does not convert, or a bit text that is not one, has the dialog's words;
    // what the rules of a record find is worded as the check words it.
    if (reason.isEmpty())
        reason = number == ErrNo::CheckboxValues ? m_ctx.T(QStringLiteral("bvlEditSettingDo.sErr605_M"))
                                                 : m_ctx.T(QStringLiteral("bvlEditSettingDo.sErrNumber_M"));
    QString field = m_failedField ? WithoutMnemonic(m_failedField->text()).trimmed() : QString();
    if (field.endsWith(QLatin1Char(':')))
        field.chop(1);
    return (field.isEmpty() ? QString() : field + QStringLiteral(": ")) + reason + QStringLiteral(" (ERR ")
           + QString::number(number) + QLatin1Char(')');
}

void bvlEditSettingDo::storeFields(SettingStruct &setting, bool checkRules)
{
    const int type = GetType();
    setting.Type = quint8(type);
    m_failedField = lbOffset;
    setting.Offset = TypedNumberToLong(txOffsetDec->text());
    if (type > int(SettingType::Int8)) {
        m_failedField = lbMaxStringLength;
        setting.MaxStringLength = TypedNumberToLong(txMaxStringLength->text());
    }
    m_failedField = nullptr;
    setting.BitMask = SelectedBits;

    const SettingStruct own = m_filledFrom.value_or(SettingStruct());
    setting.Description = keptOrTyped(ShownDescription, txSettingDescription->toPlainText(), own.Description);
    setting.Group = keptOrTyped(ShownGroup, txSettingGroup->text(), own.Group);
    setting.Name = keptOrTyped(ShownName, txSettingName->text(), own.Name);

    // A check box value box whose text is no bit text: unchecking would write what it
    // does not say. Refused in its place among the record's rules.
    QLabel *notBitText = nullptr;
    if (type == int(SettingType::Checkbox)) {
        const auto bitValue = [this, &notBitText](QLineEdit *box, QLabel *caption) {
            const int v = box->text().size() == BitTextLength ? BitTextToValue(box->text()) : -1;
            if (v < 0 && !notBitText)
                notBitText = caption;
            return v & SelectedBits;
        };
        const int on = bitValue(txCheckedValue, lbCheckedValue);
        const int off = bitValue(txUncheckedValue, lbUncheckedValue);
        setting.Values = JoinValues({QString::number(on), QString::number(off)});
    } else if (type == int(SettingType::ValueList)) {
        QStringList names, values;
        for (int i = 0; i < cbSettingValueList->count(); ++i) {
            names << cbSettingValueList->itemText(i);
            values << QString::number(cbSettingValueList->itemData(i).toInt() & SelectedBits);
        }
        setting.ValueNames = JoinValues(names);
        setting.Values = JoinValues(values);
    }
    // A record keeps what its own type does not use; one whose type changed drops what
    // only the old type used.
    if (!m_filledFrom || m_filledFrom->Type != setting.Type)
        KeepOnlyUsedFields(setting);
    if (checkRules)
        refuseByRules(setting, notBitText);
}

void bvlEditSettingDo::refuseByRules(const SettingStruct &setting, QLabel *notBitText)
{
    // The rules of a record are the check's, in the order the fields are read: the
    // offset, the string's size, the group, the name, the bits, the values, the texts.
    const bool checkbox = setting.Type == quint8(SettingType::Checkbox);
    struct Rank
    {
        int order;
        int number;
        QLabel *caption;
    };
    const auto rankOf = [&](const FitFinding &f) -> Rank {
        switch (f.rule) {
        case FitRule::NegativeOffset:
            return {0, ErrNo::Overflow, lbOffset};
        case FitRule::NoTerminatorRoom:
            return {1, ErrNo::StringLength, lbMaxStringLength};
        case FitRule::GroupEmpty:
            return {2, ErrNo::GroupEmpty, lbSettingGroup};
        case FitRule::NameEmpty:
            return {3, ErrNo::NameEmpty, lbSettingName};
        case FitRule::MaskEmpty:
            return {4, checkbox ? ErrNo::CheckboxNoBits : ErrNo::ValueListNoBits, lbBitSelection};
        case FitRule::NoStates:
            return {6, ErrNo::NoStates, lbSettingValueList};
        case FitRule::CheckboxValuesEqual:
            return {7, ErrNo::CheckboxValues, lbUncheckedValue};
        case FitRule::TextTooLong:
            return {8, ErrNo::Overflow, captionOf(f.field)};
        default:
            return {8, ErrNo::TypeMismatch, captionOf(f.field)};
        }
    };
    std::optional<Rank> first;
    QString reason;
    LangWording words(m_ctx.lang);
    for (const FitFinding &f : CheckRecord(setting, 0, m_document.codePage())) {
        if (f.severity != FitSeverity::Error)
            continue;
        const Rank rank = rankOf(f);
        if (!first || rank.order < first->order) {
            first = rank;
            reason = FindingMessage(words, f);
        }
    }
    if (notBitText && (!first || first->order > 5)) {
        m_failedField = notBitText;
        throw Refusal{ErrNo::CheckboxValues, QString()};
    }
    if (first) {
        m_failedField = first->caption;
        throw Refusal{first->number, reason};
    }
}

QLabel *bvlEditSettingDo::captionOf(RecordField field) const
{
    switch (field) {
    case RecordField::Name:
        return lbSettingName;
    case RecordField::Group:
        return lbSettingGroup;
    case RecordField::Description:
        return lbSettingDescription;
    case RecordField::ValueNames:
        return lbSettingValueList;
    case RecordField::Offset:
        return lbOffset;
    case RecordField::StringLength:
        return lbMaxStringLength;
    default:
        return nullptr;
    }
}

// ---- preview ----

void bvlEditSettingDo::SetEditedRecord(int k)
{
    m_editedRecord = k;
    const bool shown = m_images.images().hasReference();
    for (QLabel *line : {lbPreviewReference, lbPreviewSecond, lbPreviewOverlap})
        line->setVisible(shown);
    const int extra = shown ? PreviewHeight : 0;
    setFixedSize(TwipsToPixelsX(8175), TwipsToPixelsY(4335 + extra));
    cmOK->move(TwipsToPixelsX(5280), TwipsToPixelsY(3840 + extra));
    cmCancel->move(TwipsToPixelsX(6720), TwipsToPixelsY(3840 + extra));
    UpdatePreview();
}

void bvlEditSettingDo::UpdatePreview()
{
    const ReferenceImages &images = m_images.images();
    if (!images.hasReference())
        return;
    SettingStruct draft;
    QString problem;
    try {
        storeFields(draft, false);
        // While the hexadecimal box is being typed in, it is the offset that counts.
        if (focusWidget() == txOffsetHex)
            draft.Offset = HexToLong(txOffsetHex->text());
    } catch (const BvlError &e) {
        problem = m_ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewIncomplete_V")) + QStringLiteral(" (ERR ")
                  + QString::number(e.number()) + QLatin1Char(')');
    }
    const auto showLine = [&](QLabel *label, const QString &imageKey, const QByteArray &image) {
        const QString imageLabel = m_ctx.T(imageKey);
        const PreviewLine line = problem.isEmpty() ? PreviewOf(m_ctx, imageLabel, image, draft)
                                                   : PreviewLine{imageLabel + QStringLiteral(": ") + problem, true};
        label->setText(line.text);
        if (line.warning)
            ThemeColours::MarkText(label, ThemeColours::Warning);
        else
            ThemeColours::MarkPlain(label);
    };
    showLine(lbPreviewReference, QStringLiteral("bvlEditSettingDo.sPreviewReference_V"), images.reference);
    if (images.hasSecond())
        showLine(lbPreviewSecond, QStringLiteral("bvlEditSettingDo.sPreviewSecond_V"), images.second);
    else
        lbPreviewSecond->clear();
    lbPreviewOverlap->setText(problem.isEmpty() ? OverlapLine(m_ctx, m_document.records(), draft, m_editedRecord)
                                                : QString());
    ThemeColours::MarkText(lbPreviewOverlap, ThemeColours::Warning);
}
