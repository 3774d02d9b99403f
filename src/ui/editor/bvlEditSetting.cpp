#include "ui/editor/bvlEditSetting.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/SettingFileReports.h"
#include "ui/Twips.h"
#include "seem/ImageBytes.h"
#include "ui/editor/ButtonPictures.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/CaselessListItem.h"
#include "ui/editor/EditableSetting.h"
#include "ui/InputDataError.h"
#include "ui/editor/KeyPreview.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

namespace {

const QString SettingFileFilter = QStringLiteral("Setting file (*.sec)|*.sec");
const QString SeemFileFilter = QStringLiteral("SEEM file (*.seem;*.bin;*.sch)|*.seem;*.bin;*.sch");
const QString SettingFileMagic = QStringLiteral("sec");
constexpr quint8 SettingFileVersion = 3;
// The header captions reach up to their boxes, so that longer translations still fit.
constexpr int HeaderCaptionWidth = 2385;

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

QPushButton *command(QWidget *parent, const QString &name, const QString &text, const QIcon &picture,
                     const QRect &geometry)
{
    auto *button = NamedAt(new QPushButton(picture, text, parent), name, geometry);
    button->setIconSize(QSize(20, 20));
    button->setAutoDefault(false); // Enter in a header box must not run a list command
    TagForCaption(button);
    return button;
}

QAction *menuItem(QMenu *menu, const QString &name, const QString &text, const QKeySequence &shortcut)
{
    auto *action = new QAction(text, menu);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    TagForCaption(action);
    menu->addAction(action);
    return action;
}

}

bvlEditSetting::bvlEditSetting(AppContext &ctx, QWidget *owner, std::function<void(const QString &)> showFileDesc)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , m_ctx(ctx)
    , m_showFileDesc(std::move(showFileDesc))
{
    setObjectName(QStringLiteral("bvlEditSetting"));
    buildControls();
    connectHandlers();
    Form_Load();
}

bvlEditSetting::~bvlEditSetting() = default;

void bvlEditSetting::buildControls()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);
    mnuFile = new QMenu(QStringLiteral("File"), menuBar);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    TagForCaption(mnuFile);
    menuBar->addMenu(mnuFile);
    mnfNew = menuItem(mnuFile, QStringLiteral("mnfNew"), QStringLiteral("Nuovo setting file"),
                      QKeySequence(Qt::CTRL | Qt::Key_N));
    mnfOpenSetting = menuItem(mnuFile, QStringLiteral("mnfOpenSetting"), QStringLiteral("Apri setting file..."),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    mnfSaveSetting = menuItem(mnuFile, QStringLiteral("mnfSaveSetting"), QStringLiteral("Salva setting file..."),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuImage = new QMenu(QStringLiteral("Image"), menuBar);
    mnuImage->setObjectName(QStringLiteral("mnuImage"));
    TagForCaption(mnuImage);
    menuBar->addMenu(mnuImage);
    mnfOpenReference = menuItem(mnuImage, QStringLiteral("mnfOpenReference"), QStringLiteral("Open reference image..."),
                                QKeySequence());
    mnfOpenSecond = menuItem(mnuImage, QStringLiteral("mnfOpenSecond"), QStringLiteral("Open second image..."),
                             QKeySequence());
    mnfByteMap = menuItem(mnuImage, QStringLiteral("mnfByteMap"), QStringLiteral("Byte map"),
                          QKeySequence(Qt::CTRL | Qt::Key_M));

    // The client area lies below the menu bar; positions inside it are in twips.
    const int menuHeight = menuBar->sizeHint().height();
    const QSize client(TwipsToPixelsX(8175), TwipsToPixelsY(6495));
    menuBar->setGeometry(0, 0, client.width(), menuHeight);
    setFixedSize(client.width(), client.height() + menuHeight);
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    area->setGeometry(0, menuHeight, client.width(), client.height());

    frGeneralInfo = NamedAt(new QGroupBox(QStringLiteral("Informazioni generali"), area),
                          QStringLiteral("frGeneralInfo"), TwipsRect(120, 120, 7935, 1575));
    TagForCaption(frGeneralInfo);
    lbAuthor = CaptionLabel(frGeneralInfo, QStringLiteral("lbAuthor"), QStringLiteral("Autore:"),
                       TwipsRect(240, 360, HeaderCaptionWidth, 255));
    txAuthor = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txAuthor"), TwipsRect(2640, 330, 5055, 285));
    lbSuitablePhone = CaptionLabel(frGeneralInfo, QStringLiteral("lbSuitablePhone"),
                              QStringLiteral("Il file \u00e8 adatto ai telefoni:"), TwipsRect(240, 720, HeaderCaptionWidth, 255));
    txPhones = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txPhones"), TwipsRect(2640, 690, 5055, 285));
    lbSuitableSEEM = CaptionLabel(frGeneralInfo, QStringLiteral("lbSuitableSEEM"),
                             QStringLiteral("Il file \u00e8 adatto al SEEM nr.:"), TwipsRect(240, 1080, HeaderCaptionWidth, 255));
    txSEEMNr = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txSEEMNr"), TwipsRect(2640, 1050, 2055, 285));
    lbSuitableSEEMRec = CaptionLabel(frGeneralInfo, QStringLiteral("lbSuitableSEEMRec"), QStringLiteral("record"),
                                TwipsRect(4800, 1080, 735, 255));
    lbSuitableSEEMRec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txSEEMRec = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txSEEMRec"), TwipsRect(5640, 1050, 2055, 285));

    frSettings = NamedAt(new QGroupBox(QStringLiteral("Setting"), area), QStringLiteral("frSettings"),
                       TwipsRect(120, 1800, 7935, 4335));
    TagForCaption(frSettings);
    lsSettings = NamedAt(new QListWidget(frSettings), QStringLiteral("lsSettings"), TwipsRect(120, 240, 6255, 3660));
    lsSettings->setSortingEnabled(true);
    lsSettings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmAdd = command(frSettings, QStringLiteral("cmAdd"), QStringLiteral("Nuovo"), ButtonPictures::Add(),
                    TwipsRect(6480, 240, 1335, 615));
    cmDelete = command(frSettings, QStringLiteral("cmDelete"), QStringLiteral("Elimina"), ButtonPictures::Delete(),
                       TwipsRect(6480, 960, 1335, 615));
    cmEdit = command(frSettings, QStringLiteral("cmEdit"), QStringLiteral("Modifica"), ButtonPictures::Edit(),
                     TwipsRect(6480, 1680, 1335, 615));
    cmCopy = command(frSettings, QStringLiteral("cmCopy"), QStringLiteral("Copia"), ButtonPictures::Copy(),
                     TwipsRect(6480, 3240, 1335, 615));
    lbSettingGroup = NamedAt(new QLabel(frSettings), QStringLiteral("lbSettingGroup"), TwipsRect(120, 3960, 7695, 255));
    lbFileVer = NamedAt(new QLabel(area), QStringLiteral("lbFileVer"), TwipsRect(120, 6240, 7935, 255));
    // Both show texts from the file, which must never be taken for markup.
    lbSettingGroup->setTextFormat(Qt::PlainText);
    lbFileVer->setTextFormat(Qt::PlainText);

    const QList<QWidget *> tabOrder = {txAuthor, txPhones, txSEEMNr, txSEEMRec, lsSettings,
                                       cmAdd,    cmDelete, cmEdit,   cmCopy};
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void bvlEditSetting::connectHandlers()
{
    connect(mnfNew, &QAction::triggered, this, &bvlEditSetting::mnfNew_Click);
    connect(mnfOpenSetting, &QAction::triggered, this, &bvlEditSetting::mnfOpenSetting_Click);
    connect(mnfSaveSetting, &QAction::triggered, this, &bvlEditSetting::mnfSaveSetting_Click);
    connect(mnfOpenReference, &QAction::triggered, this, &bvlEditSetting::mnfOpenReference_Click);
    connect(mnfOpenSecond, &QAction::triggered, this, &bvlEditSetting::mnfOpenSecond_Click);
    connect(mnfByteMap, &QAction::triggered, this, &bvlEditSetting::mnfByteMap_Click);
    connect(cmAdd, &QPushButton::clicked, this, &bvlEditSetting::cmAdd_Click);
    connect(cmDelete, &QPushButton::clicked, this, &bvlEditSetting::cmDelete_Click);
    connect(cmEdit, &QPushButton::clicked, this, &bvlEditSetting::cmEdit_Click);
    connect(cmCopy, &QPushButton::clicked, this, &bvlEditSetting::cmCopy_Click);
    connect(lsSettings, &QListWidget::currentRowChanged, this, &bvlEditSetting::lsSettings_Click);
    connect(lsSettings, &QListWidget::itemClicked, this, &bvlEditSetting::lsSettings_Click);
    connect(lsSettings, &QListWidget::itemDoubleClicked, this, &bvlEditSetting::lsSettings_DblClick);
    for (QLineEdit *box : {txAuthor, txPhones, txSEEMNr, txSEEMRec})
        connect(box, &QLineEdit::textChanged, this, &bvlEditSetting::HeaderBox_Change);
    new KeyPreview(this, [this](int key) { return Form_KeyDown(key); });
}

int bvlEditSetting::ShowLoaded(const QString &openPath)
{
    // Each opening starts as a freshly loaded window, in the current language.
    lsSettings->clear();
    lbSettingGroup->clear();
    setHeaderBoxes(QString(), QString(), QString(), QString());
    m_filePath.clear();
    Form_Load();
    if (!openPath.isEmpty())
        LoadSettingFile(openPath);
    // Shown again, a window may come back shifted by its frame: put it where it was.
    if (m_place)
        move(*m_place);
    const int result = exec();
    m_place = pos();
    return result;
}

void bvlEditSetting::Form_Load()
{
    Settings.clear();
    FileSaved = true;
    lbFileVer->setText(QStringLiteral("V") + VersionString());
    ApplyLanguage(m_ctx.lang, this);
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnuSetting")));
}

// ---- the records and the list ----

void bvlEditSetting::NewSetting()
{
    Settings.append(SettingStruct());
}

void bvlEditSetting::DeleteSetting(int k)
{
    Settings.removeAt(k - 1);
}

void bvlEditSetting::UpdateSettingList()
{
    lsSettings->clear();
    for (int k = 1; k <= Settings.size(); ++k) {
        auto *entry = new CaselessListItem(Settings[k - 1].Name);
        entry->setData(Qt::UserRole, k);
        lsSettings->addItem(entry);
    }
    emit settingsChanged();
}

int bvlEditSetting::recordOf(int row) const
{
    return lsSettings->item(row)->data(Qt::UserRole).toInt();
}

int bvlEditSetting::selectedCount() const
{
    return int(lsSettings->selectedItems().size());
}

void bvlEditSetting::CopySel()
{
    // Copies are appended behind the last record, in the display order of their sources.
    const int entries = lsSettings->count();
    for (int row = 0; row < entries; ++row) {
        if (!lsSettings->item(row)->isSelected())
            continue;
        const SettingStruct source = Settings[recordOf(row) - 1];
        NewSetting();
        SettingStruct &copy = Settings.last();
        copy = source;
        copy.Name = source.Name + QStringLiteral(" (Copy, ") + QString::number(CopyCount) + QLatin1Char(')');
        ++CopyCount;
    }
    UpdateSettingList();
}

void bvlEditSetting::DeleteSel()
{
    if (selectedCount() == lsSettings->count()) {
        Settings.clear();
    } else {
        // Highest record first, so the numbers still to delete stay valid.
        QList<int> doomed;
        for (int row = 0; row < lsSettings->count(); ++row)
            if (lsSettings->item(row)->isSelected())
                doomed << recordOf(row);
        std::sort(doomed.begin(), doomed.end(), std::greater<int>());
        for (int k : doomed)
            DeleteSetting(k);
    }
    UpdateSettingList();
}

bool bvlEditSetting::AddSafe(QListWidget *list, const QString &text, bool existOnly)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == text)
            return false;
    if (!existOnly)
        list->addItem(new CaselessListItem(text));
    return true;
}

void bvlEditSetting::FreshGroups()
{
    QListWidget *groups = GroupBrowser()->lsGroups;
    groups->clear();
    for (const SettingStruct &setting : Settings)
        AddSafe(groups, setting.Group, false);
}

bvlEditSettingDo *bvlEditSetting::SettingDialog()
{
    if (!m_settingDialog)
        m_settingDialog = new bvlEditSettingDo(m_ctx, this, m_showFileDesc);
    return m_settingDialog;
}

bvlGroupBrowse *bvlEditSetting::GroupBrowser()
{
    if (!m_groupBrowser)
        m_groupBrowser = new bvlGroupBrowse(m_ctx, this);
    return m_groupBrowser;
}

// ---- list commands ----

void bvlEditSetting::lsSettings_Click()
{
    const int row = lsSettings->currentRow();
    if (row < 0)
        return;
    lbSettingGroup->setText(m_ctx.T(QStringLiteral("bvlEditSettingDo.lbSettingGroup")) + QStringLiteral(" \"")
                            + Settings[recordOf(row) - 1].Group + QLatin1Char('"'));
}

void bvlEditSetting::lsSettings_DblClick()
{
    cmEdit_Click();
}

void bvlEditSetting::cmAdd_Click()
{
    m_ctx.CurrentSetting = SettingStruct(); // a new record owes nothing to the last one
    bvlEditSettingDo *dialog = SettingDialog();
    dialog->ResetForm();
    preparePreview(0);
    dialog->exec();
    if (!m_ctx.CurrentSettingOK)
        return;
    appendRecord(m_ctx.CurrentSetting);
}

void bvlEditSetting::appendRecord(const SettingStruct &record)
{
    FileSaved = false;
    NewSetting();
    const int n = int(Settings.size());
    Settings[n - 1] = record;
    auto *entry = new CaselessListItem(Settings[n - 1].Name);
    entry->setData(Qt::UserRole, n);
    lsSettings->addItem(entry);
    lsSettings->setCurrentItem(entry, QItemSelectionModel::ClearAndSelect);
    lsSettings_Click();
    emit settingsChanged();
}

bool bvlEditSetting::AddFromDraft(const SettingStruct &draft)
{
    m_ctx.CurrentSetting = draft;
    bvlEditSettingDo *dialog = SettingDialog();
    dialog->ResetForm();
    dialog->DoReadSettingStruct();
    preparePreview(0);
    dialog->exec();
    if (!m_ctx.CurrentSettingOK)
        return false;
    appendRecord(m_ctx.CurrentSetting);
    return true;
}

void bvlEditSetting::AppendSettings(const SettingList &records)
{
    for (const SettingStruct &record : records)
        appendRecord(record);
}

void bvlEditSetting::EditRecord(int k)
{
    for (int row = 0; row < lsSettings->count(); ++row) {
        if (recordOf(row) == k) {
            lsSettings->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            cmEdit_Click();
            return;
        }
    }
}

void bvlEditSetting::preparePreview(int editedRecord)
{
    SettingDialog()->SetPreviewContext(&Images, &Settings, editedRecord);
}

void bvlEditSetting::cmEdit_Click()
{
    const int row = lsSettings->currentRow();
    if (row < 0 || selectedCount() > 1)
        return;
    const int k = recordOf(row);
    // The dialog would alter a record it cannot show; such a record stays as read.
    if (!IsEditableSetting(Settings[k - 1])) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.UnsupportedRecord_M")), MsgIcon::Warning,
                                  MsgButtons::Ok);
        return;
    }

    m_ctx.CurrentSetting = Settings[k - 1];
    bvlEditSettingDo *dialog = SettingDialog();
    dialog->DoReadSettingStruct();
    preparePreview(k);
    dialog->exec();
    if (m_ctx.CurrentSettingOK) {
        FileSaved = false;
        Settings[k - 1] = m_ctx.CurrentSetting;
        // Renamed in place: the entry keeps its position until the list is rebuilt.
        lsSettings->setSortingEnabled(false);
        lsSettings->item(row)->setText(Settings[k - 1].Name);
        lsSettings->setSortingEnabled(true);
        emit settingsChanged();
    }
    lsSettings_Click();
}

void bvlEditSetting::cmCopy_Click()
{
    if (lsSettings->currentRow() < 0)
        return;
    if (selectedCount() >= 2
        && m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.CopyMultiple?_M")), MsgIcon::Question,
                                     MsgButtons::YesNo)
               != MsgResult::Yes)
        return;
    FileSaved = false;
    CopySel();
}

void bvlEditSetting::cmDelete_Click()
{
    if (lsSettings->currentRow() < 0)
        return;
    if (selectedCount() > 1
        && m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.DeleteMultiple?_M")), MsgIcon::Question,
                                     MsgButtons::YesNo)
               != MsgResult::Yes)
        return;
    FileSaved = false;
    DeleteSel();
}

// ---- header boxes ----

void bvlEditSetting::HeaderBox_Change()
{
    if (!m_fillingHeader)
        FileSaved = false;
}

void bvlEditSetting::setHeaderBoxes(const QString &author, const QString &phones, const QString &seemNr,
                                    const QString &seemRec)
{
    m_fillingHeader = true;
    txAuthor->setText(author);
    txPhones->setText(phones);
    txSEEMNr->setText(seemNr);
    txSEEMRec->setText(seemRec);
    m_fillingHeader = false;
}

// ---- file commands ----

QString bvlEditSetting::currentFolder() const
{
    if (m_filePath.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QFileInfo(m_filePath).absolutePath() + QLatin1Char('/'));
}

bool bvlEditSetting::mayDiscardFile()
{
    if (FileSaved)
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
    Settings.clear();
    setHeaderBoxes(QString(), QString(), QString(), QString());
    lbFileVer->clear();
    FileSaved = true;
    m_filePath.clear();
    UpdateSettingList();
}

void bvlEditSetting::mnfOpenSetting_Click()
{
    try {
        if (!mayDiscardFile())
            return;
        const std::optional<QString> path =
            m_ctx.platform.openFileName(m_ctx.T(QStringLiteral("bvlEditSetting.mnfOpenSetting")), SettingFileFilter,
                                        currentFolder());
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
    SettingList settings;
    switch (OpenSettingFileReported(m_ctx, path, header, settings)) {
    case SettingFileOpen::Accepted:
        break;
    case SettingFileOpen::ReadFailed:
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.FileError_M")), MsgIcon::Critical,
                                  MsgButtons::Ok);
        return;
    case SettingFileOpen::Refused:
        return;
    }

    FileHeader = header;
    Settings = settings;
    FileSaved = true;
    m_filePath = path;
    setHeaderBoxes(header.Author, header.Phones, HexText16(header.SEEMNr), HexText16(header.SEEMRec));
    lbFileVer->setText(QStringLiteral("File V") + QString::number(header.FileVersion) + QStringLiteral(" (")
                       + header.ProgramVersion + QLatin1Char(')'));
    UpdateSettingList();
}

void bvlEditSetting::mnfSaveSetting_Click()
{
    SaveSettingFile();
}

bool bvlEditSetting::SaveSettingFile()
{
    if (Settings.isEmpty()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoSettings_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return false;
    }
    // A new file, or one in a folder the user cannot write (the installed program's), is
    // proposed in the per-user folder, made for the dialog to start in.
    const QString proposed = SettingSaveFolder(m_filePath, m_ctx.platform.userFolder());
    QDir().mkpath(proposed);
    const std::optional<QString> path =
        m_ctx.platform.saveFileName(m_ctx.T(QStringLiteral("bvlEditSetting.mnfSaveSetting")), SettingFileFilter,
                                    proposed);
    if (!path)
        return false;
    const QString target = WithSettingFileSuffix(*path);
    try {
        SettingFileHeader header = FileHeader;
        header.FileVersion = SettingFileVersion;
        header.ProgramVersion = VersionString();
        header.Magic = SettingFileMagic;
        header.SettingCount = qint32(Settings.size());
        header.Author = txAuthor->text();
        header.Phones = txPhones->text();
        header.SEEMNr = HexToInt16(txSEEMNr->text());
        header.SEEMRec = HexToInt16(txSEEMRec->text());
        // Written in one piece: a failed write keeps the previous file and counts as unsaved.
        WriteSettingFile(target, header, Settings);
        m_filePath = target;
        FileHeader = header;
        lbFileVer->setText(QStringLiteral("File V") + QString::number(header.FileVersion) + QStringLiteral(" (")
                           + header.ProgramVersion + QLatin1Char(')'));
        FileSaved = true;
        return true;
    } catch (const BvlError &e) {
        ShowInputDataError(m_ctx, e.number());
        return false;
    }
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
    if (!readImage(m_ctx.T(QStringLiteral("bvlEditSetting.mnfOpenReference")), path, bytes))
        return;
    Images.referencePath = path;
    Images.reference = bytes;
    // A second image compares only with a reference of its own size.
    if (Images.hasSecond() && Images.second.size() != bytes.size()) {
        Images.secondPath.clear();
        Images.second.clear();
    }
    emit imagesChanged();
}

void bvlEditSetting::mnfOpenSecond_Click()
{
    if (!Images.hasReference()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoReferenceImage_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return;
    }
    QString path;
    QByteArray bytes;
    if (!readImage(m_ctx.T(QStringLiteral("bvlEditSetting.mnfOpenSecond")), path, bytes))
        return;
    if (bytes.size() != Images.reference.size()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.ImageSizeDiffers_M")) + QLatin1Char(' ')
                                      + QDir::toNativeSeparators(path),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    Images.secondPath = path;
    Images.second = bytes;
    emit imagesChanged();
}

bvlByteMap *bvlEditSetting::ByteMap()
{
    if (!m_byteMap)
        m_byteMap = new bvlByteMap(m_ctx, this);
    return m_byteMap;
}

void bvlEditSetting::mnfByteMap_Click()
{
    if (!Images.hasReference()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlEditSetting.NoReferenceImage_M")), MsgIcon::Information,
                                  MsgButtons::Ok);
        return;
    }
    bvlByteMap *map = ByteMap();
    map->show();
    map->raise();
    map->activateWindow();
}

// ---- closing ----

bool bvlEditSetting::Form_KeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    close(); // the same road as the close box
    return true;
}

bool bvlEditSetting::Form_QueryUnload()
{
    delete m_groupBrowser;
    delete m_settingDialog;
    if (!mayDiscardFile())
        return false;
    if (m_byteMap)
        m_byteMap->close(); // it shows this window's settings
    return true;
}

void bvlEditSetting::reject()
{
    if (Form_QueryUnload())
        QDialog::reject();
}
