#include "ui/editor/bvlEditSettingDo.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/InputDataError.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/KeyPreview.h"
#include "ui/editor/ReferenceImages.h"
#include "ui/editor/SettingPreview.h"
#include "ui/editor/TypedNumber.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/language/ApplyLanguage.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr int BitTextLength = 8;
// Three lines under the fields for what the setting reads from the images.
constexpr int PreviewHeight = 3 * 255 + 60;

QLineEdit *textBox(QWidget *parent, const QString &name, const QRect &geometry, int maxLength = 0)
{
    auto *box = NamedAt(new QLineEdit(parent), name, geometry);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *b = NewCommandButton(parent, name, caption, false);
    b->setGeometry(geometry);
    return b;
}

// A frame without border that only groups and shows or hides its controls.
QFrame *panel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *frame = NamedAt(new QFrame(parent), name, geometry);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

// Empties the fields the record's type does not use, so that what an earlier setting
// left in the dialog or in the hand-over record never reaches the file.
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

// Index of the chosen state, -1 when no state is chosen.
int chosenState(const QComboBox *list)
{
    return list->currentIndex();
}

}   // namespace

bvlEditSettingDo::bvlEditSettingDo(AppContext &ctx, bvlEditSetting *editor,
                                   std::function<void(const QString &)> showFileDesc)
    : QDialog(editor, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx),
      m_editor(editor),
      m_showFileDesc(std::move(showFileDesc))
{
    setObjectName(QStringLiteral("bvlEditSettingDo"));
    setFixedSize(TwipsToPixelsX(8175), TwipsToPixelsY(4335));
    buildControls();
    connectHandlers();
    Form_Load();
}

void bvlEditSettingDo::buildControls()
{
    frSetting = NamedAt(new QGroupBox(QStringLiteral("Settings"), this), QStringLiteral("frSetting"),
                        TwipsRect(120, 120, 7935, 3615));
    TagForCaption(frSetting);

    const QStringList typeCaptions = {QStringLiteral("Checkbox"), QStringLiteral("Lista di valori"),
                                      QStringLiteral("Numero intero a 8 bit"), QStringLiteral("Stringa ANSI"),
                                      QStringLiteral("Stringa Unicode")};
    // The options are narrower than their column so that the offset caption, which is
    // longer in most languages than its slot, can reach to the left of the panels.
    for (int i = 0; i < int(opType.size()); ++i) {
        opType[i] = NamedAt(new QRadioButton(typeCaptions[i], frSetting), ArrayElementName(QStringLiteral("opType"), i),
                            TwipsRect(240, 360 + 240 * i, 2655, 255));
        TagForCaption(opType[i]);
    }

    lbSettingName = CaptionLabel(frSetting, QStringLiteral("lbSettingName"), QStringLiteral("Nome:"),
                                 TwipsRect(240, 1680, 615, 255));
    txSettingName = textBox(frSetting, QStringLiteral("txSettingName"), TwipsRect(960, 1650, 2415, 285));
    lbSettingGroup = CaptionLabel(frSetting, QStringLiteral("lbSettingGroup"), QStringLiteral("Gruppo:"),
                                  TwipsRect(240, 2040, 735, 255));
    txSettingGroup = textBox(frSetting, QStringLiteral("txSettingGroup"), TwipsRect(960, 2010, 1935, 285));
    txSettingGroup->setMouseTracking(true);   // pointer moves without a button pressed
    cmGroupBrowse =
        button(frSetting, QStringLiteral("cmGroupBrowse"), QStringLiteral("..."), TwipsRect(3000, 2010, 375, 285));
    lbSettingDescription = CaptionLabel(frSetting, QStringLiteral("lbSettingDescription"),
                                        QStringLiteral("Descrizione:"), TwipsRect(240, 2400, 3135, 255));
    txSettingDescription =
        NamedAt(new QPlainTextEdit(frSetting), QStringLiteral("txSettingDescription"), TwipsRect(240, 2640, 3135, 735));
    txSettingDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txSettingDescription->setTabChangesFocus(true);

    lbOffset = CaptionLabel(frSetting, QStringLiteral("lbOffset"), QStringLiteral("Offset base zero:"),
                            TwipsRect(3000, 360, 1740, 255));
    lbOffset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbDecOffset =
        CaptionLabel(frSetting, QStringLiteral("lbDecOffset"), QStringLiteral("dec"), TwipsRect(4800, 360, 375, 255));
    txOffsetDec = textBox(frSetting, QStringLiteral("txOffsetDec"), TwipsRect(5280, 330, 1095, 285));
    lbHexOffset =
        CaptionLabel(frSetting, QStringLiteral("lbHexOffset"), QStringLiteral("hex"), TwipsRect(6360, 360, 375, 255));
    lbHexOffset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txOffsetHex = textBox(frSetting, QStringLiteral("txOffsetHex"), TwipsRect(6840, 330, 855, 285));

    // String panel: the byte size of the string field.
    frString = panel(frSetting, QStringLiteral("frString"), TwipsRect(3600, 720, 4095, 2655));
    lbMaxStringLength =
        CaptionLabel(frString, QStringLiteral("lbMaxStringLength"),
                     QStringLiteral("Lunghezza del record su file (byte):"), TwipsRect(0, 120, 4095, 255));
    txMaxStringLength = textBox(frString, QStringLiteral("txMaxStringLength"), TwipsRect(0, 360, 4095, 285));
    lbAvailableChars = CaptionLabel(frString, QStringLiteral("lbAvailableChars"),
                                    QStringLiteral("Caratteri disponibili:"), TwipsRect(0, 840, 4095, 255));
    lbAvailableCharsVal =
        NamedAt(new QLabel(frString), QStringLiteral("lbAvailableCharsVal"), TwipsRect(0, 1080, 4095, 255));
    frString->hide();

    // Bit panel: the owned bits, then the checkbox values or the state list.
    frBits = panel(frSetting, QStringLiteral("frBits"), TwipsRect(3600, 720, 4095, 2775));
    lbBitSelection =
        CaptionLabel(frBits, QStringLiteral("lbBitSelection"),
                     QStringLiteral("Selezione dei bit modificati dal setting:"), TwipsRect(0, 120, 4095, 255));
    for (int bit = 7; bit >= 0; --bit) {
        const int column = 7 - bit;   // bit 7 leftmost
        // Alt and the bit's digit toggles it.
        // Toggles, not commands: Enter on one presses OK.
        chBit[bit] =
            NamedAt(new QPushButton(QLatin1Char('&') + QString::number(bit), frBits),
                    ArrayElementName(QStringLiteral("chBit"), bit), TwipsRect(600 + 360 * column, 480, 375, 375));
        chBit[bit]->setAutoDefault(false);
        chBit[bit]->setCheckable(true);
    }

    frCheckbox = panel(frBits, QStringLiteral("frCheckbox"), TwipsRect(0, 960, 4095, 1695));
    lbCheckedValue = CaptionLabel(frCheckbox, QStringLiteral("lbCheckedValue"), QStringLiteral("Checkbox attivato:"),
                                  TwipsRect(0, 120, 4095, 255));
    txCheckedValue = textBox(frCheckbox, QStringLiteral("txCheckedValue"), TwipsRect(0, 360, 4095, 285), BitTextLength);
    lbUncheckedValue = CaptionLabel(frCheckbox, QStringLiteral("lbUncheckedValue"),
                                    QStringLiteral("Checkbox disattivato:"), TwipsRect(0, 720, 4095, 255));
    txUncheckedValue =
        textBox(frCheckbox, QStringLiteral("txUncheckedValue"), TwipsRect(0, 960, 4095, 285), BitTextLength);

    frList = panel(frBits, QStringLiteral("frList"), TwipsRect(0, 960, 4095, 1695));
    lbSettingValueList = CaptionLabel(frList, QStringLiteral("lbSettingValueList"),
                                      QStringLiteral("Stati possibili del setting:"), TwipsRect(0, 0, 4095, 255));
    cbSettingValueList =
        NamedAt(new QComboBox(frList), QStringLiteral("cbSettingValueList"), TwipsRect(0, 240, 3255, 315));
    cbSettingValueList->setEditable(false);
    cmAddSettingValue =
        button(frList, QStringLiteral("cmAddSettingValue"), QStringLiteral("+"), TwipsRect(3360, 240, 315, 315));
    cmRemoveSettingValue =
        button(frList, QStringLiteral("cmRemoveSettingValue"), QStringLiteral("-"), TwipsRect(3720, 240, 315, 315));
    lbSettingValueVal = CaptionLabel(frList, QStringLiteral("lbSettingValueVal"), QStringLiteral("Valore dello stato:"),
                                     TwipsRect(0, 720, 4095, 255));
    lbStateBin = CaptionLabel(frList, QStringLiteral("lbStateBin"), QStringLiteral("bin"), TwipsRect(0, 990, 375, 255));
    txSettingValueVal =
        textBox(frList, QStringLiteral("txSettingValueVal"), TwipsRect(480, 960, 1575, 285), BitTextLength);
    lbStateDec =
        CaptionLabel(frList, QStringLiteral("lbStateDec"), QStringLiteral("dec"), TwipsRect(2040, 990, 375, 255));
    lbStateDec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txSettingValueValDec = textBox(frList, QStringLiteral("txSettingValueValDec"), TwipsRect(2520, 960, 1575, 285), 3);
    frList->hide();

    cmOK = button(this, QStringLiteral("cmOK"), QStringLiteral("OK"), TwipsRect(5280, 3840, 1335, 375));
    TagForCaption(cmOK);
    cmOK->setDefault(true);   // Enter in a box presses OK
    cmCancel = button(this, QStringLiteral("cmCancel"), QStringLiteral("Annulla"), TwipsRect(6720, 3840, 1335, 375));
    TagForCaption(cmCancel);

    // Shown only while a reference image is open (SetPreviewContext).
    const auto previewLabel = [this](const QString &name, int top) {
        auto *label = NamedAt(new QLabel(this), name, TwipsRect(240, top, 7815, 255));
        label->setTextFormat(Qt::PlainText);
        label->hide();
        return label;
    };
    lbPreviewReference = previewLabel(QStringLiteral("lbPreviewReference"), 3780);
    lbPreviewSecond = previewLabel(QStringLiteral("lbPreviewSecond"), 3780 + 255);
    lbPreviewOverlap = previewLabel(QStringLiteral("lbPreviewOverlap"), 3780 + 510);

    // Each caption names the field it stands for (for screen readers too).
    const std::pair<QLabel *, QWidget *> buddies[] = {{lbSettingName, txSettingName},
                                                      {lbSettingGroup, txSettingGroup},
                                                      {lbSettingDescription, txSettingDescription},
                                                      {lbDecOffset, txOffsetDec},
                                                      {lbHexOffset, txOffsetHex},
                                                      {lbMaxStringLength, txMaxStringLength},
                                                      {lbCheckedValue, txCheckedValue},
                                                      {lbUncheckedValue, txUncheckedValue},
                                                      {lbSettingValueList, cbSettingValueList},
                                                      {lbStateBin, txSettingValueVal},
                                                      {lbStateDec, txSettingValueValDec}};
    for (const auto &[label, field] : buddies)
        label->setBuddy(field);

    QList<QWidget *> tabOrder;
    for (QRadioButton *option : opType)
        tabOrder << option;
    tabOrder << txSettingName << txSettingGroup << cmGroupBrowse << txSettingDescription << txOffsetDec << txOffsetHex
             << txMaxStringLength;
    for (int bit = 7; bit >= 0; --bit)
        tabOrder << chBit[bit];
    tabOrder << txCheckedValue << txUncheckedValue << cbSettingValueList << cmAddSettingValue << cmRemoveSettingValue
             << txSettingValueVal << txSettingValueValDec << cmOK << cmCancel;
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void bvlEditSettingDo::connectHandlers()
{
    for (int i = 0; i < int(opType.size()); ++i)
        connect(opType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                opType_Click(i);
        });
    for (int bit = 0; bit < int(chBit.size()); ++bit)
        connect(chBit[bit], &QPushButton::toggled, this, [this, bit] { chBit_Click(bit); });
    connect(txCheckedValue, &QLineEdit::textChanged, this, &bvlEditSettingDo::txCheckedValue_Change);
    connect(txUncheckedValue, &QLineEdit::textChanged, this, &bvlEditSettingDo::txUncheckedValue_Change);
    connect(txMaxStringLength, &QLineEdit::textChanged, this, &bvlEditSettingDo::txMaxStringLength_Change);
    connect(txSettingValueVal, &QLineEdit::textChanged, this, &bvlEditSettingDo::txSettingValueVal_Change);
    connect(txSettingValueValDec, &QLineEdit::textChanged, this, &bvlEditSettingDo::txSettingValueValDec_Change);
    // A state chosen by the program or by the user; picking the chosen one again also
    // shows its value again.
    connect(cbSettingValueList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cbSettingValueList_Click();
    });
    connect(cbSettingValueList, &QComboBox::activated, this, [this] { cbSettingValueList_Click(); });
    connect(cmAddSettingValue, &QPushButton::clicked, this, &bvlEditSettingDo::cmAddSettingValue_Click);
    connect(cmRemoveSettingValue, &QPushButton::clicked, this, &bvlEditSettingDo::cmRemoveSettingValue_Click);
    connect(cmGroupBrowse, &QPushButton::clicked, this, &bvlEditSettingDo::cmGroupBrowse_Click);
    connect(cmOK, &QPushButton::clicked, this, &bvlEditSettingDo::cmOK_Click);
    connect(cmCancel, &QPushButton::clicked, this, &bvlEditSettingDo::cmCancel_Click);

    // The preview follows every field a setting reads with.
    const auto preview = [this] { UpdatePreview(); };
    for (QRadioButton *option : opType)
        connect(option, &QRadioButton::toggled, this, preview);
    for (QPushButton *bit : chBit)
        connect(bit, &QPushButton::toggled, this, preview);
    for (QLineEdit *box : {txOffsetDec, txOffsetHex, txMaxStringLength, txCheckedValue, txUncheckedValue,
                           txSettingValueVal, txSettingName})
        connect(box, &QLineEdit::textChanged, this, preview);
    connect(cbSettingValueList->model(), &QAbstractItemModel::dataChanged, this, preview);
    connect(cbSettingValueList->model(), &QAbstractItemModel::rowsInserted, this, preview);
    connect(cbSettingValueList->model(), &QAbstractItemModel::rowsRemoved, this, preview);

    txOffsetDec->installEventFilter(this);
    txOffsetHex->installEventFilter(this);
    txSettingGroup->installEventFilter(this);
    new KeyPreview(this, [this](int key) { return Form_KeyDown(key); });
}

void bvlEditSettingDo::Form_Load()
{
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnuSetting")));
    ApplyLanguage(m_ctx.lang, this);
    FitControlsToText(this);
    const QString groupHint = m_ctx.T(QStringLiteral("bvlEditSetting.ttGroup"));
    lbSettingGroup->setToolTip(groupHint);
    txSettingGroup->setToolTip(groupHint);
}

bool bvlEditSettingDo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control counts, not the window losing activation.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == txOffsetDec)
                txOffsetDec_LostFocus();
            else if (watched == txOffsetHex)
                txOffsetHex_LostFocus();
        }
    } else if (event->type() == QEvent::MouseMove && watched == txSettingGroup) {
        txSettingGroup_MouseMove();
    }
    return QDialog::eventFilter(watched, event);
}

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
        // one byte is the terminator; the marks agree with what OK accepts
        InputMarks::SetTextValid(txMaxStringLength, length >= 1 && length <= 255);
        lbAvailableCharsVal->setText(QString::number(length - 1));
        break;
    case int(SettingType::UnicodeString):
        // two bytes per character, two for the terminator
        InputMarks::SetTextValid(txMaxStringLength, length >= 2 && length <= 510 && length % 2 == 0);
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
    if (!m_editor)
        return;
    m_editor->FreshGroups();
    bvlGroupBrowse *browser = m_editor->GroupBrowser();
    browser->exec();
    const QString group = browser->GetSelectedItem();
    if (!group.isEmpty())
        txSettingGroup->setText(group);
}

void bvlEditSettingDo::txSettingGroup_MouseMove()
{
    if (m_showFileDesc)
        m_showFileDesc(txSettingGroup->toolTip());
}

// ---- filling and storing ----

void bvlEditSettingDo::ResetForm()
{
    selectType(int(SettingType::Checkbox));
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
}

bool bvlEditSettingDo::WriteSettingStruct(SettingStruct &setting)
{
    try {
        storeFields(setting, true);
        return true;
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(refusalText(e), MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
}

QString bvlEditSettingDo::refusalText(const BvlError &e) const
{
    QString reason;
    switch (e.number()) {
    case ErrNo::GroupEmpty:
    case ErrNo::NameEmpty:
    case ErrNo::NoStates:
    case ErrNo::CheckboxNoBits:
    case ErrNo::ValueListNoBits:
    case ErrNo::CheckboxValues:
    case ErrNo::StringLength:
        reason = m_ctx.T(QStringLiteral("bvlEditSettingDo.sErr%1_M").arg(e.number()));
        break;
    default:
        reason = m_ctx.T(QStringLiteral("bvlEditSettingDo.sErrNumber_M"));
        break;
    }
    QString field = m_failedField ? WithoutMnemonic(m_failedField->text()).trimmed() : QString();
    if (field.endsWith(QLatin1Char(':')))
        field.chop(1);
    return (field.isEmpty() ? QString() : field + QStringLiteral(": ")) + reason + QStringLiteral(" (ERR ")
           + QString::number(e.number()) + QLatin1Char(')');
}

void bvlEditSettingDo::storeFields(SettingStruct &setting, bool checkNames)
{
    const int type = GetType();
    setting.Type = quint8(type);
    m_failedField = lbOffset;
    setting.Offset = TypedNumberToLong(txOffsetDec->text());
    if (type > int(SettingType::Int8)) {
        m_failedField = lbMaxStringLength;
        setting.MaxStringLength = TypedNumberToLong(txMaxStringLength->text());
        const bool wide = type == int(SettingType::UnicodeString);
        const qint32 length = setting.MaxStringLength;
        if (wide ? length < 2 || length > 510 || length % 2 != 0 : length < 1 || length > 255)
            throw BvlError(ErrNo::StringLength);
    }
    setting.BitMask = SelectedBits;

    setting.Description = txSettingDescription->toPlainText();
    setting.Group = txSettingGroup->text();
    m_failedField = lbSettingGroup;
    if (checkNames && setting.Group.trimmed().isEmpty())
        throw BvlError(ErrNo::GroupEmpty);
    setting.Name = txSettingName->text();
    m_failedField = lbSettingName;
    if (checkNames && setting.Name.trimmed().isEmpty())
        throw BvlError(ErrNo::NameEmpty);

    if (type == int(SettingType::Checkbox)) {
        m_failedField = lbBitSelection;
        if (SelectedBits == 0)
            throw BvlError(ErrNo::CheckboxNoBits);
        // Unchecking writes the unchecked bits: a box whose values cannot be read, or
        // are the same within the selected bits, would write "on" when turned off.
        const auto bitValue = [this](QLineEdit *box, QLabel *caption) {
            m_failedField = caption;
            const int v = box->text().size() == BitTextLength ? BitTextToValue(box->text()) : -1;
            if (v < 0)
                throw BvlError(ErrNo::CheckboxValues);
            return v & SelectedBits;
        };
        const int on = bitValue(txCheckedValue, lbCheckedValue);
        const int off = bitValue(txUncheckedValue, lbUncheckedValue);
        if (on == off)
            throw BvlError(ErrNo::CheckboxValues);
        setting.Values = JoinValues({QString::number(on), QString::number(off)});
    } else if (type == int(SettingType::ValueList)) {
        m_failedField = lbBitSelection;
        if (SelectedBits == 0)
            throw BvlError(ErrNo::ValueListNoBits);
        m_failedField = lbSettingValueList;
        if (cbSettingValueList->count() == 0)
            throw BvlError(ErrNo::NoStates);
        QStringList names, values;
        for (int i = 0; i < cbSettingValueList->count(); ++i) {
            names << cbSettingValueList->itemText(i);
            values << QString::number(cbSettingValueList->itemData(i).toInt() & SelectedBits);
        }
        setting.ValueNames = JoinValues(names);
        setting.Values = JoinValues(values);
    }
    m_failedField = nullptr;
    KeepOnlyUsedFields(setting);
}

// ---- preview ----

void bvlEditSettingDo::SetPreviewContext(const ReferenceImages *images, const SettingList *settings, int editedRecord)
{
    m_previewImages = images;
    m_previewSettings = settings;
    m_editedRecord = editedRecord;
    const bool shown = images && images->hasReference();
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
    if (!m_previewImages || !m_previewImages->hasReference())
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
    showLine(lbPreviewReference, QStringLiteral("bvlEditSettingDo.sPreviewReference_V"), m_previewImages->reference);
    if (m_previewImages->hasSecond())
        showLine(lbPreviewSecond, QStringLiteral("bvlEditSettingDo.sPreviewSecond_V"), m_previewImages->second);
    else
        lbPreviewSecond->clear();
    lbPreviewOverlap->setText(problem.isEmpty() && m_previewSettings
                                  ? OverlapLine(m_ctx, *m_previewSettings, draft, m_editedRecord)
                                  : QString());
    ThemeColours::MarkText(lbPreviewOverlap, ThemeColours::Warning);
}

// ---- OK, Cancel, closing ----

void bvlEditSettingDo::takeTypedOffset()
{
    // Clicking OK moves the focus and converts the box left; Enter leaves the focus where
    // it is, so the box that holds it is converted here.
    QWidget *focused = focusWidget();
    if (focused == txOffsetHex)
        txOffsetHex_LostFocus();
    else if (focused == txOffsetDec)
        txOffsetDec_LostFocus();
}

void bvlEditSettingDo::cmOK_Click()
{
    takeTypedOffset();
    if (!WriteSettingStruct(m_ctx.CurrentSetting))
        return;
    m_ctx.CurrentSettingOK = true;
    accept();
}

void bvlEditSettingDo::cmCancel_Click()
{
    m_ctx.CurrentSettingOK = false;
    QDialog::reject();
}

void bvlEditSettingDo::reject()
{
    cmCancel_Click();
}

bool bvlEditSettingDo::Form_KeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        cmCancel_Click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // A focused command button does what it says; the boxes, the bit toggles (check
        // boxes in looks only) and OK itself pass Enter on to OK.
        auto *button = qobject_cast<QPushButton *>(focusWidget());
        if (button && button != cmOK && !button->isCheckable()) {
            button->click();
            return true;
        }
    }
    return false;
}
