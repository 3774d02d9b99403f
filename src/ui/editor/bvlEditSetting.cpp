#include "ui/editor/bvlEditSetting.h"

#include "core/Conversions.h"
#include "seem/authoring/ReferenceImages.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/CheckFindingTexts.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/editor/ButtonPictures.h"
#include "ui/editor/CaselessListItem.h"
#include "ui/editor/KeyPreview.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/editor/bvlMergeSec.h"
#include "ui/language/ApplyLanguage.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QUndoStack>

namespace {

// The header captions reach up to their boxes, so that longer translations still fit.
constexpr int HeaderCaptionWidth = 2385;
// The setting list and the column of commands beside it, in twips.
constexpr int ListLeft = 120;
constexpr int ColumnLeft = 6480;
constexpr int ColumnWidth = 1335;
constexpr int ListGap = 105;

// Puts the commands back at their drawn width, so that a shorter language makes them narrow again.
void resetCommandColumn(const QList<QPushButton *> &column)
{
    for (QPushButton *button : column)
        button->setGeometry(TwipsToPixelsX(ColumnLeft), button->y(), TwipsToPixelsX(ColumnWidth), button->height());
}

// A command widened for its caption grows the whole column to the left, keeping its right
// edge in the frame; the list gives way.
void fitCommandColumn(QListWidget *list, const QList<QPushButton *> &column)
{
    const int right = TwipsToPixelsX(ColumnLeft + ColumnWidth);
    int width = 0;
    for (QPushButton *button : column)
        width = qMax(width, button->width());
    for (QPushButton *button : column)
        button->setGeometry(right - width, button->y(), width, button->height());
    list->resize(right - width - TwipsToPixelsX(ListGap) - list->x(), list->height());
}

QPushButton *command(QWidget *parent, const QString &name, const QString &text, const QIcon &picture,
                     const QRect &geometry)
{
    auto *button = NewCommandButton(parent, name, text);
    button->setGeometry(geometry);
    button->setIcon(picture);
    button->setIconSize(QSize(20, 20));
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

}   // namespace

bvlEditSetting::bvlEditSetting(AppContext &ctx, QWidget *owner, std::function<void(const QString &)> showFileDesc)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx),
      m_showFileDesc(std::move(showFileDesc)),
      m_images(new ReferenceImageSet(this))
{
    setObjectName(QStringLiteral("bvlEditSetting"));
    buildControls();
    connectHandlers();
    Form_Load();
}

bvlEditSetting::~bvlEditSetting()
{
    // The document outlives nothing that listens to it: the views go first.
    disconnect(&m_document, nullptr, this, nullptr);
    delete m_byteMap;
    delete m_compare;
    delete m_merge;
    delete m_settingDialog;
    delete m_groupBrowser;
}

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
    mnfCompare = menuItem(mnuFile, QStringLiteral("mnfCompare"), QStringLiteral("Confronta con setting file..."),
                          QKeySequence());
    mnfCompareDisk = menuItem(mnuFile, QStringLiteral("mnfCompareDisk"),
                              QStringLiteral("Confronta con il file su disco"), QKeySequence());
    mnfMerge =
        menuItem(mnuFile, QStringLiteral("mnfMerge"), QStringLiteral("Unisci da setting file..."), QKeySequence());
    mnuFile->addSeparator();
    mnfCheck =
        menuItem(mnuFile, QStringLiteral("mnfCheck"), QStringLiteral("Check setting file"), QKeySequence(Qt::Key_F7));
    mnuEdit = new QMenu(QStringLiteral("Edit"), menuBar);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    TagForCaption(mnuEdit);
    menuBar->addMenu(mnuEdit);
    mnfUndo = menuItem(mnuEdit, QStringLiteral("mnfUndo"), QStringLiteral("Undo"), QKeySequence::Undo);
    mnfRedo = menuItem(mnuEdit, QStringLiteral("mnfRedo"), QStringLiteral("Redo"), QKeySequence::Redo);
    mnuImage = new QMenu(QStringLiteral("Image"), menuBar);
    mnuImage->setObjectName(QStringLiteral("mnuImage"));
    TagForCaption(mnuImage);
    menuBar->addMenu(mnuImage);
    mnfOpenReference = menuItem(mnuImage, QStringLiteral("mnfOpenReference"), QStringLiteral("Open reference image..."),
                                QKeySequence());
    mnfOpenSecond =
        menuItem(mnuImage, QStringLiteral("mnfOpenSecond"), QStringLiteral("Open second image..."), QKeySequence());
    mnfByteMap = menuItem(mnuImage, QStringLiteral("mnfByteMap"), QStringLiteral("Byte map"),
                          QKeySequence(Qt::CTRL | Qt::Key_M));

    // F10 opens the menu bar at its first menu, as in every window with one.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName(QStringLiteral("menuKey"));
    connect(menuKey, &QShortcut::activated, this, [this] { menuBar->setActiveAction(mnuFile->menuAction()); });

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
                                   QStringLiteral("Il file \u00e8 adatto ai telefoni:"),
                                   TwipsRect(240, 720, HeaderCaptionWidth, 255));
    txPhones = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txPhones"), TwipsRect(2640, 690, 5055, 285));
    lbSuitableSEEM = CaptionLabel(frGeneralInfo, QStringLiteral("lbSuitableSEEM"),
                                  QStringLiteral("Il file \u00e8 adatto al SEEM nr.:"),
                                  TwipsRect(240, 1080, HeaderCaptionWidth, 255));
    txSEEMNr = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txSEEMNr"), TwipsRect(2640, 1050, 2055, 285));
    lbSuitableSEEMRec = CaptionLabel(frGeneralInfo, QStringLiteral("lbSuitableSEEMRec"), QStringLiteral("record"),
                                     TwipsRect(4800, 1080, 735, 255));
    lbSuitableSEEMRec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txSEEMRec = NamedAt(new QLineEdit(frGeneralInfo), QStringLiteral("txSEEMRec"), TwipsRect(5640, 1050, 2055, 285));
    // Alt and a caption's letter goes to the box it names; each caption names its box
    // for screen readers too.
    lbAuthor->setBuddy(txAuthor);
    lbSuitablePhone->setBuddy(txPhones);
    lbSuitableSEEM->setBuddy(txSEEMNr);
    lbSuitableSEEMRec->setBuddy(txSEEMRec);

    frSettings = NamedAt(new QGroupBox(QStringLiteral("Setting"), area), QStringLiteral("frSettings"),
                         TwipsRect(120, 1800, 7935, 4335));
    TagForCaption(frSettings);
    lsSettings = NamedAt(new QListWidget(frSettings), QStringLiteral("lsSettings"),
                         TwipsRect(ListLeft, 240, ColumnLeft - ListGap - ListLeft, 3660));
    lsSettings->setSortingEnabled(true);
    lsSettings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmAdd = command(frSettings, QStringLiteral("cmAdd"), QStringLiteral("Nuovo"), ButtonPictures::Add(),
                    TwipsRect(ColumnLeft, 240, ColumnWidth, 615));
    cmDelete = command(frSettings, QStringLiteral("cmDelete"), QStringLiteral("Elimina"), ButtonPictures::Delete(),
                       TwipsRect(ColumnLeft, 960, ColumnWidth, 615));
    cmEdit = command(frSettings, QStringLiteral("cmEdit"), QStringLiteral("Modifica"), ButtonPictures::Edit(),
                     TwipsRect(ColumnLeft, 1680, ColumnWidth, 615));
    cmCopy = command(frSettings, QStringLiteral("cmCopy"), QStringLiteral("Copia"), ButtonPictures::Copy(),
                     TwipsRect(ColumnLeft, 3240, ColumnWidth, 615));
    lbSettingGroup = NamedAt(new QLabel(frSettings), QStringLiteral("lbSettingGroup"), TwipsRect(120, 3960, 7695, 255));
    lbFileVer = NamedAt(new QLabel(area), QStringLiteral("lbFileVer"), TwipsRect(120, 6240, 3255, 255));
    lbCheck = NamedAt(new QLabel(area), QStringLiteral("lbCheck"), TwipsRect(3480, 6240, 4575, 255));
    lbCheck->setTextFormat(Qt::PlainText);
    lbCheck->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
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
    connect(mnfCheck, &QAction::triggered, this, &bvlEditSetting::mnfCheck_Click);
    connect(mnfCompare, &QAction::triggered, this, &bvlEditSetting::mnfCompare_Click);
    connect(mnfCompareDisk, &QAction::triggered, this, &bvlEditSetting::mnfCompareDisk_Click);
    connect(mnfMerge, &QAction::triggered, this, &bvlEditSetting::mnfMerge_Click);
    QUndoStack *undo = m_document.undoStack();
    connect(mnfUndo, &QAction::triggered, undo, &QUndoStack::undo);
    connect(mnfRedo, &QAction::triggered, undo, &QUndoStack::redo);
    connect(undo, &QUndoStack::canUndoChanged, mnfUndo, &QAction::setEnabled);
    connect(undo, &QUndoStack::canRedoChanged, mnfRedo, &QAction::setEnabled);
    mnfUndo->setEnabled(false);
    mnfRedo->setEnabled(false);
    connect(&m_document, &SettingFileDocument::cleanChanged, this, &bvlEditSetting::updateTitle);
    connect(&m_document, &SettingFileDocument::reset, this, &bvlEditSetting::Document_Reset);
    connect(&m_document, &SettingFileDocument::recordsChanged, this, &bvlEditSetting::Document_RecordsChanged);
    connect(&m_document, &SettingFileDocument::headerTextChanged, this, &bvlEditSetting::Document_HeaderTextChanged);
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
    for (int i = 0; i < SettingFileDocument::HeaderFieldCount; ++i) {
        const auto field = SettingFileDocument::HeaderField(i);
        connect(headerBox(field), &QLineEdit::textChanged, this, [this, field] { HeaderBox_Change(field); });
    }
    new KeyPreview(this, [this](int key) { return Form_KeyDown(key); });
}

int bvlEditSetting::ShowLoaded(const QString &openPath)
{
    // Each opening starts as a freshly loaded window, in the current language.
    lbSettingGroup->clear();
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
    m_document.clear();
    lbFileVer->setText(QStringLiteral("V") + VersionString());
    ApplyLanguage(m_ctx.lang, this);
    const QList<QPushButton *> column = {cmAdd, cmDelete, cmEdit, cmCopy};
    resetCommandColumn(column);
    FitControlsToText(this);
    fitCommandColumn(lsSettings, column);
    updateTitle();
}

// ---- the views of the document ----

void bvlEditSetting::Document_Reset()
{
    for (int i = 0; i < SettingFileDocument::HeaderFieldCount; ++i)
        Document_HeaderTextChanged(SettingFileDocument::HeaderField(i));
    UpdateSettingList();
    updateTitle();
    updateCheckLine();
}

void bvlEditSetting::Document_RecordsChanged(SettingFileDocument::RecordChange change, int first, int count, int focus)
{
    switch (change) {
    case SettingFileDocument::RecordChange::Appended:
        // New entries join the list as they are; the others keep their places.
        for (int k = first; k < first + count; ++k) {
            auto *entry = new CaselessListItem(m_document.record(k).Name);
            entry->setData(Qt::UserRole, k);
            lsSettings->addItem(entry);
        }
        break;
    case SettingFileDocument::RecordChange::Replaced:
        // Renamed in place: the entry keeps its position until the list is rebuilt.
        for (int row = 0; row < lsSettings->count(); ++row) {
            if (recordOf(row) == first) {
                lsSettings->setSortingEnabled(false);
                lsSettings->item(row)->setText(m_document.record(first).Name);
                lsSettings->setSortingEnabled(true);
                break;
            }
        }
        break;
    case SettingFileDocument::RecordChange::Rebuilt:
        UpdateSettingList();
        break;
    }
    if (focus > 0)
        selectRecord(focus);
    updateCheckLine();
}

void bvlEditSetting::selectRecord(int k)
{
    for (int row = 0; row < lsSettings->count(); ++row) {
        if (recordOf(row) == k) {
            lsSettings->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            lsSettings->scrollToItem(lsSettings->item(row));
            lsSettings_Click();
            return;
        }
    }
}

QLineEdit *bvlEditSetting::headerBox(SettingFileDocument::HeaderField field) const
{
    switch (field) {
    case SettingFileDocument::HeaderField::Author:
        return txAuthor;
    case SettingFileDocument::HeaderField::Phones:
        return txPhones;
    case SettingFileDocument::HeaderField::SeemNumber:
        return txSEEMNr;
    case SettingFileDocument::HeaderField::SeemRecord:
        break;
    }
    return txSEEMRec;
}

void bvlEditSetting::Document_HeaderTextChanged(SettingFileDocument::HeaderField field)
{
    // A box whose text is already right keeps its cursor (a redo while typing).
    QLineEdit *box = headerBox(field);
    const QString &text = m_document.headerText(field);
    if (box->text() == text)
        return;
    const bool filling = m_fillingHeader;
    m_fillingHeader = true;
    box->setText(text);
    m_fillingHeader = filling;
    updateCheckLine();
}

void bvlEditSetting::HeaderBox_Change(SettingFileDocument::HeaderField field)
{
    if (m_fillingHeader)
        return;
    m_document.setHeaderText(field, headerBox(field)->text(),
                             m_ctx.Title(QStringLiteral("bvlEditSetting.frGeneralInfo")));
    updateCheckLine();
}

void bvlEditSetting::updateTitle()
{
    QString title = m_ctx.Title(QStringLiteral("bvlMain.mnuSetting"));
    if (!m_document.path().isEmpty())
        title += QStringLiteral(" - ") + QFileInfo(m_document.path()).fileName();
    if (!m_document.isClean())
        title += QLatin1Char('*');
    setWindowTitle(title);
    // Only a file read or saved has a version on disk to compare with.
    mnfCompareDisk->setEnabled(!m_document.path().isEmpty());
}

void bvlEditSetting::updateCheckLine()
{
    const SettingFileVerdict verdict =
        LocalSettingFileVerdict(m_ctx, m_document.headerToCheck(), m_document.records(), m_document.codePage());
    if (verdict.clean()) {
        lbCheck->clear();
        return;
    }
    lbCheck->setText(CheckCountsLine(m_ctx, verdict.errors, verdict.warnings));
    ThemeColours::MarkText(lbCheck, verdict.errors > 0 ? ThemeColours::Error : ThemeColours::Warning);
}

void bvlEditSetting::mnfCheck_Click()
{
    const SettingFileVerdict verdict =
        LocalSettingFileVerdict(m_ctx, m_document.headerToCheck(), m_document.records(), m_document.codePage());
    QString report = CheckCountsLine(m_ctx, verdict.errors, verdict.warnings);
    if (verdict.clean())
        report = m_ctx.T(QStringLiteral("bvlEditSetting.sCheckClean_M"));
    else
        report += QStringLiteral("\n\n") + verdict.lines.join(QLatin1Char('\n'));
    m_ctx.platform.messageBox(report, verdict.errors > 0 ? MsgIcon::Warning : MsgIcon::Information, MsgButtons::Ok);
}

void bvlEditSetting::changeEvent(QEvent *event)
{
    // The code page is chosen in the main window; coming back here follows the choice.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        CodePageChanged();
    QDialog::changeEvent(event);
}

// ---- closing ----

bool bvlEditSetting::Form_KeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    close();   // the same road as the close box
    return true;
}

bool bvlEditSetting::Form_QueryUnload()
{
    delete m_groupBrowser;
    delete m_settingDialog;
    if (!mayDiscardFile())
        return false;
    if (m_byteMap)
        m_byteMap->close();   // it shows this window's settings
    if (m_compare)
        m_compare->close();
    if (m_merge)
        m_merge->close();
    return true;
}

void bvlEditSetting::reject()
{
    if (Form_QueryUnload())
        QDialog::reject();
}
