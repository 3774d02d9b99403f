#include "ui/editor/bvlEditSettingDo.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "seem/authoring/ReferenceImages.h"
#include "seem/authoring/SettingFileDocument.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/InputDataError.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/KeyPreview.h"
#include "ui/editor/SettingPreview.h"
#include "ui/editor/TypedNumber.h"
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

}   // namespace

bvlEditSettingDo::bvlEditSettingDo(AppContext &ctx, const SettingFileDocument &document,
                                   const ReferenceImageSet &images, QWidget *owner,
                                   std::function<void(const QString &)> showFileDesc,
                                   std::function<QString()> chooseGroup)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx),
      m_document(document),
      m_images(images),
      m_showFileDesc(std::move(showFileDesc)),
      m_chooseGroup(std::move(chooseGroup))
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
