#include "ui/settingfiles/bvlSettingFiles.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "seem/authoring/SettingFileInstall.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/bvlReviewChanges.h"
#include "ui/settingfiles/InstallSettingFiles.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

}   // namespace

bvlSettingFiles::bvlSettingFiles(AppContext &context, QWidget *owner) : QDialog(owner), m_ctx(context)
{
    setObjectName(QStringLiteral("bvlSettingFiles"));
    setWindowTitle(m_ctx.T(QStringLiteral("bvlSettingFiles.sTitle_V")));

    lsFiles = new QTreeWidget(this);
    lsFiles->setObjectName(QStringLiteral("lsFiles"));
    lsFiles->setRootIsDecorated(false);
    lsFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (const char *key : {"bvlSettingFiles.sFile_V", "bvlSettingFiles.sFolder_V", "bvlSettingFiles.sSeem_V",
                            "bvlSettingFiles.sRecord_V", "bvlSettingFiles.sPhones_V", "bvlSettingFiles.sAuthor_V",
                            "bvlSettingFiles.sSettings_V", "bvlSettingFiles.sCheck_V"})
        headers << m_ctx.T(QString::fromLatin1(key));
    lsFiles->setColumnCount(headers.size());
    lsFiles->setHeaderLabels(headers);
    lsFiles->setMinimumSize(860, 320);

    auto *buttons = new QDialogButtonBox(this);
    cmInstall = NewActionButton(buttons, "cmInstall", QStringLiteral("Installa..."));
    cmRemove = NewActionButton(buttons, "cmRemove", QStringLiteral("Rimuovi"));
    cmOpenInEditor = NewActionButton(buttons, "cmOpenInEditor", QStringLiteral("Apri nel setting editor"));
    cmShowFolder = NewActionButton(buttons, "cmShowFolder", QStringLiteral("Mostra cartella"));
    cmClose = NewActionButton(buttons, "cmClose", QStringLiteral("Chiudi"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lsFiles);
    layout->addWidget(buttons);

    connect(cmInstall, &QPushButton::clicked, this, [this] { cmInstall_Click(); });
    connect(cmRemove, &QPushButton::clicked, this, [this] { cmRemove_Click(); });
    connect(cmOpenInEditor, &QPushButton::clicked, this, [this] { cmOpenInEditor_Click(); });
    connect(cmShowFolder, &QPushButton::clicked, this, [this] { cmShowFolder_Click(); });
    connect(cmClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lsFiles, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(lsFiles, &QTreeWidget::itemDoubleClicked, this, [this] { cmOpenInEditor_Click(); });
    ApplyLanguage(m_ctx.lang, this);
    FillUp();
    FitListWidth();
}

void bvlSettingFiles::FitListWidth()
{
    // The window opens wide enough for every column in the language's words, up to the
    // screen's width, so that no horizontal scroll bar shows at its first size.
    int columns = 0;
    for (int column = 0; column < lsFiles->columnCount(); ++column)
        columns += lsFiles->header()->sectionSize(column);
    const QMargins margins = layout()->contentsMargins();
    int wanted = columns + 2 * lsFiles->frameWidth() + lsFiles->verticalScrollBar()->sizeHint().width() + margins.left()
                 + margins.right();
    if (const QScreen *shown = screen())
        wanted = std::min(wanted, shown->availableGeometry().width());
    resize(std::max(sizeHint().width(), wanted), sizeHint().height());
}

QString bvlSettingFiles::CheckText(const CatalogueEntry &e)
{
    if (e.cutCounted > 0)
        return m_ctx.T(QStringLiteral("bvlSettingFiles.sEndsAfterRecord_V"))
                   .arg(QString::number(e.cutRecord), QString::number(e.cutCounted))
               + QStringLiteral(" (ERR ") + QString::number(e.readError) + QLatin1Char(')');
    if (e.cutRecord > 0)
        return m_ctx.T(QStringLiteral("bvlSettingFiles.sEndsInRecord_V")).arg(e.cutRecord) + QStringLiteral(" (ERR ")
               + QString::number(e.readError) + QLatin1Char(')');
    if (!e.readable())
        return m_ctx.T(QStringLiteral("bvlSettingFiles.sReadFailed_V")) + QLatin1Char(' ')
               + QString::number(e.readError) + QLatin1Char(')');
    // Counted as the editor's check counts them, in the language's singular and plurals.
    if (e.errors > 0)
        return m_ctx.lang.GetPluralString(QStringLiteral("bvlEditSetting.sCheckErrors_V"), e.errors);
    if (e.warnings > 0)
        return m_ctx.lang.GetPluralString(QStringLiteral("bvlEditSetting.sCheckWarnings_V"), e.warnings);
    return m_ctx.T(QStringLiteral("bvlSettingFiles.sCheckOk_V"));
}

void bvlSettingFiles::FillUp()
{
    lsFiles->clear();
    m_entries = ListSettingFiles(m_ctx.platform.userFolder(), m_ctx.platform.programFolder());
    const QString userWord = m_ctx.T(QStringLiteral("bvlSettingFiles.sUserFolder_V"));
    const QString shippedWord = m_ctx.T(QStringLiteral("bvlSettingFiles.sShipped_V"));
    for (const CatalogueEntry &e : m_entries) {
        QStringList texts{e.fileName, e.folder == FileFolder::User ? userWord : shippedWord};
        if (e.readable())
            texts << HexText16(e.header.SEEMNr) << HexText16(e.header.SEEMRec) << e.header.Phones << e.header.Author
                  << QString::number(e.settingCount);
        else
            texts << QString() << QString() << QString() << QString() << QString();
        texts << CheckText(e);
        auto *row = new QTreeWidgetItem(lsFiles, texts);
        row->setToolTip(FileColumn, e.path);
    }
    for (int column = 0; column < lsFiles->columnCount(); ++column)
        lsFiles->resizeColumnToContents(column);
    UpdateButtons();
}

const CatalogueEntry *bvlSettingFiles::SelectedEntry() const
{
    const QList<QTreeWidgetItem *> selected = lsFiles->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = lsFiles->indexOfTopLevelItem(selected.first());
    return row >= 0 && row < m_entries.size() ? &m_entries.at(row) : nullptr;
}

void bvlSettingFiles::UpdateButtons()
{
    const CatalogueEntry *entry = SelectedEntry();
    cmRemove->setEnabled(entry && entry->folder == FileFolder::User);
    cmOpenInEditor->setEnabled(entry && entry->usable());
}

void bvlSettingFiles::cmInstall_Click()
{
    const std::optional<QStringList> chosen =
        m_ctx.platform.openFileNames(m_ctx.T(QStringLiteral("bvlSettingFiles.cmInstall")),
                                     m_ctx.T(QStringLiteral("bvlMain.cdFilter2_V")) + QStringLiteral("|*.sec"));
    if (!chosen)
        return;
    InstallSettingFilesAsked(m_ctx, *chosen);
    FillUp();
}

void bvlSettingFiles::cmRemove_Click()
{
    const CatalogueEntry *entry = SelectedEntry();
    if (!entry || entry->folder != FileFolder::User)
        return;
    const QString path = entry->path;
    if (m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlSettingFiles.sRemove?_M")) + QLatin1Char(' ')
                                      + Quoted(path),
                                  MsgIcon::Question, MsgButtons::YesNo, MsgDefault::No)
        != MsgResult::Yes)
        return;
    try {
        RemoveUserSettingFile(path, m_ctx.platform.userFolder());
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlSettingFiles.sRemoveFailed_M")) + QLatin1Char(' ')
                                      + Quoted(path) + QStringLiteral(" (ERR ") + QString::number(e.number())
                                      + QLatin1Char(')'),
                                  MsgIcon::Warning, MsgButtons::Ok);
    }
    FillUp();
}

void bvlSettingFiles::cmOpenInEditor_Click()
{
    const CatalogueEntry *entry = SelectedEntry();
    if (!entry || !entry->usable())
        return;
    // Opened by the main window once this window has closed: the editor is modal too.
    m_fileToOpen = entry->path;
    accept();
}

void bvlSettingFiles::cmShowFolder_Click()
{
    // The selected file's folder; without a selection the per-user folder once it exists.
    const CatalogueEntry *entry = SelectedEntry();
    QString folder = entry ? QFileInfo(entry->path).absolutePath() : m_ctx.platform.userFolder();
    if (!entry && !QFileInfo(folder).isDir())
        folder = m_ctx.platform.programFolder();
    m_ctx.platform.shellOpen(QUrl::fromLocalFile(folder).toString());
}
