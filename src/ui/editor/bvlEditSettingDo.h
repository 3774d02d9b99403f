#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

struct AppContext;
class BvlError;
class ReferenceImageSet;
class SettingFileDocument;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Edits a copy of one setting record field by field. The editor window fills it through
// ResetForm (Add) or DoReadSettingStruct (Edit), shows it modally and reads the result
// from ctx.CurrentSetting / ctx.CurrentSettingOK, which it hands to the document as one
// step. The dialog is hidden, not destroyed, when it closes, so every control keeps its
// content until it is filled again. It reads the document and the images only for its
// preview; it changes neither.
class bvlEditSettingDo : public QDialog
{
    Q_OBJECT
public:
    // chooseGroup runs the group browser and returns the group chosen (empty for none);
    // showFileDesc puts a text into the main window's description line (the group box's
    // hint while the pointer is over it).
    bvlEditSettingDo(AppContext &ctx, const SettingFileDocument &document, const ReferenceImageSet &images,
                     QWidget *owner = nullptr, std::function<void(const QString &)> showFileDesc = {},
                     std::function<QString()> chooseGroup = {});

    // Clears the dialog for a new setting.
    void ResetForm();
    // ReadSettingStruct on ctx.CurrentSetting.
    void DoReadSettingStruct();
    // Fills the dialog from a record the dialog can show (see CanShowInDialog).
    void ReadSettingStruct(const SettingStruct &setting);
    // Validates and stores the dialog into setting; false after the error message.
    // Fields stored before a failure stay stored.
    bool WriteSettingStruct(SettingStruct &setting);

    // The record being edited (0 for a new one), which the preview's line of settings
    // owning the same bits leaves out. The preview under the fields shows what the setting
    // reads from the images while a reference image is open.
    void SetEditedRecord(int k);
    void UpdatePreview();

    // Colours a bit-text box: yellow background unless a complete bit text, red text when
    // it has bits outside SelectedBits. True when the text is a valid value.
    bool CheckBitText(QLineEdit *box);
    // Index of the selected type option, -1 when none is selected.
    int GetType() const;
    // Adds text as a new state with value 0 unless a state of exactly that name exists;
    // the chosen state does not change. False when it exists.
    bool AddSafe(QComboBox *list, const QString &text);

    // Runs from the constructor: the editor creates the dialog when it is first used.
    void Form_Load();
    void cmOK_Click();
    void cmCancel_Click();
    void opType_Click(int index);
    void chBit_Click(int index);
    void txCheckedValue_Change();
    void txUncheckedValue_Change();
    void txMaxStringLength_Change();
    void txOffsetDec_LostFocus();
    void txOffsetHex_LostFocus();
    void cbSettingValueList_Click();
    void cmAddSettingValue_Click();
    void cmRemoveSettingValue_Click();
    void txSettingValueVal_Change();
    void txSettingValueValDec_Change();
    void cmGroupBrowse_Click();
    void txSettingGroup_MouseMove();
    // Escape presses Cancel, Enter on a button other than OK presses that button; true
    // when the key was taken.
    bool Form_KeyDown(int key);

    // The bits checked in chBit: bit k set when chBit(k) is down.
    quint8 SelectedBits = 0;
    // The length of a bit text: "00000101".
    static constexpr int BitTextLength = 8;

    QGroupBox *frSetting;
    std::array<QRadioButton *, 5> opType;
    QLabel *lbSettingName;
    QLineEdit *txSettingName;
    QLabel *lbSettingGroup;
    QLineEdit *txSettingGroup;
    QPushButton *cmGroupBrowse;
    QLabel *lbSettingDescription;
    QPlainTextEdit *txSettingDescription;
    QLabel *lbOffset;
    QLabel *lbDecOffset;
    QLineEdit *txOffsetDec;
    QLabel *lbHexOffset;
    QLineEdit *txOffsetHex;

    QFrame *frString;
    QLabel *lbMaxStringLength;
    QLineEdit *txMaxStringLength;
    QLabel *lbAvailableChars;
    QLabel *lbAvailableCharsVal;

    QFrame *frBits;
    QLabel *lbBitSelection;
    std::array<QPushButton *, 8> chBit;   // indexed by bit number

    QFrame *frCheckbox;
    QLabel *lbCheckedValue;
    QLineEdit *txCheckedValue;
    QLabel *lbUncheckedValue;
    QLineEdit *txUncheckedValue;

    QFrame *frList;
    QLabel *lbSettingValueList;
    QComboBox *cbSettingValueList;
    QPushButton *cmAddSettingValue;
    QPushButton *cmRemoveSettingValue;
    QLabel *lbSettingValueVal;
    QLabel *lbStateBin;
    QLineEdit *txSettingValueVal;
    QLabel *lbStateDec;
    QLineEdit *txSettingValueValDec;

    QPushButton *cmOK;
    QPushButton *cmCancel;

    QLabel *lbPreviewReference;
    QLabel *lbPreviewSecond;
    QLabel *lbPreviewOverlap;

protected:
    // The close box and Escape: Cancel, and the dialog hides.
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    // Selects type option index; runs opType_Click even when it is selected already.
    void selectType(int index);
    // Converts the offset box that has the focus, as leaving it would.
    void takeTypedOffset();
    // What OK refuses by the rules of a record: its number and, worded as the check words
    // it, the reason.
    struct Refusal
    {
        int number;
        QString reason;
    };
    // Stores the fields into setting; throws BvlError for a number that does not convert
    // and, with checkRules, Refusal for what the rules of a record refuse (the preview
    // stores without them).
    void storeFields(SettingStruct &setting, bool checkRules);
    // Throws the first refusal, in the order the fields are read, of the record's rules;
    // notBitText is the caption of a check box value that is no bit text, if any.
    void refuseByRules(const SettingStruct &setting, QLabel *notBitText);
    // The caption of the field a finding names, null for none the dialog shows.
    QLabel *captionOf(RecordField field) const;
    // The text of a name, group or description box: the record's own text while the box
    // still shows what filling it put there (a box may show a text otherwise: CR LF as a
    // line break, a name cut at the box's length), else what was typed.
    QString keptOrTyped(int field, const QString &typed, const QString &own) const;
    // The state list changed by the program: no state chosen, no click handling.
    void clearStates();
    // Empties the panels type does not use, so nothing of an earlier type comes back.
    void resetUnusedPanels(int type);
    // "Group: its group is empty (ERR 600)": the field's caption, the reason (the dialog's
    // words for number when empty), the number.
    QString refusalText(int number, QString reason) const;

    AppContext &m_ctx;
    const SettingFileDocument &m_document;
    const ReferenceImageSet &m_images;
    std::function<void(const QString &)> m_showFileDesc;
    std::function<QString()> m_chooseGroup;
    int m_editedRecord = 0;
    QLabel *m_failedField = nullptr;   // caption of the field storeFields read last
    bool m_filling = false;            // filling by the program: no panel is emptied by a type's choice
    // The record ReadSettingStruct filled the dialog from, what its name, group and
    // description boxes then showed, and what OK would have stored at once: OK with
    // nothing changed hands that record back as it came.
    std::optional<SettingStruct> m_filledFrom;
    std::array<QString, 3> m_shownTexts;
    std::optional<SettingStruct> m_filledShape;
};
