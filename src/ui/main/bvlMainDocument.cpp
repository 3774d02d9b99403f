// The document commands: open, choose setting file, save, and the unsaved-changes question
// before a document is given up. The files themselves are DocumentFiles'; this is what the
// window does around them (the view, the menus, the status line, the title).
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/InputDataError.h"
#include "ui/main/DocumentCommands.h"
#include "ui/main/OpenRecent.h"
#include "ui/main/SaveReports.h"
#include "ui/main/StatusMessages.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {
void ReportCommandError(AppContext &ctx, const QString &command, const BvlError &e)
{
    ctx.platform.messageBox(command + QStringLiteral(" ERR ") + QString::number(e.number()), MsgIcon::None,
                            MsgButtons::Ok);
}
}   // namespace

bool bvlMain::MayDropEdits()
{
    if (IsSaved())
        return true;
    switch (m_files->AskToSave()) {
    case MsgResult::Cancel:
        return false;
    case MsgResult::Yes:
        // An unsaved document is not given up when its save did not happen.
        return mnfSaveSEEM_Click();
    default:
        return true;
    }
}

void bvlMain::mnfOpenSEEM_Click()
{
    if (!MayDropEdits())
        return;
    const std::optional<QString> chosen =
        m_ctx.platform.openFileName(m_ctx.Title(QStringLiteral("bvlMain.mnfOpenSEEM")), SeemFilter(m_ctx),
                                    DocumentFiles::FolderProposal(Document->seemPath()));
    if (chosen)
        OpenSEEM(*chosen);
}

void bvlMain::OpenSEEM(const QString &seemPath)
{
    const QString previousStatus = lbFileDesc->text();
    try {
        DocumentFiles::Next next;
        if (!OpenFileParse(seemPath, next) || !OpenSettingParse(next))
            m_status->Show(previousStatus);
    } catch (const BvlError &e) {
        m_status->Show(previousStatus);
        if (e.number() == ErrNo::NotRegularFile)
            ReportAboutPath(m_ctx, "bvlMain.sNotRegularFile_M", seemPath, MsgIcon::Critical);
        else
            ReportCommandError(m_ctx, QStringLiteral("mnfOpenSEEM"), e);
    }
}

bool bvlMain::OpenFileParse(const QString &seemPath, DocumentFiles::Next &next)
{
    return m_files->OpenSeem(seemPath, mnfAutoSettingSelection->isChecked(), next,
                             [this](const QString &text) { m_status->Show(text); });
}

bool bvlMain::OpenSettingParse(DocumentFiles::Next &next)
{
    if (!m_files->ReadSettingFile(next))
        return false;
    TakeOver(next);
    return true;
}

void bvlMain::TakeOver(DocumentFiles::Next &next)
{
    UnloadAllControls();
    const bool newSeemFile = m_files->TakeOver(next);
    Settings = Document->settings();

    mnfChangeSettingFile->setEnabled(true);
    for (int index = 1; index <= Settings.size(); ++index) {
        AddSettingGroup(Settings[index - 1], index);
        AddSettingControl(Settings[index - 1], index);
    }
    // Reported once the view is complete, so that the failing setting's page can be shown.
    const SeemDocument::RestoreFailure failure = m_commands->Restore(AllSettings());
    frDescription->show();
    // An open file shows its first page at once, and the description of what is on it.
    const int first = m_view->selectFirstPage();
    txDescription->setPlainText(first ? Settings.at(first - 1).Description : ShortHelpText);
    mnfRestore->setEnabled(true);
    mnfSaveSEEM->setEnabled(true);
    tvUI->show();
    m_status->ShowUsingFile();
    mnfSettingFileErrors->setEnabled(m_status->ShowSettingFileFindings(Settings));
    if (newSeemFile)
        m_recent->Remember(Document->seemPath());
    ShowStartHint();
    m_commands->Report(failure);
}

void bvlMain::mnfChangeSettingFile_Click()
{
    // The new setting file's view replaces every edit shown now.
    if (!MayDropEdits())
        return;
    try {
        const std::optional<QString> chosen = m_files->AskSettingFile();
        if (!chosen)
            return;
        DocumentFiles::Next next;
        next.settingPath = *chosen;
        OpenSettingParse(next);
    } catch (const BvlError &e) {
        ReportCommandError(m_ctx, QStringLiteral("mnfChangeSettingFile"), e);
    }
}

bool bvlMain::mnfSaveSEEM_Click()
{
    CommitTypedEdit();
    // A value that cannot be written is refused before anything is asked or written.
    if (!CheckTypedValues())
        return false;
    // No question when the chosen name is the open file itself; another existing file
    // is replaced only when the user says so (SaveAsCopy).
    const std::optional<QString> chosen = m_ctx.platform.saveFileName(
        m_ctx.Title(QStringLiteral("bvlMain.mnfSaveSEEM")),
        m_ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*"), Document->seemPath(), false);
    if (!chosen)
        return false;
    if (!DocumentFiles::IsSameFile(*chosen, Document->seemPath())) {
        if (!m_files->SaveAsCopy(*chosen))
            return false;
        m_recent->Remember(Document->seemPath());
        m_status->ShowUsingFile();
        UpdateChangesTitle();
    }
    try {
        m_status->ShowSaved(WriteAll());
        return true;
    } catch (const BvlError &e) {
        // Nothing has been written, or it has been put back; the edits stay in the
        // controls, unsaved.
        if (const auto *save = dynamic_cast<const SaveError *>(&e))
            ReportSaveError(m_ctx, *save);
        else if (e.number() == ErrNo::FileChanged)
            ReportAboutPath(m_ctx, "bvlMain.sFileChanged_M", Document->seemPath(), MsgIcon::Warning);
        else if (e.number() == ErrNo::FileReadOnly)
            ReportAboutPath(m_ctx, "bvlMain.sReadOnly_M", Document->seemPath(), MsgIcon::Warning);
        else
            ShowInputDataError(m_ctx, e.number());
        // Take the user to the setting that could not be saved.
        if (const auto *failed = dynamic_cast<const SettingWriteError *>(&e))
            ShowSetting(failed->settingIndex);
        return false;
    }
}
