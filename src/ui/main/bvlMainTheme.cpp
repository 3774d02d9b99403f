// Colours from the theme: the change marks' colour on the tree follows a change of the
// palette (the controls' marks are drawn again by the theme follower).
#include "ui/main/bvlMain.h"

#include "ui/main/ChangeMarks.h"

void bvlMain::ShowThemeColours()
{
    ShowChangeColours(nullptr, tvUI);
}
