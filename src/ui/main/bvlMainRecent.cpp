// The main window while no file is open: the start hint and File > Open recent, which
// OpenRecent owns; the window opens the file an entry names.
#include "ui/main/bvlMain.h"

#include "ui/main/OpenRecent.h"

void bvlMain::mnfRecent_Click(int index)
{
    const QString path = m_recent->FileOf(index);
    if (path.isEmpty() || !MayDropEdits())
        return;
    OpenSEEM(path);
}

void bvlMain::mnfClearRecent_Click()
{
    m_recent->Clear();
}

void bvlMain::FillRecentMenu()
{
    m_recent->Fill();
}

void bvlMain::ShowStartHint()
{
    m_recent->Show(Document->isOpen());
}
