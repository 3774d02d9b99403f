#include "support/EditorControls.h"

#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

// The control of that name whose window is window; actions, which belong to no window
// of their own, are taken where the window's menus hold them.
template<typename C> C *Named(const QWidget &window, const QString &name)
{
    const QList<C *> found = window.findChildren<C *>(name);
    for (C *control : found) {
        if constexpr (std::is_base_of_v<QWidget, C>) {
            // A menu is a pop-up window of its own, held by the window's menu bar.
            const QWidget *owner = control->isWindow() && qobject_cast<const QMenu *>(control)
                                       ? control->parentWidget()->window()
                                       : control->window();
            if (owner != &window)
                continue;
        }
        return control;
    }
    qFatal("no control named %s in %s", qPrintable(name), qPrintable(window.objectName()));
}

QString Element(const char *array, int index)
{
    return QString::fromLatin1(array) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

}   // namespace

EditorControls Ui(const bvlEditSetting &window)
{
    EditorControls c;
    c.menuBar = Named<QMenuBar>(window, QStringLiteral("menuBar"));
    c.mnuFile = Named<QMenu>(window, QStringLiteral("mnuFile"));
    c.mnfNew = Named<QAction>(window, QStringLiteral("mnfNew"));
    c.mnfOpenSetting = Named<QAction>(window, QStringLiteral("mnfOpenSetting"));
    c.mnfSaveSetting = Named<QAction>(window, QStringLiteral("mnfSaveSetting"));
    c.mnfCheck = Named<QAction>(window, QStringLiteral("mnfCheck"));
    c.mnuEdit = Named<QMenu>(window, QStringLiteral("mnuEdit"));
    c.mnfUndo = Named<QAction>(window, QStringLiteral("mnfUndo"));
    c.mnfRedo = Named<QAction>(window, QStringLiteral("mnfRedo"));
    c.mnuImage = Named<QMenu>(window, QStringLiteral("mnuImage"));
    c.mnfOpenReference = Named<QAction>(window, QStringLiteral("mnfOpenReference"));
    c.mnfOpenSecond = Named<QAction>(window, QStringLiteral("mnfOpenSecond"));
    c.mnfByteMap = Named<QAction>(window, QStringLiteral("mnfByteMap"));
    c.frGeneralInfo = Named<QGroupBox>(window, QStringLiteral("frGeneralInfo"));
    c.lbAuthor = Named<QLabel>(window, QStringLiteral("lbAuthor"));
    c.txAuthor = Named<QLineEdit>(window, QStringLiteral("txAuthor"));
    c.lbSuitablePhone = Named<QLabel>(window, QStringLiteral("lbSuitablePhone"));
    c.txPhones = Named<QLineEdit>(window, QStringLiteral("txPhones"));
    c.lbSuitableSEEM = Named<QLabel>(window, QStringLiteral("lbSuitableSEEM"));
    c.txSEEMNr = Named<QLineEdit>(window, QStringLiteral("txSEEMNr"));
    c.lbSuitableSEEMRec = Named<QLabel>(window, QStringLiteral("lbSuitableSEEMRec"));
    c.txSEEMRec = Named<QLineEdit>(window, QStringLiteral("txSEEMRec"));
    c.frSettings = Named<QGroupBox>(window, QStringLiteral("frSettings"));
    c.lsSettings = Named<QListWidget>(window, QStringLiteral("lsSettings"));
    c.cmAdd = Named<QPushButton>(window, QStringLiteral("cmAdd"));
    c.cmDelete = Named<QPushButton>(window, QStringLiteral("cmDelete"));
    c.cmEdit = Named<QPushButton>(window, QStringLiteral("cmEdit"));
    c.cmCopy = Named<QPushButton>(window, QStringLiteral("cmCopy"));
    c.lbSettingGroup = Named<QLabel>(window, QStringLiteral("lbSettingGroup"));
    c.lbFileVer = Named<QLabel>(window, QStringLiteral("lbFileVer"));
    c.lbCheck = Named<QLabel>(window, QStringLiteral("lbCheck"));
    return c;
}

SettingDialogControls Ui(const bvlEditSettingDo &window)
{
    SettingDialogControls c;
    c.frSetting = Named<QGroupBox>(window, QStringLiteral("frSetting"));
    c.lbSettingName = Named<QLabel>(window, QStringLiteral("lbSettingName"));
    c.txSettingName = Named<QLineEdit>(window, QStringLiteral("txSettingName"));
    c.lbSettingGroup = Named<QLabel>(window, QStringLiteral("lbSettingGroup"));
    c.txSettingGroup = Named<QLineEdit>(window, QStringLiteral("txSettingGroup"));
    c.cmGroupBrowse = Named<QPushButton>(window, QStringLiteral("cmGroupBrowse"));
    c.lbSettingDescription = Named<QLabel>(window, QStringLiteral("lbSettingDescription"));
    c.txSettingDescription = Named<QPlainTextEdit>(window, QStringLiteral("txSettingDescription"));
    c.lbOffset = Named<QLabel>(window, QStringLiteral("lbOffset"));
    c.lbDecOffset = Named<QLabel>(window, QStringLiteral("lbDecOffset"));
    c.txOffsetDec = Named<QLineEdit>(window, QStringLiteral("txOffsetDec"));
    c.lbHexOffset = Named<QLabel>(window, QStringLiteral("lbHexOffset"));
    c.txOffsetHex = Named<QLineEdit>(window, QStringLiteral("txOffsetHex"));
    c.frString = Named<QFrame>(window, QStringLiteral("frString"));
    c.lbMaxStringLength = Named<QLabel>(window, QStringLiteral("lbMaxStringLength"));
    c.txMaxStringLength = Named<QLineEdit>(window, QStringLiteral("txMaxStringLength"));
    c.lbAvailableChars = Named<QLabel>(window, QStringLiteral("lbAvailableChars"));
    c.lbAvailableCharsVal = Named<QLabel>(window, QStringLiteral("lbAvailableCharsVal"));
    c.frBits = Named<QFrame>(window, QStringLiteral("frBits"));
    c.lbBitSelection = Named<QLabel>(window, QStringLiteral("lbBitSelection"));
    c.frCheckbox = Named<QFrame>(window, QStringLiteral("frCheckbox"));
    c.lbCheckedValue = Named<QLabel>(window, QStringLiteral("lbCheckedValue"));
    c.txCheckedValue = Named<QLineEdit>(window, QStringLiteral("txCheckedValue"));
    c.lbUncheckedValue = Named<QLabel>(window, QStringLiteral("lbUncheckedValue"));
    c.txUncheckedValue = Named<QLineEdit>(window, QStringLiteral("txUncheckedValue"));
    c.frList = Named<QFrame>(window, QStringLiteral("frList"));
    c.lbSettingValueList = Named<QLabel>(window, QStringLiteral("lbSettingValueList"));
    c.cbSettingValueList = Named<QComboBox>(window, QStringLiteral("cbSettingValueList"));
    c.cmAddSettingValue = Named<QPushButton>(window, QStringLiteral("cmAddSettingValue"));
    c.cmRemoveSettingValue = Named<QPushButton>(window, QStringLiteral("cmRemoveSettingValue"));
    c.lbSettingValueVal = Named<QLabel>(window, QStringLiteral("lbSettingValueVal"));
    c.lbStateBin = Named<QLabel>(window, QStringLiteral("lbStateBin"));
    c.txSettingValueVal = Named<QLineEdit>(window, QStringLiteral("txSettingValueVal"));
    c.lbStateDec = Named<QLabel>(window, QStringLiteral("lbStateDec"));
    c.txSettingValueValDec = Named<QLineEdit>(window, QStringLiteral("txSettingValueValDec"));
    c.cmOK = Named<QPushButton>(window, QStringLiteral("cmOK"));
    c.cmCancel = Named<QPushButton>(window, QStringLiteral("cmCancel"));
    c.lbPreviewReference = Named<QLabel>(window, QStringLiteral("lbPreviewReference"));
    c.lbPreviewSecond = Named<QLabel>(window, QStringLiteral("lbPreviewSecond"));
    c.lbPreviewOverlap = Named<QLabel>(window, QStringLiteral("lbPreviewOverlap"));
    for (int i = 0; i < 5; ++i)
        c.opType[i] = Named<QRadioButton>(window, Element("opType", i));
    for (int i = 0; i < 8; ++i)
        c.chBit[i] = Named<QPushButton>(window, Element("chBit", i));
    return c;
}

GroupBrowserControls Ui(const bvlGroupBrowse &window)
{
    GroupBrowserControls c;
    c.lsGroups = Named<QListWidget>(window, QStringLiteral("lsGroups"));
    c.cmOK = Named<QPushButton>(window, QStringLiteral("cmOK"));
    return c;
}

ByteMapControls Ui(const bvlByteMap &window)
{
    ByteMapControls c;
    c.lbCoverage = Named<QLabel>(window, QStringLiteral("lbCoverage"));
    c.tvBytes = Named<QTableView>(window, QStringLiteral("tvBytes"));
    c.lbSelected = Named<QLabel>(window, QStringLiteral("lbSelected"));
    c.lbOwners = Named<QLabel>(window, QStringLiteral("lbOwners"));
    c.cmNewSetting = Named<QPushButton>(window, QStringLiteral("cmNewSetting"));
    c.cmPropose = Named<QPushButton>(window, QStringLiteral("cmPropose"));
    c.cmNext = Named<QPushButton>(window, QStringLiteral("cmNext"));
    c.cmPrevious = Named<QPushButton>(window, QStringLiteral("cmPrevious"));
    for (int i = 0; i < 8; ++i)
        c.chReferenceBit[i] = Named<QCheckBox>(window, Element("chReferenceBit", i));
    for (int i = 0; i < 8; ++i)
        c.chSecondBit[i] = Named<QCheckBox>(window, Element("chSecondBit", i));
    return c;
}
