// The Changes menu's Find items; FindCommands finds, the window opens the box when there
// is nothing to find yet.
#include "ui/main/bvlMain.h"

#include "ui/main/FindCommands.h"

#include <QAction>

void bvlMain::mnfFind_Click()
{
    if (!mnfFind->isEnabled())
        return;
    m_find->Open();
}

void bvlMain::mnfFindNext_Click()
{
    if (!m_find->Next())
        mnfFind_Click();
}

void bvlMain::mnfFindPrevious_Click()
{
    if (!m_find->Previous())
        mnfFind_Click();
}
