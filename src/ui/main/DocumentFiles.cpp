// The main window's files: which SEEM file and setting file are open, and opening, reading,
// checking and copying them before the document takes them over.
#include "ui/main/DocumentFiles.h"

#include "core/Conversions.h"
#include "core/OutputTarget.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "seem/authoring/AutoSelect.h"
#include "seem/authoring/RecordMatch.h"
#include "seem/document/SeemDocument.h"
#include "seem/files/SeemCopy.h"
#include "seem/files/SeemFileName.h"
#include "ui/AppContext.h"
#include "ui/SettingFileReports.h"
#include "ui/main/SaveReports.h"
#include "ui/main/SettingControlKind.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QChar Quote(QLatin1Char('"'));
}

QString SeemFilter(AppContext &ctx)
{
    return ctx.T(QStringLiteral("bvlMain.cdFilter1A_V")) + QStringLiteral("|*.seem;*.bin;*.sch|")
           + ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*");
}

void ReportAboutPath(AppContext &ctx, const char *key, const QString &path, MsgIcon icon)
{
    ctx.platform.messageBox(ctx.T(QString::fromLatin1(key)) + QLatin1Char(' ') + Quote + path + Quote, icon,
                            MsgButtons::Ok);
}

DocumentFiles::DocumentFiles(AppContext &ctx, SeemDocument &document) : m_ctx(ctx), m_document(document) {}

QString DocumentFiles::FolderProposal(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

MsgResult DocumentFiles::AskToSave() const
{
    // The question names the document it is about.
    return m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sSave?_M")) + QStringLiteral("\n\n")
                                         + QFileInfo(m_document.seemPath()).fileName(),
                                     MsgIcon::Question, MsgButtons::YesNoCancel);
}

std::optional<QString> DocumentFiles::AskSettingFile() const
{
    return AskSettingFileIn(FolderProposal(m_document.seemPath()));
}

std::optional<QString> DocumentFiles::AskSettingFileIn(const QString &proposedFolder) const
{
    return m_ctx.platform.openFileName(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSetting")),
                                       m_ctx.T(QStringLiteral("bvlMain.cdFilter2_V")) + QStringLiteral("|*.sec"),
                                       proposedFolder);
}

bool DocumentFiles::OpenSeem(const QString &seemPath, bool automatic, Next &next,
                             const std::function<void(const QString &)> &showStatus)
{
    next.seemPath = seemPath;
    const QString fileName = QFileInfo(seemPath).fileName();
    if (automatic)
        next.settingPath = AutoSelectSEC(fileName);
    if (next.settingPath.isEmpty()) {
        showStatus(automatic ? m_ctx.T(QStringLiteral("bvlMain.lbNoSettingFound_V")) + QLatin1Char(' ') + Quote
                                   + fileName + Quote
                             : QString());
        // The setting file is likely found near the image it belongs to.
        const std::optional<QString> chosen = AskSettingFileIn(FolderProposal(seemPath));
        if (!chosen)
            return false;
        next.settingPath = *chosen;
    }
    next.seemFile = std::make_unique<SeemFile>();
    SeemFileOpener(*next.seemFile, seemPath);
    ReportJournalNotice(m_ctx, next.seemFile->openNotice());
    return true;
}

QString DocumentFiles::AutoSelectSEC(const QString &fileName) const
{
    return AutoSelectSettingFile(SearchFolders(m_ctx.platform.userFolder(), m_ctx.platform.programFolder()), fileName);
}

bool DocumentFiles::ReadSettingFile(Next &next)
{
    if (!ReadSettingFileReported(m_ctx, next.settingPath, next.header, next.settings))
        return false;
    if (!CheckSettingHeaderReported(m_ctx, next.header))
        return false;
    if (!AcceptOtherRecord(next))
        return false;
    CheckSettingsShowable(next.settings);
    return true;
}

bool DocumentFiles::TakeOver(Next &next)
{
    const bool newSeemFile = bool(next.seemFile);
    m_document.load(std::move(next.seemFile), next.settingPath, next.header, next.settings);
    return newSeemFile;
}

QString DocumentFiles::UsingFileStatus() const
{
    const SettingFileHeader &header = m_document.header();
    return m_ctx.T(QStringLiteral("bvlMain.lbUsingFile_V")) + Quote + m_document.settingPath() + Quote
           + QStringLiteral(" (V") + QString::number(header.FileVersion) + QStringLiteral(" - ") + header.ProgramVersion
           + QStringLiteral("). ") + header.Phones + QStringLiteral(" (SEEM ") + HexText16(header.SEEMNr)
           + QLatin1Char('_') + HexText16(header.SEEMRec) + QStringLiteral("). ")
           + m_ctx.T(QStringLiteral("bvlMain.lbBy_V")) + QLatin1Char(' ') + header.Author
           + (m_document.file().isReadOnly() ? QLatin1Char(' ') + m_ctx.T(QStringLiteral("bvlMain.lbReadOnly_V"))
                                             : QString());
}

QString DocumentFiles::StatusLineShown(const QString &text) const
{
    const QString &settingPath = m_document.settingPath();
    if (settingPath.isEmpty() || text != UsingFileStatus())
        return QString();
    QString shown =
        m_ctx.T(QStringLiteral("bvlMain.lbUsingFile_V")) + Quote + QFileInfo(settingPath).fileName() + Quote;
    if (!m_document.header().Phones.isEmpty())
        shown += QStringLiteral(". ") + m_document.header().Phones;
    if (m_document.file().isReadOnly())
        shown += QLatin1Char(' ') + m_ctx.T(QStringLiteral("bvlMain.lbReadOnly_V"));
    return shown;
}

bool DocumentFiles::AcceptOtherRecord(const Next &next) const
{
    const QString seemName = QFileInfo(next.seemFile ? next.seemPath : m_document.seemPath()).fileName();
    SeemNameNumbers numbers;
    if (!ParseSeemFileName(seemName, numbers)
        || (numbers.seemNr == next.header.SEEMNr && numbers.seemRec == next.header.SEEMRec))
        return true;
    // The file in use read again (another code page): the user took it for this image already.
    if (!next.seemFile && next.settingPath == m_document.settingPath()
        && next.header.SEEMNr == m_document.header().SEEMNr && next.header.SEEMRec == m_document.header().SEEMRec)
        return true;
    // A setting file for another record puts values where the bytes mean something else.
    const QString question =
        m_ctx.T(QStringLiteral("bvlMain.sOtherRecord?_M"))
            .arg(QFileInfo(next.settingPath).fileName(), RecordNumbersText(next.header.SEEMNr, next.header.SEEMRec),
                 seemName, RecordNumbersText(numbers.seemNr, numbers.seemRec));
    return m_ctx.platform.messageBox(question, MsgIcon::Warning, MsgButtons::YesNo, MsgDefault::No) == MsgResult::Yes;
}

bool DocumentFiles::SaveAsCopy(const QString &target)
{
    // The setting file in use is an input too: the copy never replaces it, and a target
    // that cannot be written is refused before the question whether to replace it.
    const QStringList otherInputs{m_document.settingPath()};
    SeemFile &image = m_document.file();
    try {
        CheckOutputTarget(target, QStringList{image.path()} + otherInputs);
        if (QFileInfo::exists(target)
            && m_ctx.platform.messageBox(
                   m_ctx.T(QStringLiteral("bvlMain.sReplace?_M")).arg(QFileInfo(target).fileName()), MsgIcon::Warning,
                   MsgButtons::YesNo, MsgDefault::No)
                   != MsgResult::Yes)
            return false;
        // Not a copy of bytes another program put into the file since the user saw it;
        // an image open for reading only is copied as it is.
        if (!image.isReadOnly())
            image.checkWritable();
        CopySeemImage(image, target, otherInputs);
        auto copy = std::make_unique<SeemFile>();
        SeemFileOpener(*copy, target);
        // The copy holds the bytes the view was restored from: it takes the document over
        // as it stands, edits and all, and the save goes into it.
        m_document.replaceFile(std::move(copy));
        return true;
    } catch (const BvlError &e) {
        if (e.number() == ErrNo::FileChanged)
            ReportAboutPath(m_ctx, "bvlMain.sFileChanged_M", image.path(), MsgIcon::Warning);
        else
            m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sNotCopied_M")) + QLatin1Char(' ') + Quote
                                          + target + Quote + QStringLiteral("\n") + QString::fromStdString(e.what()),
                                      MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
}

bool DocumentFiles::IsSameFile(const QString &a, const QString &b)
{
    // By identity, so that another spelling of the path or a second link is the same file.
    const FileIdentity first = IdentityOfPath(a);
    const FileIdentity second = IdentityOfPath(b);
    if (first.size < 0 || second.size < 0)
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    return first.device == second.device && first.inode == second.inode;
}
