// The main window while no file is open: a hint in the client area, and File > Open recent
// with the SEEM files opened last.
#include "ui/main/OpenRecent.h"

#include "seem/document/RecentFiles.h"
#include "ui/AppContext.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/MainMenus.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {
const QString MenuPathSeparator = QStringLiteral(" > ");
}

OpenRecent::OpenRecent(AppContext &ctx, MainMenuItems &items) : m_ctx(ctx), m_items(items) {}

void OpenRecent::Build(QWidget *client, MainMenus &menus)
{
    m_menus = &menus;
    lbStartHint = new QLabel(client);
    lbStartHint->setObjectName(QStringLiteral("lbStartHint"));
    lbStartHint->setTextFormat(Qt::PlainText);
    lbStartHint->setWordWrap(true);
    lbStartHint->setAlignment(Qt::AlignCenter);
    lbStartHint->setGeometry(ClientAreas::StartHint(client->size()));

    QObject::connect(m_items.mnuFile, &QMenu::aboutToShow, lbStartHint, [this] { Fill(); });
}

void OpenRecent::Fill()
{
    m_menus->FillRecent(RecentFiles(m_ctx.platform).read());
}

void OpenRecent::Show(bool documentOpen)
{
    const auto menuPath = [this](const char *itemKey) {
        return m_ctx.Title(QStringLiteral("bvlMain.mnuFile")) + MenuPathSeparator
               + m_ctx.Title(QString::fromLatin1(itemKey));
    };
    lbStartHint->setText(m_ctx.T(QStringLiteral("bvlMain.sStartHint_V"))
                             .arg(menuPath("bvlMain.mnfOpenSEEM"),
                                  m_items.mnfOpenSEEM->shortcut().toString(QKeySequence::NativeText),
                                  menuPath("bvlMain.mnuRecent")));
    lbStartHint->setVisible(!documentOpen);
    Fill();
}

void OpenRecent::Remember(const QString &seemPath)
{
    RecentFiles(m_ctx.platform).add(seemPath);
}

void OpenRecent::Clear()
{
    RecentFiles(m_ctx.platform).clear();
    Fill();
}

QString OpenRecent::FileOf(int index) const
{
    if (index < 0 || index >= m_items.mnfRecent.size() || !m_items.mnfRecent.at(index)->isVisible())
        return QString();
    return m_items.mnfRecent.at(index)->data().toString();
}
