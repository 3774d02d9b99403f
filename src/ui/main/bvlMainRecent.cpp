// The main window while no file is open: a hint in the client area, and File > Open recent
// with the SEEM files opened last.
#include "ui/main/bvlMain.h"

#include "seem/RecentFiles.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>

namespace {
// A folder longer than this many pixels is shortened in the middle in Open recent.
constexpr int RecentFolderWidth = 360;
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

    mnuRecent = new QMenu(QStringLiteral("Open rece&nt"), mnuFile);
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    TagForCaption(mnuRecent);
    mnuRecent->setToolTipsVisible(true);
    mnuFile->insertMenu(mnfChangeSettingFile, mnuRecent);
    for (int i = 0; i < RecentFiles::MaxCount; ++i) {
        auto *item = new QAction(mnuRecent);
        item->setObjectName(QStringLiteral("mnfRecent(%1)").arg(i));
        mnuRecent->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { mnfRecent_Click(i); });
        mnfRecent.append(item);
    }
    mnuRecent->addSeparator();
    mnfClearRecent = AddMenuItem(mnuRecent, "mnfClearRecent", QStringLiteral("&Clear list"));
    connect(mnfClearRecent, &QAction::triggered, this, [this] { mnfClearRecent_Click(); });
    // Files may have gone since the menu was last shown.
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    mnuRecent->menuAction()->setEnabled(false);   // filled at start-up
}

void bvlMain::FillRecentMenu()
{
    const QStringList files = RecentFiles(m_ctx.platform).read();
    const QFontMetrics metrics(mnuRecent->font());
    for (int i = 0; i < mnfRecent.size(); ++i) {
        QAction *item = mnfRecent.at(i);
        item->setVisible(i < files.size());
        if (i >= files.size())
            continue;
        const QFileInfo file(files.at(i));
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QString folder = metrics.elidedText(QDir::toNativeSeparators(file.absolutePath()), Qt::ElideMiddle, RecentFolderWidth);
        folder.replace(QLatin1Char('&'), QStringLiteral("&&"));
        item->setText(QStringLiteral("&%1 %2 (%3)").arg(i + 1).arg(name, folder));
        item->setToolTip(QDir::toNativeSeparators(file.absoluteFilePath()));
        item->setData(file.absoluteFilePath());
    }
    mnuRecent->menuAction()->setEnabled(!files.isEmpty());
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
