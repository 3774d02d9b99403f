// A setting file with errors (what would write wrong bits) is still opened as before; the
// window says so once in the status line and lists the errors when asked (File menu).
#include "ui/main/bvlMain.h"

#include "seem/SettingFileCheck.h"
#include "ui/AppContext.h"
#include "ui/CheckFindingTexts.h"
#include "ui/ControlNames.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

void bvlMain::ShowSettingFileFindings()
{
    const SettingFileVerdict verdict = LocalSettingFileVerdict(m_ctx, FileHeader, Settings);
    m_settingFileErrors.clear();
    // Errors only: lines of the verdict that are warnings are no fault of a save.
    for (int i = 0; i < verdict.errors && i < verdict.lines.size(); ++i)
        m_settingFileErrors << verdict.lines.at(i);
    mnfSettingFileErrors->setEnabled(!m_settingFileErrors.isEmpty());
    if (m_settingFileErrors.isEmpty())
        return;
    ShowFileDesc(m_ctx.T(QStringLiteral("bvlMain.sSettingFileErrors_V")).arg(m_settingFileErrors.size())
                 + QLatin1Char(' ') + lbFileDesc->text());
}

void bvlMain::mnfSettingFileErrors_Click()
{
    if (m_settingFileErrors.isEmpty())
        return;
    m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sSettingFileErrors_M")).arg(QFileInfo(SettingPath).fileName())
                                  + QStringLiteral("\n\n") + m_settingFileErrors.join(QLatin1Char('\n')),
                              MsgIcon::Warning, MsgButtons::Ok);
}
