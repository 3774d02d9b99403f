// Values between the setting controls and the open SEEM file, through the widget-free codec.
#include "ui/main/bvlMain.h"

#include "seem/SettingCodec.h"
#include "ui/AppContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

namespace {
// The numbers the platform gives a control that refuses a value: a list position that
// has no entry, and a list without a selected entry.
constexpr int InvalidPropertyValue = 380;
constexpr int NoEntrySelected = 381;
}

bool bvlMain::RestoreSetting(int index)
{
    try {
        const SettingStruct &setting = Settings.at(index - 1);
        switch (SettingType(setting.Type)) {
        case SettingType::Checkbox:
            chUI.at(setting.UIIndex)->setChecked(SettingCodec::DecodeChecked(*SEEMFile, setting));
            break;
        case SettingType::ValueList: {
            QComboBox *list = cbUI.at(setting.UIIndex);
            const int position = SettingCodec::DecodeListIndex(*SEEMFile, setting);
            // A value matching no entry leaves the selection as it is.
            if (position >= list->count())
                throw BvlError(InvalidPropertyValue, QStringLiteral("no list entry for the stored value"));
            if (position >= 0)
                list->setCurrentIndex(position);
            break;
        }
        case SettingType::Int8:
        case SettingType::AnsiString:
        case SettingType::UnicodeString:
            txUI.at(setting.UIIndex)->setText(SettingCodec::DecodeText(*SEEMFile, setting));
            break;
        default:
            break;   // unknown types are left alone
        }
        return true;
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sIncompatible_M")) + QStringLiteral(" (ERR ")
                                      + QString::number(e.number()) + QLatin1Char(')'),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
}

void bvlMain::WriteSetting(int index, ByteStore &target)
{
    const SettingStruct &setting = Settings.at(index - 1);
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(target, setting, chUI.at(setting.UIIndex)->isChecked());
        break;
    case SettingType::ValueList: {
        const QComboBox *list = cbUI.at(setting.UIIndex);
        if (list->currentIndex() < 0)
            throw BvlError(NoEntrySelected, QStringLiteral("no list entry selected"));
        SettingCodec::EncodeListValue(target, setting, list->currentData().toInt());
        break;
    }
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        SettingCodec::EncodeText(target, setting, txUI.at(setting.UIIndex)->text());
        break;
    default:
        break;
    }
}

bool bvlMain::RestoreAll()
{
    for (int index = 1; index <= Settings.size(); ++index)
        if (!RestoreSetting(index))
            return false;
    IsSaved = true;
    return true;
}

void bvlMain::WriteAll()
{
    // Everything is encoded on top of the file first: one failing setting writes nothing.
    PendingWrites pending(*SEEMFile);
    for (int index = 1; index <= Settings.size(); ++index) {
        try {
            WriteSetting(index, pending);
        } catch (const BvlError &e) {
            throw SettingWriteError(index, e);
        }
    }
    pending.commit();
    SEEMFile->flush();
    IsSaved = true;
}

void bvlMain::mnfRestore_Click()
{
    RestoreAll();
}

void bvlMain::mnfRestoreItem_Click()
{
    if (PopupTarget != -1) {
        if (PopupTarget >= 1 && PopupTarget <= Settings.size())
            RestoreSetting(PopupTarget);
        return;
    }
    // The selected node's own page only, not the pages of its children.
    const QTreeWidgetItem *node = SelectedNode();
    if (!node)
        return;
    const QString key = node->data(0, NodeKeyRole).toString();
    for (int index = 1; index <= Settings.size(); ++index)
        if (Settings.at(index - 1).Group == key)
            RestoreSetting(index);
}
