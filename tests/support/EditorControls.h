#pragma once
#include <QString>

#include <array>

class bvlByteMap;
class bvlEditSetting;
class bvlEditSettingDo;
class bvlGroupBrowse;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;

// The controls of the setting editor's windows as a test reaches them: by their object
// names (array elements "chBit(3)"), among the controls of that window only, as a user
// or a screen reader finds them, not through the windows' members. A name not found
// fails the test at once.

struct EditorControls
{
    QMenuBar *menuBar;
    QMenu *mnuFile;
    QAction *mnfNew;
    QAction *mnfOpenSetting;
    QAction *mnfSaveSetting;
    QAction *mnfCheck;
    QMenu *mnuEdit;
    QAction *mnfUndo;
    QAction *mnfRedo;
    QMenu *mnuImage;
    QAction *mnfOpenReference;
    QAction *mnfOpenSecond;
    QAction *mnfByteMap;
    QGroupBox *frGeneralInfo;
    QLabel *lbAuthor;
    QLineEdit *txAuthor;
    QLabel *lbSuitablePhone;
    QLineEdit *txPhones;
    QLabel *lbSuitableSEEM;
    QLineEdit *txSEEMNr;
    QLabel *lbSuitableSEEMRec;
    QLineEdit *txSEEMRec;
    QGroupBox *frSettings;
    QListWidget *lsSettings;
    QPushButton *cmAdd;
    QPushButton *cmDelete;
    QPushButton *cmEdit;
    QPushButton *cmCopy;
    QLabel *lbSettingGroup;
    QLabel *lbFileVer;
    QLabel *lbCheck;
};
EditorControls Ui(const bvlEditSetting &window);

struct SettingDialogControls
{
    QGroupBox *frSetting;
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
    std::array<QRadioButton *, 5> opType;
    std::array<QPushButton *, 8> chBit;
};
SettingDialogControls Ui(const bvlEditSettingDo &window);

struct GroupBrowserControls
{
    QListWidget *lsGroups;
    QPushButton *cmOK;
};
GroupBrowserControls Ui(const bvlGroupBrowse &window);

struct ByteMapControls
{
    QLabel *lbCoverage;
    QTableView *tvBytes;
    QLabel *lbSelected;
    QLabel *lbOwners;
    QPushButton *cmNewSetting;
    QPushButton *cmPropose;
    QPushButton *cmNext;
    QPushButton *cmPrevious;
    std::array<QCheckBox *, 8> chReferenceBit;
    std::array<QCheckBox *, 8> chSecondBit;
};
ByteMapControls Ui(const bvlByteMap &window);
