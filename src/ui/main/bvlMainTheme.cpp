// Colours from the theme: the change marks' colour on the tree follows a change of the
// palette (the controls' marks are drawn again by the theme follower); the status line
// puts the setting file's name and phones first and steps aside for the find box.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/Twips.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/FindBar.h"

void bvlMain::ShowThemeColours()
{
    ShowChangeColours(nullptr, tvUI);
}

void bvlMain::FitStatusLineToFind()
{
    const QRect whole = TwipsRect(120, 8760, 13215, 255);
    QRect line = whole;
    if (FindBoxOpen())
        line.setRight(qMin(whole.right(), txFind->geometry().left() - TwipsToPixelsX(60)));
    lbFileDesc->setGeometry(line);
}
