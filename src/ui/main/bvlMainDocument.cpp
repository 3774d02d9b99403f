// The document: which SEEM file is open, which setting file describes it, and saving.
//
// Opening a SEEM file or choosing another setting file is all or nothing: the new files
// are opened, read and checked aside, and only when everything succeeded does the window
// give up the previous ones. Until then the open file, the view, the menus and the status
// line stay as they were, so the view always shows the open SEEM file.
#include "ui/main/bvlMain.h"

#include "core/Conversions.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "seem/AutoSelect.h"
#include "seem/SeemCopy.h"
#include "seem/RecordMatch.h"
#include "seem/SeemFileName.h"
#include "ui/AppContext.h"
#include "ui/InputDataError.h"
#include "ui/SettingFileReports.h"
#include "ui/main/SaveReports.h"
#include "ui/main/SettingControlKind.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {
const QChar Quote(QLatin1Char('"'));

QString SettingFilter(AppContext &ctx)
{
    return ctx.T(QStringLiteral("bvlMain.cdFilter2_V")) + QStringLiteral("|*.sec");
}

std::optional<QString> AskSettingFile(AppContext &ctx, const QString &proposedFolder)
{
    return ctx.platform.openFileName(ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSetting")), SettingFilter(ctx),
                                     proposedFolder);
}

void ReportCommandError(AppContext &ctx, const QString &command, const BvlError &e)
{
    ctx.platform.messageBox(command + QStringLiteral(" ERR ") + QString::number(e.number()), MsgIcon::None,
                            MsgButtons::Ok);
}

// A message of the language file followed by the path it is about, in double quotes.
void ReportAboutPath(AppContext &ctx, const char *key, const QString &path, MsgIcon icon)
{
    ctx.platform.messageBox(ctx.T(QString::fromLatin1(key)) + QLatin1Char(' ') + Quote + path + Quote, icon,
                            MsgButtons::Ok);
}
}

QString SeemFilter(AppContext &ctx)
{
    return ctx.T(QStringLiteral("bvlMain.cdFilter1A_V")) + QStringLiteral("|*.seem;*.bin;*.sch|")
        + ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*");
}

QString bvlMain::FolderProposal(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

bool bvlMain::MayDropEdits()
{
    if (IsSaved())
        return true;
    switch (AskToSave()) {
    case MsgResult::Cancel:
        return false;
    case MsgResult::Yes:
        // An unsaved document is not given up when its save did not happen.
        return mnfSaveSEEM_Click();
    default:
        return true;
    }
}

MsgResult bvlMain::AskToSave()
{
    // The question names the document it is about.
    return m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sSave?_M")) + QStringLiteral("\n\n")
                                         + QFileInfo(SEEMPath).fileName(),
                                     MsgIcon::Question, MsgButtons::YesNoCancel);
}

void bvlMain::mnfOpenSEEM_Click()
{
    if (!MayDropEdits())
        return;
    const std::optional<QString> chosen =
        m_ctx.platform.openFileName(m_ctx.Title(QStringLiteral("bvlMain.mnfOpenSEEM")), SeemFilter(m_ctx),
                                    FolderProposal(SEEMFile->path()));
    if (chosen)
        OpenSEEM(*chosen);
}

void bvlMain::OpenSEEM(const QString &seemPath)
{
    const QString previousStatus = lbFileDesc->text();
    try {
        NextDocument next;
        if (!OpenFileParse(seemPath, next) || !OpenSettingParse(next))
            ShowFileDesc(previousStatus);
    } catch (const BvlError &e) {
        ShowFileDesc(previousStatus);
        if (e.number() == ErrNo::NotRegularFile)
            ReportAboutPath(m_ctx, "bvlMain.sNotRegularFile_M", seemPath, MsgIcon::Critical);
        else
            ReportCommandError(m_ctx, QStringLiteral("mnfOpenSEEM"), e);
    }
}

bool bvlMain::OpenFileParse(const QString &seemPath, NextDocument &next)
{
    next.seemPath = seemPath;
    const QString fileName = QFileInfo(seemPath).fileName();
    const bool automatic = mnfAutoSettingSelection->isChecked();
    if (automatic)
        next.settingPath = AutoSelectSEC(fileName);
    if (next.settingPath.isEmpty()) {
        ShowFileDesc(automatic ? m_ctx.T(QStringLiteral("bvlMain.lbNoSettingFound_V")) + QLatin1Char(' ') + Quote
                                     + fileName + Quote
                               : QString());
        // The setting file is likely found near the image it belongs to.
        const std::optional<QString> chosen = AskSettingFile(m_ctx, FolderProposal(seemPath));
        if (!chosen)
            return false;
        next.settingPath = *chosen;
    }
    next.seemFile = std::make_unique<SeemFile>();
    SeemFileOpener(*next.seemFile, seemPath);
    ReportJournalNotice(m_ctx, next.seemFile->openNotice());
    return true;
}

QString bvlMain::AutoSelectSEC(const QString &fileName)
{
    return AutoSelectSettingFile(SearchFolders(m_ctx.platform.userFolder(), m_ctx.platform.programFolder()), fileName);
}

bool bvlMain::OpenSettingParse(NextDocument &next)
{
    if (!ReadSettingFileReported(m_ctx, next.settingPath, next.header, next.settings))
        return false;
    if (!CheckSettingHeaderReported(m_ctx, next.header))
        return false;
    if (!AcceptOtherRecord(next))
        return false;
    CheckSettingsShowable(next.settings);
    TakeOver(next);
    return true;
}

void bvlMain::TakeOver(NextDocument &next)
{
    UnloadAllControls();
    const bool newSeemFile = bool(next.seemFile);
    if (newSeemFile)
        SEEMPath = next.seemPath;
    Document->load(std::move(next.seemFile), next.settingPath, next.header, next.settings);
    SEEMFile = &Document->file();
    SettingPath = next.settingPath;
    FileHeader = next.header;
    Settings = Document->settings();

    mnfChangeSettingFile->setEnabled(true);
    for (int index = 1; index <= Settings.size(); ++index) {
        AddSettingGroup(Settings[index - 1], index);
        AddSettingControl(Settings[index - 1], index);
    }
    // Reported once the view is complete, so that the failing setting's page can be shown.
    const RestoreFailure failure = RestoreQuietly(AllSettings());
    frDescription->show();
    txDescription->setPlainText(ShortHelpText);
    mnfRestore->setEnabled(true);
    mnfSaveSEEM->setEnabled(true);
    tvUI->show();
    ShowFileDesc(UsingFileStatus());
    ShowSettingFileFindings();
    if (newSeemFile)
        RememberRecent(SEEMPath);
    ShowStartHint();
    ReportRestoreFailure(failure);
}

QString bvlMain::UsingFileStatus() const
{
    return m_ctx.T(QStringLiteral("bvlMain.lbUsingFile_V")) + Quote + SettingPath + Quote + QStringLiteral(" (V")
        + QString::number(FileHeader.FileVersion) + QStringLiteral(" - ") + FileHeader.ProgramVersion
        + QStringLiteral("). ") + FileHeader.Phones + QStringLiteral(" (SEEM ") + HexText16(FileHeader.SEEMNr)
        + QLatin1Char('_') + HexText16(FileHeader.SEEMRec) + QStringLiteral("). ") + m_ctx.T(QStringLiteral("bvlMain.lbBy_V"))
        + QLatin1Char(' ') + FileHeader.Author
        + (SEEMFile->isReadOnly() ? QLatin1Char(' ') + m_ctx.T(QStringLiteral("bvlMain.lbReadOnly_V")) : QString());
}

bool bvlMain::AcceptOtherRecord(const NextDocument &next)
{
    const QString seemName = QFileInfo(next.seemFile ? next.seemPath : SEEMPath).fileName();
    SeemNameNumbers numbers;
    if (!ParseSeemFileName(seemName, numbers)
        || (numbers.seemNr == next.header.SEEMNr && numbers.seemRec == next.header.SEEMRec))
        return true;
    // A setting file for another record puts values where the bytes mean something else.
    const QString question = m_ctx.T(QStringLiteral("bvlMain.sOtherRecord?_M"))
                                 .arg(QFileInfo(next.settingPath).fileName(),
                                      RecordNumbersText(next.header.SEEMNr, next.header.SEEMRec), seemName,
                                      RecordNumbersText(numbers.seemNr, numbers.seemRec));
    return m_ctx.platform.messageBox(question, MsgIcon::Warning, MsgButtons::YesNo, MsgDefault::No) == MsgResult::Yes;
}

void bvlMain::mnfChangeSettingFile_Click()
{
    // The new setting file's view replaces every edit shown now.
    if (!MayDropEdits())
        return;
    try {
        const std::optional<QString> chosen = AskSettingFile(m_ctx, FolderProposal(SEEMFile->path()));
        if (!chosen)
            return;
        NextDocument next;
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
        m_ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*"), SEEMPath, false);
    if (!chosen)
        return false;
    if (!IsSameFile(*chosen, SEEMFile->path()) && !SaveAsCopy(*chosen))
        return false;
    try {
        ShowSavedStatus(WriteAll());
        return true;
    } catch (const BvlError &e) {
        // Nothing has been written, or it has been put back; the edits stay in the
        // controls, unsaved.
        if (const auto *save = dynamic_cast<const SaveError *>(&e))
            ReportSaveError(m_ctx, *save);
        else if (e.number() == ErrNo::FileChanged)
            ReportAboutPath(m_ctx, "bvlMain.sFileChanged_M", SEEMFile->path(), MsgIcon::Warning);
        else if (e.number() == ErrNo::FileReadOnly)
            ReportAboutPath(m_ctx, "bvlMain.sReadOnly_M", SEEMFile->path(), MsgIcon::Warning);
        else
            ShowInputDataError(m_ctx, e.number());
        // Take the user to the setting that could not be saved.
        if (const auto *failed = dynamic_cast<const SettingWriteError *>(&e))
            ShowSetting(failed->settingIndex);
        return false;
    }
}

bool bvlMain::SaveAsCopy(const QString &target)
{
    if (QFileInfo::exists(target)
        && m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sReplace?_M")).arg(QFileInfo(target).fileName()),
                                     MsgIcon::Warning, MsgButtons::YesNo, MsgDefault::No)
               != MsgResult::Yes)
        return false;
    try {
        // Not a copy of bytes another program put into the file since the user saw it;
        // an image open for reading only is copied as it is.
        if (!SEEMFile->isReadOnly())
            SEEMFile->checkWritable();
        CopySeemImage(*SEEMFile, target);
        auto copy = std::make_unique<SeemFile>();
        SeemFileOpener(*copy, target);
        // The copy holds the bytes the view was restored from: it takes the document over
        // as it stands, edits and all, and the save goes into it.
        Document->replaceFile(std::move(copy));
        SEEMFile = &Document->file();
        SEEMPath = target;
        RememberRecent(SEEMPath);
        ShowFileDesc(UsingFileStatus());
        UpdateChangesTitle();
        return true;
    } catch (const BvlError &e) {
        if (e.number() == ErrNo::FileChanged)
            ReportAboutPath(m_ctx, "bvlMain.sFileChanged_M", SEEMFile->path(), MsgIcon::Warning);
        else
            m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sNotCopied_M")) + QLatin1Char(' ') + Quote
                                          + target + Quote + QStringLiteral("\n") + QString::fromStdString(e.what()),
                                      MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
}

bool bvlMain::IsSameFile(const QString &a, const QString &b)
{
    // By identity, so that another spelling of the path or a second link is the same file.
    const FileIdentity first = IdentityOfPath(a);
    const FileIdentity second = IdentityOfPath(b);
    if (first.size < 0 || second.size < 0)
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    return first.device == second.device && first.inode == second.inode;
}

void bvlMain::ShowSavedStatus(int writtenCount)
{
    ShowFileDesc(m_ctx.lang.GetPluralString(QStringLiteral("bvlMain.sSavedCount_V"), writtenCount)
                     .arg(QFileInfo(SEEMPath).fileName()));
    tmSavedStatus->start();
}
