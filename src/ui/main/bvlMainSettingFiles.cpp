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
    // The setting dialog borrows the status line for its hints; once the editor has closed,
    // the line is as it was. A report of the last save is over by then: its timer would
    // put the setting file's name back while the editor is open, and the report after it.
    m_status->EndReport();
    const QString status = lbFileDesc->text();
    // One editor for the program's life: CopyCount goes on counting across openings, and
    // the window comes back where it was.
    if (!m_settingEditor)
        m_settingEditor = new bvlEditSetting(m_ctx, this, [this](const QString &text) { m_status->Show(text); });
    m_settingEditor->ShowLoaded(path);
    m_status->Show(status);
}

void bvlMain::mnfSettingFileErrors_Click()
{
    m_status->ListSettingFileErrors();
}
