// The setting editor's list and its commands: Add, Edit, Copy, Delete, the groups for the
// group browser. Each command is one step on the document; the list follows the document.
#include "seem/authoring/RecordRules.h"
#include "ui/AppContext.h"
#include "ui/editor/CaselessListItem.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QLabel>
#include <QListWidget>

QString bvlEditSetting::stepText(const QString &commandKey, const QString &name)
{
    const QString command = m_ctx.Title(commandKey);
    return name.isEmpty() ? command : command + QLatin1Char(' ') + name;
}

void bvlEditSetting::NewSetting()
{
    m_document.appendRecords({SettingStruct()}, stepText(QStringLiteral("bvlEditSetting.cmAdd")));
}

void bvlEditSetting::DeleteSetting(int k)
{
    m_document.removeRecords({k}, stepText(QStringLiteral("bvlEditSetting.cmDelete")));
}

void bvlEditSetting::UpdateSettingList()
{
    lsSettings->clear();
    const SettingList &records = m_document.records();
    for (int k = 1; k <= records.size(); ++k) {
        auto *entry = new CaselessListItem(records[k - 1].Name);
        entry->setData(Qt::UserRole, k);
        lsSettings->addItem(entry);
    }
}

int bvlEditSetting::recordOf(int row) const
{
    return lsSettings->item(row)->data(Qt::UserRole).toInt();
}

int bvlEditSetting::selectedCount() const
{
    return int(lsSettings->selectedItems().size());
}

QVector<int> bvlEditSetting::selectedRecords() const
{
    QVector<int> records;
    for (int row = 0; row < lsSettings->count(); ++row)
        if (lsSettings->item(row)->isSelected())
            records << recordOf(row);
    return records;
}

void bvlEditSetting::CopySel()
{
    // Copies are appended behind the last record, in the display order of their sources.
    SettingList copies;
    for (int k : selectedRecords()) {
        SettingStruct copy = m_document.record(k);
        copy.Name += QStringLiteral(" (Copy, ") + QString::number(CopyCount) + QLatin1Char(')');
        ++CopyCount;
        copies << copy;
    }
    m_document.appendRecords(copies, stepText(QStringLiteral("bvlEditSetting.cmCopy")));
    UpdateSettingList();
}

void bvlEditSetting::DeleteSel()
{
    m_document.removeRecords(selectedRecords(), stepText(QStringLiteral("bvlEditSetting.cmDelete")));
    UpdateSettingList();
}

bool bvlEditSetting::AddSafe(QListWidget *list, const QString &text, bool existOnly)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == text)
            return false;
    if (!existOnly)
        list->addItem(new CaselessListItem(text));
    return true;
}

void bvlEditSetting::FreshGroups()
{
    QListWidget *groups = GroupBrowser()->lsGroups;
    groups->clear();
    for (const QString &group : m_document.groups())
        AddSafe(groups, group, false);
}

bvlEditSettingDo *bvlEditSetting::SettingDialog()
{
    if (!m_settingDialog) {
        // The dialog's "..." button: the groups in use, chosen in the browser over this window.
        const auto chooseGroup = [this] {
            FreshGroups();
            bvlGroupBrowse *browser = GroupBrowser();
            browser->exec();
            return browser->GetSelectedItem();
        };
        m_settingDialog = new bvlEditSettingDo(m_ctx, m_document, *m_images, this, m_showFileDesc, chooseGroup);
    }
    return m_settingDialog;
}

bvlGroupBrowse *bvlEditSetting::GroupBrowser()
{
    if (!m_groupBrowser)
        m_groupBrowser = new bvlGroupBrowse(m_ctx, this);
    return m_groupBrowser;
}

void bvlEditSetting::lsSettings_Click()
{
    const int row = lsSettings->currentRow();
    if (row < 0)
        return;
    lbSettingGroup->setText(m_ctx.Title(QStringLiteral("bvlEditSettingDo.lbSettingGroup")) + QStringLiteral(" \"")
                            + m_document.record(recordOf(row)).Group + QLatin1Char('"'));
}

void bvlEditSetting::lsSettings_DblClick()
{
    cmEdit_Click();
}

bool bvlEditSetting::runSettingDialog(int k)
{
    bvlEditSettingDo *dialog = SettingDialog();
    dialog->SetEditedRecord(k);
    dialog->exec();
    return m_ctx.CurrentSettingOK;
}

void bvlEditSetting::cmAdd_Click()
{
    m_ctx.CurrentSetting = SettingStruct();   // a new record owes nothing to the last one
    SettingDialog()->ResetForm();
    if (runSettingDialog(0))
        m_document.appendRecords({m_ctx.CurrentSetting},
                                 stepText(QStringLiteral("bvlEditSetting.cmAdd"), m_ctx.CurrentSetting.Name));
}

bool bvlEditSetting::AddFromDraft(const SettingStruct &draft)
{
    m_ctx.CurrentSetting = draft;
    bvlEditSettingDo *dialog = SettingDialog();
    dialog->ResetForm();
    dialog->DoReadSettingStruct();
    if (!runSettingDialog(0))
        return false;
    m_document.appendRecords({m_ctx.CurrentSetting},
                             stepText(QStringLiteral("bvlEditSetting.cmAdd"), m_ctx.CurrentSetting.Name));
    return true;
}

void bvlEditSetting::AppendSettings(const SettingList &records)
{
    m_document.appendRecords(records, stepText(QStringLiteral("bvlEditSetting.cmAdd")));
}

void bvlEditSetting::EditRecord(int k)
{
    for (int row = 0; row < lsSettings->count(); ++row) {
        if (recordOf(row) == k) {
            lsSettings->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            cmEdit_Click();
            return;
        }
    }
}

void bvlEditSetting::cmEdit_Click()
{
    const int row = lsSettings->currentRow();
    if (row < 0 || selectedCount() > 1)
        return;
    const int k = recordOf(row);
    // The dialog would alter a record it cannot show; such a record stays as read.
    if (!CanShowInDialog(m_document.record(k))) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.UnsupportedRecord_M")), MsgIcon::Warning,
                                  MsgButtons::Ok);
        return;
    }
    m_ctx.CurrentSetting = m_document.record(k);
    SettingDialog()->DoReadSettingStruct();
    // OK hands the record back whole: unchanged, it is no step and the file stays saved.
    if (runSettingDialog(k))
        m_document.replaceRecord(k, m_ctx.CurrentSetting,
                                 stepText(QStringLiteral("bvlEditSetting.cmEdit"), m_ctx.CurrentSetting.Name));
    lsSettings_Click();
}

void bvlEditSetting::cmCopy_Click()
{
    if (lsSettings->currentRow() < 0)
        return;
    if (selectedCount() >= 2
        && m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.CopyMultiple?_M")), MsgIcon::Question,
                                     MsgButtons::YesNo)
               != MsgResult::Yes)
        return;
    CopySel();
}

void bvlEditSetting::cmDelete_Click()
{
    if (lsSettings->currentRow() < 0)
        return;
    if (selectedCount() > 1
        && m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.DeleteMultiple?_M")), MsgIcon::Question,
                                     MsgButtons::YesNo)
               != MsgResult::Yes)
        return;
    DeleteSel();
}
