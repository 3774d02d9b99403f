// The setting editor's file commands (New, Open, Save), the code page, and the images the
// byte map and the dialog's preview read.
#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/SearchFolders.h"
#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "seem/authoring/RecordRules.h"
#include "seem/authoring/ReferenceImages.h"
#include "seem/files/ImageBytes.h"
#include "ui/AppContext.h"
#include "ui/InputDataError.h"
#include "ui/SettingFileReports.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>
#include <optional>

namespace {

// The first text of the header or of a record that the document's code page cannot hold
// or that is too long for the file.
std::optional<FitFinding> FirstUnwritable(const SettingFileDocument &document)
{
    QVector<FitFinding> findings;
    CheckHeaderTexts(document.headerToCheck(), document.codePage(), findings);
    for (int k = 1; k <= document.count(); ++k)
        CheckRecordInto(document.record(k), k, document.codePage(), findings);
    const auto first = std::find_if(findings.cbegin(), findings.cend(), IsUnwritable);
    return first == findings.cend() ? std::nullopt : std::optional<FitFinding>(*first);
}

const QString SettingFileFilter = QStringLiteral("Setting file (*.sec)|*.sec");
const QString SeemFileFilter = QStringLiteral("SEEM file (*.seem;*.bin;*.sch)|*.seem;*.bin;*.sch");

// A name typed without an extension gets ".sec", as desktop save dialogs add it: the
// automatic choice looks only at *.sec files.
QString WithSettingFileSuffix(const QString &path)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    QString withSuffix = path;
    if (withSuffix.endsWith(QLatin1Char('.')))
        withSuffix.chop(1);
    return withSuffix + QStringLiteral(".sec");
}

}   // namespace

QString bvlEditSetting::currentFolder() const
{
    if (m_document.path().isEmpty())
        return QString();
    return QDir::toNativeSeparators(QFileInfo(m_document.path()).absolutePath() + QLatin1Char('/'));
}

bool bvlEditSetting::mayDiscardFile()
{
    if (FileSaved())
        return true;
    switch (m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sSave?_M")), MsgIcon::Question,
                                      MsgButtons::YesNoCancel)) {
    case MsgResult::Yes:
        return SaveSettingFile();
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

void bvlEditSetting::mnfNew_Click()
{
    if (!mayDiscardFile())
        return;
    m_document.clear();
    lbFileVer->clear();
}

void bvlEditSetting::mnfOpenSetting_Click()
{
    try {
        if (!mayDiscardFile())
            return;
        const std::optional<QString> path = m_ctx.platform.openFileName(
            m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSetting")), SettingFileFilter, currentFolder());
        if (path)
            LoadSettingFile(*path);
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(QStringLiteral("mnfOpenSetting ERR ") + QString::number(e.number()), MsgIcon::None,
                                  MsgButtons::Ok);
    }
}

void bvlEditSetting::LoadSettingFile(const QString &path)
{
    // Read aside: a file that fails or is refused leaves the file in the window as it was.
    SettingFileHeader header;
    SettingList records;
    QByteArray trailing;
    switch (OpenSettingFileReported(m_ctx, path, header, records, &trailing)) {
    case SettingFileOpen::Accepted:
        break;
    case SettingFileOpen::ReadFailed:
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.FileError_M")), MsgIcon::Critical,
                                  MsgButtons::Ok);
        return;
    case SettingFileOpen::Refused:
        return;
    }
    m_document.load(path, header, records, trailing);
    showFileVersion();
}

void bvlEditSetting::showFileVersion()
{
    const SettingFileHeader &header = m_document.readHeader();
    lbFileVer->setText(QStringLiteral("File V") + QString::number(header.FileVersion) + QStringLiteral(" (")
                       + header.ProgramVersion + QLatin1Char(')'));
}

void bvlEditSetting::mnfSaveSetting_Click()
{
    SaveSettingFile();
}

bool bvlEditSetting::SaveSettingFile()
{
    if (m_document.count() == 0) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return false;
    }
    // A new file, or one in a folder the user cannot write (the installed program's), is
    // proposed in the per-user folder, made for the dialog to start in.
    // The open file's name is proposed, as Save SEEM... does.
    const QString folder = SettingSaveFolder(m_document.path(), m_ctx.platform.userFolder());
    QDir().mkpath(folder);
    const QString proposed = m_document.path().isEmpty() ? folder : folder + QFileInfo(m_document.path()).fileName();
    const std::optional<QString> path = m_ctx.platform.saveFileName(
        m_ctx.Title(QStringLiteral("bvlEditSetting.mnfSaveSetting")), SettingFileFilter, proposed);
    if (!path)
        return false;
    // A text the file cannot hold (typed into a header box, or left by another code page)
    // is named before anything is written.
    if (const std::optional<FitFinding> unwritable = FirstUnwritable(m_document)) {
        LangWording words(m_ctx.lang);
        m_ctx.platform.messageBox(
            FindingText(words, m_document.records(), *unwritable) + QStringLiteral(" (ERR ")
                + QString::number(unwritable->rule == FitRule::TextTooLong ? ErrNo::Overflow : ErrNo::TypeMismatch)
                + QLatin1Char(')'),
            MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
    try {
        // Written in one piece: a failed write keeps the previous file and counts as unsaved.
        m_document.save(WithSettingFileSuffix(*path));
    } catch (const BvlError &e) {
        ShowInputDataError(m_ctx, e.number());
        return false;
    }
    showFileVersion();
    updateTitle();
    return true;
}

void bvlEditSetting::CodePageChanged()
{
    m_document.setCodePage(CodePage::Current(), CodePage::DisplayName(CodePage::Current()));
}

// ---- images ----

bool bvlEditSetting::readImage(const QString &title, QString &path, QByteArray &bytes)
{
    const std::optional<QString> chosen = m_ctx.platform.openFileName(title, SeemFileFilter, currentFolder());
    if (!chosen)
        return false;
    try {
        bytes = ReadWholeImage(*chosen);
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.ImageUnreadable_M")) + QLatin1Char(' ')
                                      + QDir::toNativeSeparators(*chosen) + QStringLiteral(" (ERR ")
                                      + QString::number(e.number()) + QLatin1Char(')'),
                                  MsgIcon::Critical, MsgButtons::Ok);
        return false;
    }
    path = *chosen;
    return true;
}

void bvlEditSetting::mnfOpenReference_Click()
{
    QString path;
    QByteArray bytes;
    if (readImage(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenReference")), path, bytes))
        m_images->setReference(path, bytes);
}

void bvlEditSetting::mnfOpenSecond_Click()
{
    if (!m_images->images().hasReference()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoReferenceImage_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return;
    }
    QString path;
    QByteArray bytes;
    if (!readImage(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSecond")), path, bytes))
        return;
    if (!m_images->setSecond(path, bytes))
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.ImageSizeDiffers_M")) + QLatin1Char(' ')
                                      + QDir::toNativeSeparators(path),
                                  MsgIcon::Warning, MsgButtons::Ok);
}

bvlByteMap *bvlEditSetting::ByteMap()
{
    if (!m_byteMap) {
        m_byteMap = new bvlByteMap(m_ctx, m_document, *m_images, this);
        connect(m_byteMap, &bvlByteMap::editRecordRequested, this, &bvlEditSetting::EditRecord);
        connect(m_byteMap, &bvlByteMap::draftChosen, this, &bvlEditSetting::AddFromDraft);
        connect(m_byteMap, &bvlByteMap::draftsChosen, this, &bvlEditSetting::AppendSettings);
    }
    return m_byteMap;
}

void bvlEditSetting::mnfByteMap_Click()
{
    if (!m_images->images().hasReference()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoReferenceImage_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return;
    }
    bvlByteMap *map = ByteMap();
    map->show();
    map->raise();
    map->activateWindow();
}
