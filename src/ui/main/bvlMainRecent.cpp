// The main window while no file is open: a hint in the client area, and File > Open recent
// with the SEEM files opened last.
#include "ui/main/bvlMain.h"

#include "seem/RecentFiles.h"
#include "ui/AppContext.h"
#include "ui/main/MainMenus.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>

namespace {
const QString MenuPathSeparator = QStringLiteral(" > ");
}

void bvlMain::BuildRecentFiles()
{
    lbStartHint = new QLabel(m_client);
    lbStartHint->setObjectName(QStringLiteral("lbStartHint"));
    lbStartHint->setTextFormat(Qt::PlainText);
    lbStartHint->setWordWrap(true);
    lbStartHint->setAlignment(Qt::AlignCenter);
    // A third of the client area's width on each side keeps the lines short enough to read.
    const QRect area = m_client->rect();
    lbStartHint->setGeometry(area.adjusted(area.width() / 5, area.height() / 4, -area.width() / 5, -area.height() / 4));

    m_menus->BuildRecent();
    for (int i = 0; i < mnfRecent.size(); ++i)
        connect(mnfRecent.at(i), &QAction::triggered, this, [this, i] { mnfRecent_Click(i); });
    connect(mnfClearRecent, &QAction::triggered, this, [this] { mnfClearRecent_Click(); });
    // Files may have gone since the menu was last shown.
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
}

void bvlMain::FillRecentMenu()
{
    m_menus->FillRecent(RecentFiles(m_ctx.platform).read());
}

void bvlMain::mnfRecent_Click(int index)
{
    if (index < 0 || index >= mnfRecent.size() || !mnfRecent.at(index)->isVisible())
        return;
    const QString path = mnfRecent.at(index)->data().toString();
    if (path.isEmpty() || !MayDropEdits())
        return;
    OpenSEEM(path);
}

void bvlMain::mnfClearRecent_Click()
{
    RecentFiles(m_ctx.platform).clear();
    FillRecentMenu();
}

void bvlMain::RememberRecent(const QString &seemPath)
{
    RecentFiles(m_ctx.platform).add(seemPath);
}

void bvlMain::ShowStartHint()
{
    const auto menuPath = [this](const char *itemKey) {
        return m_ctx.Title(QStringLiteral("bvlMain.mnuFile")) + MenuPathSeparator
            + m_ctx.Title(QString::fromLatin1(itemKey));
    };
    lbStartHint->setText(m_ctx.T(QStringLiteral("bvlMain.sStartHint_V"))
                             .arg(menuPath("bvlMain.mnfOpenSEEM"),
                                  mnfOpenSEEM->shortcut().toString(QKeySequence::NativeText),
                                  menuPath("bvlMain.mnuRecent")));
    lbStartHint->setVisible(!SEEMFile || !SEEMFile->isOpen());
    FillRecentMenu();
}
