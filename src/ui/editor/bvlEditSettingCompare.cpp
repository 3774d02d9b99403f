// The setting editor's comparison with another setting file or with its own file on disk,
// and its merge of another setting file into its own.
#include "core/CodePage.h"
#include "ui/AppContext.h"
#include "ui/SettingFileReports.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlMergeSec.h"

#include <QFileInfo>

namespace {

const QString SettingFileFilter = QStringLiteral("Setting file (*.sec)|*.sec");

}   // namespace

bvlCompareSec *bvlEditSetting::Comparison() const
{
    return m_compare;
}

bool bvlEditSetting::readOtherFile(const QString &path, SettingFileHeader &header, SettingList &settings)
{
    // Read in the code page the document's texts were read in, so that equal bytes compare equal.
    const CodePage::Scope readIn(m_document.codePage());
    switch (OpenSettingFileReported(m_ctx, path, header, settings)) {
    case SettingFileOpen::Accepted:
        return true;
    case SettingFileOpen::ReadFailed:
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.FileError_M")), MsgIcon::Critical,
                                  MsgButtons::Ok);
        return false;
    case SettingFileOpen::Refused:
        break;
    }
    return false;
}

void bvlEditSetting::showComparison(const QString &otherName, const SettingFileHeader &header,
                                    const SettingList &settings)
{
    delete m_compare;
    m_compare = new bvlCompareSec(m_ctx, m_document, otherName, header, settings, this);
    m_compare->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_compare, &bvlCompareSec::recordChosen, this, &bvlEditSetting::selectRecord);
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}

void bvlEditSetting::mnfCompare_Click()
{
    const std::optional<QString> path = m_ctx.platform.openFileName(
        m_ctx.Title(QStringLiteral("bvlEditSetting.mnfCompare")), SettingFileFilter, currentFolder());
    if (!path)
        return;
    SettingFileHeader header;
    SettingList settings;
    if (readOtherFile(*path, header, settings))
        showComparison(QFileInfo(*path).fileName(), header, settings);
}

void bvlEditSetting::mnfCompareDisk_Click()
{
    if (m_document.path().isEmpty())
        return;
    SettingFileHeader header;
    SettingList settings;
    if (readOtherFile(m_document.path(), header, settings))
        showComparison(m_ctx.T(QStringLiteral("bvlCompareSec.sOnDisk_V")).arg(QFileInfo(m_document.path()).fileName()),
                       header, settings);
}

bvlMergeSec *bvlEditSetting::Merging() const
{
    return m_merge;
}

void bvlEditSetting::mnfMerge_Click()
{
    const QString title = m_ctx.Title(QStringLiteral("bvlEditSetting.mnfMerge"));
    const std::optional<QString> theirsPath = m_ctx.platform.openFileName(title, SettingFileFilter, currentFolder());
    if (!theirsPath)
        return;
    SettingFileContents theirs, base;
    if (!readOtherFile(*theirsPath, theirs.header, theirs.settings))
        return;
    // The version both started from, when the user has it; else the open file as last
    // saved, whose unsaved edits are then "mine"; a new file merges with no base at all.
    const std::optional<QString> basePath = m_ctx.platform.openFileName(
        m_ctx.T(QStringLiteral("bvlMergeSec.sChooseBase_V")), SettingFileFilter, currentFolder());
    const QString baseFile = basePath ? *basePath : m_document.path();
    if (!baseFile.isEmpty() && !readOtherFile(baseFile, base.header, base.settings))
        return;
    SettingFileContents ours;
    ours.header = m_document.headerToCheck();
    ours.settings = m_document.records();
    delete m_merge;
    m_merge = new bvlMergeSec(m_ctx, m_document, QFileInfo(*theirsPath).fileName(), base, ours, theirs, this);
    m_merge->setAttribute(Qt::WA_DeleteOnClose);
    m_merge->show();
    m_merge->raise();
    m_merge->activateWindow();
}
