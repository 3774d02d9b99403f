// The status line's texts. A setting file with errors (what would write wrong bits) is
// still opened as before; the line says so once and File > Setting file errors lists them.
#include "ui/main/StatusMessages.h"

#include "seem/authoring/SettingFileCheck.h"
#include "seem/document/SeemDocument.h"
#include "ui/AppContext.h"
#include "ui/CheckFindingTexts.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/DocumentFiles.h"
#include "ui/main/StatusLine.h"

#include <QFileInfo>
#include <QTimer>

namespace {
// How long the status line reports a save before it names the setting file again.
constexpr int SavedStatusMilliseconds = 5000;
}   // namespace

StatusMessages::StatusMessages(AppContext &ctx, const SeemDocument &document, const DocumentFiles &files,
                               QObject *parent)
    : QObject(parent), m_ctx(ctx), m_document(document), m_files(files)
{
    tmSavedStatus = new QTimer(this);
    tmSavedStatus->setSingleShot(true);
    tmSavedStatus->setInterval(SavedStatusMilliseconds);
    connect(tmSavedStatus, &QTimer::timeout, this, [this] { ShowUsingFile(); });
}

void StatusMessages::Build(QWidget *client)
{
    lbFileDesc = new StatusLine(client);
    lbFileDesc->setObjectName(QStringLiteral("lbFileDesc"));
    lbFileDesc->setGeometry(ClientAreas::StatusLine(client->size()));
}

void StatusMessages::Show(const QString &text)
{
    lbFileDesc->setLine(text, m_files.StatusLineShown(text));
}

void StatusMessages::ShowUsingFile()
{
    Show(m_files.UsingFileStatus());
}

void StatusMessages::ShowForAWhile(const QString &text)
{
    Show(text);
    tmSavedStatus->start();
}

void StatusMessages::ShowSaved(int writtenCount)
{
    ShowForAWhile(m_ctx.lang.GetPluralString(QStringLiteral("bvlMain.sSavedCount_V"), writtenCount)
                      .arg(QFileInfo(m_document.seemPath()).fileName()));
}

void StatusMessages::EndReport()
{
    if (!tmSavedStatus->isActive())
        return;
    tmSavedStatus->stop();
    ShowUsingFile();
}

bool StatusMessages::ShowSettingFileFindings(const SettingList &settings)
{
    const SettingFileVerdict verdict = LocalSettingFileVerdict(m_ctx, m_document.header(), settings);
    m_settingFileErrors.clear();
    // Errors only: lines of the verdict that are warnings are no fault of a save.
    for (int i = 0; i < verdict.errors && i < verdict.lines.size(); ++i)
        m_settingFileErrors << verdict.lines.at(i);
    if (m_settingFileErrors.isEmpty())
        return false;
    Show(m_ctx.T(QStringLiteral("bvlMain.sSettingFileErrors_V")).arg(m_settingFileErrors.size()) + QLatin1Char(' ')
         + lbFileDesc->text());
    return true;
}

void StatusMessages::ListSettingFileErrors()
{
    if (m_settingFileErrors.isEmpty())
        return;
    m_ctx.platform.messageBox(
        m_ctx.T(QStringLiteral("bvlMain.sSettingFileErrors_M")).arg(QFileInfo(m_document.settingPath()).fileName())
            + QStringLiteral("\n\n") + m_settingFileErrors.join(QLatin1Char('\n')),
        MsgIcon::Warning, MsgButtons::Ok);
}
