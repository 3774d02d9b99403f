// Files dropped onto the main window: setting files are installed into the per-user
// folder, a SEEM file is opened as File > Open SEEM... opens it.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/settingfiles/InstallSettingFiles.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

bool IsSettingFileName(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("sec"), Qt::CaseInsensitive) == 0;
}

QStringList LocalFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths << QDir::toNativeSeparators(url.toLocalFile());
    return paths;
}

}   // namespace

void bvlMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void bvlMain::dropEvent(QDropEvent *event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    DropFiles(paths);
}

void bvlMain::DropFiles(const QStringList &paths)
{
    QStringList settingFiles;
    QStringList others;
    for (const QString &path : paths)
        (IsSettingFileName(path) ? settingFiles : others) << path;
    if (!settingFiles.isEmpty())
        InstallSettingFilesAsked(m_ctx, settingFiles);
    // One document at a time: the first other file is the SEEM file to open, after the
    // question about unsaved changes that Open asks.
    if (others.isEmpty())
        return;
    if (MayDropEdits())
        OpenSEEM(others.first());
}
