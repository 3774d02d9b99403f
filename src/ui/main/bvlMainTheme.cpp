// Colours from the theme: the change marks' colour on the tree follows a change of the
// palette (the controls' marks are drawn again by the theme follower); the status line
// puts the setting file's name and phones first and steps aside for the find box.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/Twips.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/FindBar.h"

#include <QFileInfo>

namespace {
const QString Quote = QStringLiteral("\"");
}

void bvlMain::ShowThemeColours()
{
    ShowChangeColours(nullptr, tvUI);
}

QString bvlMain::StatusLineShown(const QString &text) const
{
    if (SettingPath.isEmpty() || text != UsingFileStatus())
        return QString();
    QString shown = m_ctx.T(QStringLiteral("bvlMain.lbUsingFile_V")) + Quote + QFileInfo(SettingPath).fileName() + Quote;
    if (!FileHeader.Phones.isEmpty())
        shown += QStringLiteral(". ") + FileHeader.Phones;
    if (SEEMFile->isReadOnly())
        shown += QLatin1Char(' ') + m_ctx.T(QStringLiteral("bvlMain.lbReadOnly_V"));
    return shown;
}

void bvlMain::FitStatusLineToFind()
{
    const QRect whole = TwipsRect(120, 8760, 13215, 255);
    QRect line = whole;
    if (FindBoxOpen())
        line.setRight(qMin(whole.right(), txFind->geometry().left() - TwipsToPixelsX(60)));
    lbFileDesc->setGeometry(line);
}
