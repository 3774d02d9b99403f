// The File menu's items for setting files: the Setting files window, the setting editor
// opened on one of them, and the open setting file's errors.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/main/StatusMessages.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QAction>
#include <QMenu>

void bvlMain::mnfSettingFiles_Click()
{
    bvlSettingFiles files(m_ctx, this);
    ShowModal(files);
    if (!files.FileToOpen().isEmpty())
        OpenInSettingEditor(files.FileToOpen());
}

void bvlMain::OpenInSettingEditor(const QString &path)
{
    const QString status = lbFileDesc->text();
    if (!m_settingEditor)
        m_settingEditor = new bvlEditSetting(m_ctx, this, [this](const QString &text) { m_status->Show(text); });
    m_settingEditor->ShowLoaded(path);
    m_status->Show(status);
}

void bvlMain::mnfSettingFileErrors_Click()
{
    m_status->ListSettingFileErrors();
}
