// Export values and Apply values: the values of one phone carried to another. The profiles
// are ValueProfiles'; the window shows a setting that cannot be written and puts applied
// values into the controls as one undo step.
#include "ui/main/bvlMain.h"

#include "ui/main/ValueProfiles.h"

#include <QAction>

QByteArray bvlMain::ShownValuesProfile()
{
    return m_profiles->Profile();
}

void bvlMain::mnfExportValues_Click()
{
    if (!mnfExportValues->isEnabled())
        return;
    if (const int failed = m_profiles->Export())
        ShowSetting(failed);
}

void bvlMain::mnfApplyValues_Click()
{
    if (!mnfApplyValues->isEnabled())
        return;
    const ValueProfiles::Applied applied = m_profiles->Apply();
    if (applied.failedSetting != 0)
        ShowSetting(applied.failedSetting);
    else if (!applied.states.isEmpty())
        ShowStatesAsOneStep(applied.states);
}
