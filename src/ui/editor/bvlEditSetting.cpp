#include "ui/editor/bvlEditSetting.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileCheck.h"
#include "seem/files/ImageBytes.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/CheckFindingTexts.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/InputDataError.h"
#include "ui/SettingFileReports.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/editor/ButtonPictures.h"
#include "ui/editor/CaselessListItem.h"
#include "ui/editor/EditableSetting.h"
#include "ui/editor/KeyPreview.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/language/ApplyLanguage.h"

#include <QAction>
#include <QDir>
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
#include <QUndoCommand>
#include <QUndoStack>

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

// One change of the editor's file: the records and header before and after it.
class EditorStep : public QUndoCommand
{
public:
    EditorStep(bvlEditSetting *editor, bvlEditSetting::Contents before, bvlEditSetting::Contents after,
               const QString &text, int selectRecord, int mergeKey)
        : QUndoCommand(text),
          m_editor(editor),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_select(selectRecord),
          m_mergeKey(mergeKey)
    {}
    int id() const override { return m_mergeKey > 0 ? m_mergeKey : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        // Typing on in the same header box grows the step; typed back to where it
        // started, the step is gone and the file may be clean again.
        const auto *next = static_cast<const EditorStep *>(other);
        m_after = next->m_after;
        setObsolete(m_after.header == m_before.header);
        return true;
    }
    void undo() override { m_editor->setContents(m_before, m_select); }
    void redo() override { m_editor->setContents(m_after, m_select); }

private:
    bvlEditSetting *m_editor;
    bvlEditSetting::Contents m_before;
    bvlEditSetting::Contents m_after;
    int m_select;
    int m_mergeKey;
};

bvlEditSetting::bvlEditSetting(AppContext &ctx, QWidget *owner, std::function<void(const QString &)> showFileDesc)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx),
      m_showFileDesc(std::move(showFileDesc)),
      m_undo(new QUndoStack(this)),
      m_codePage(CodePage::Current())
{
    setObjectName(QStringLiteral("bvlEditSetting"));
    buildControls();
    connectHandlers();
    Form_Load();
}

bvlEditSetting::~bvlEditSetting()
{
    // The stack goes with the window's children, when this part of the window is gone.
    disconnect(m_undo, nullptr, this, nullptr);
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
    // Alt and a caption's letter goes to the box it names.
    lbAuthor->setBuddy(txAuthor);
    lbSuitablePhone->setBuddy(txPhones);
    lbSuitableSEEM->setBuddy(txSEEMNr);
    lbSuitableSEEMRec->setBuddy(txSEEMRec);

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
    lbFileVer = NamedAt(new QLabel(area), QStringLiteral("lbFileVer"), TwipsRect(120, 6240, 3255, 255));
    lbCheck = NamedAt(new QLabel(area), QStringLiteral("lbCheck"), TwipsRect(3480, 6240, 4575, 255));
    lbCheck->setTextFormat(Qt::PlainText);
    lbCheck->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Both show texts from the file, which must never be taken for markup.
    lbSettingGroup->setTextFormat(Qt::PlainText);
    lbFileVer->setTextFormat(Qt::PlainText);

    // Each caption names its box (for screen readers too).
    lbAuthor->setBuddy(txAuthor);
    lbSuitablePhone->setBuddy(txPhones);
    lbSuitableSEEM->setBuddy(txSEEMNr);
    lbSuitableSEEMRec->setBuddy(txSEEMRec);

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
    connect(mnfUndo, &QAction::triggered, m_undo, &QUndoStack::undo);
    connect(mnfRedo, &QAction::triggered, m_undo, &QUndoStack::redo);
    connect(m_undo, &QUndoStack::canUndoChanged, mnfUndo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, mnfRedo, &QAction::setEnabled);
    mnfUndo->setEnabled(false);
    mnfRedo->setEnabled(false);
    connect(m_undo, &QUndoStack::cleanChanged, this, &bvlEditSetting::updateTitle);
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
        connect(box, &QLineEdit::textChanged, this, [this, box] { HeaderBox_Change(box); });
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
    startClean();
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
    lbFileVer->setText(QStringLiteral("V") + VersionString());
    ApplyLanguage(m_ctx.lang, this);
    FitControlsToText(this);
    updateTitle();
    updateCheckLine();
}

// ---- undo, title, check line ----

bool bvlEditSetting::FileSaved() const
{
    return m_undo->isClean();
}

bvlEditSetting::Contents bvlEditSetting::contents() const
{
    return Contents{Settings, {txAuthor->text(), txPhones->text(), txSEEMNr->text(), txSEEMRec->text()}};
}

void bvlEditSetting::setContents(const Contents &state, int selectRecord)
{
    const bool sameRecords = Settings.size() == state.settings.size()
                             && std::equal(Settings.cbegin(), Settings.cend(), state.settings.cbegin());
    m_restoring = true;
    setHeaderBoxes(state.header.value(0), state.header.value(1), state.header.value(2), state.header.value(3));
    m_restoring = false;
    if (sameRecords)
        return;
    Settings = state.settings;
    UpdateSettingList();
    for (int row = 0; row < lsSettings->count(); ++row) {
        if (recordOf(row) == selectRecord) {
            lsSettings->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            lsSettings->scrollToItem(lsSettings->item(row));
            break;
        }
    }
    lsSettings_Click();
    updateCheckLine();
}

void bvlEditSetting::recordStep(const Contents &before, const QString &text, int selectRecord, int mergeKey)
{
    m_undo->push(new EditorStep(this, before, contents(), text, selectRecord, mergeKey));
    updateCheckLine();
}

void bvlEditSetting::startClean()
{
    m_undo->clear();
    m_undo->setClean();
    m_codePage = CodePage::Current();
    updateTitle();
    updateCheckLine();
}

void bvlEditSetting::updateTitle()
{
    QString title = m_ctx.Title(QStringLiteral("bvlMain.mnuSetting"));
    if (!m_filePath.isEmpty())
        title += QStringLiteral(" - ") + QFileInfo(m_filePath).fileName();
    if (!m_undo->isClean())
        title += QLatin1Char('*');
    setWindowTitle(title);
}

void bvlEditSetting::updateCheckLine()
{
    const SettingFileVerdict verdict = LocalSettingFileVerdict(m_ctx, headerToWrite(), Settings);
    const int errors = verdict.errors;
    if (verdict.clean()) {
        lbCheck->clear();
        return;
    }
    lbCheck->setText(CheckCountsLine(m_ctx, errors, verdict.warnings));
    ThemeColours::MarkText(lbCheck, errors > 0 ? ThemeColours::Error : ThemeColours::Warning);
}

void bvlEditSetting::mnfCheck_Click()
{
    const SettingFileVerdict verdict = LocalSettingFileVerdict(m_ctx, headerToWrite(), Settings);
    QString report = CheckCountsLine(m_ctx, verdict.errors, verdict.warnings);
    if (verdict.clean())
        report = m_ctx.T(QStringLiteral("bvlEditSetting.sCheckClean_M"));
    else
        report += QStringLiteral("\n\n") + verdict.lines.join(QLatin1Char('\n'));
    m_ctx.platform.messageBox(report, verdict.errors > 0 ? MsgIcon::Warning : MsgIcon::Information, MsgButtons::Ok);
}

void bvlEditSetting::CodePageChanged()
{
    const int now = CodePage::Current();
    if (now == m_codePage)
        return;
    const int was = m_codePage;
    m_codePage = now;
    if (!m_filePath.isEmpty() && FileSaved()) {
        LoadSettingFile(m_filePath);
        return;
    }
    // Not saved: each text keeps the bytes it would have been saved as.
    const auto reread = [&](QString &text) {
        try {
            text = CodePage::decode(now, CodePage::encode(was, text));
        } catch (const BvlError &) {
            // a character the old code page had no byte for: it stays as typed
        }
    };
    for (SettingStruct &s : Settings)
        for (QString *text : {&s.Name, &s.Description, &s.Group, &s.ValueNames})
            reread(*text);
    QStringList header = {txAuthor->text(), txPhones->text()};
    for (QString &text : header)
        reread(text);
    // The steps before hold texts read in the other code page: they cannot come back.
    const Contents before = contents();
    m_undo->clear();
    m_restoring = true;
    setHeaderBoxes(header[0], header[1], txSEEMNr->text(), txSEEMRec->text());
    m_restoring = false;
    UpdateSettingList();
    recordStep(before, CodePage::DisplayName(now), 0);
}

SettingFileHeader bvlEditSetting::headerToWrite() const
{
    SettingFileHeader header = FileHeader;
    header.FileVersion = SettingFileVersion;
    header.ProgramVersion = VersionString();
    header.Magic = SettingFileMagic;
    header.SettingCount = qint32(Settings.size());
    header.Author = txAuthor->text();
    header.Phones = txPhones->text();
    try {
        header.SEEMNr = HexToInt16(txSEEMNr->text());
        header.SEEMRec = HexToInt16(txSEEMRec->text());
    } catch (const BvlError &) {
        // checked when the file is saved
    }
    return header;
}

void bvlEditSetting::changeEvent(QEvent *event)
{
    // The code page is chosen in the main window; coming back here follows the choice.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        CodePageChanged();
    QDialog::changeEvent(event);
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
    lbSettingGroup->setText(m_ctx.Title(QStringLiteral("bvlEditSettingDo.lbSettingGroup")) + QStringLiteral(" \"")
                            + Settings[recordOf(row) - 1].Group + QLatin1Char('"'));
}

void bvlEditSetting::lsSettings_DblClick()
{
    cmEdit_Click();
}

void bvlEditSetting::cmAdd_Click()
{
    m_ctx.CurrentSetting = SettingStruct();   // a new record owes nothing to the last one
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
    const Contents before = contents();
    NewSetting();
    const int n = int(Settings.size());
    Settings[n - 1] = record;
    auto *entry = new CaselessListItem(Settings[n - 1].Name);
    entry->setData(Qt::UserRole, n);
    lsSettings->addItem(entry);
    lsSettings->setCurrentItem(entry, QItemSelectionModel::ClearAndSelect);
    lsSettings_Click();
    emit settingsChanged();
    recordStep(before, m_ctx.Title(QStringLiteral("bvlEditSetting.cmAdd")) + QLatin1Char(' ') + record.Name, n);
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
    // All the drafts taken at once are one step.
    m_undo->beginMacro(m_ctx.Title(QStringLiteral("bvlEditSetting.cmAdd")));
    for (const SettingStruct &record : records)
        appendRecord(record);
    m_undo->endMacro();
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
    if (m_ctx.CurrentSettingOK && m_ctx.CurrentSetting != Settings[k - 1]) {
        const Contents before = contents();
        Settings[k - 1] = m_ctx.CurrentSetting;
        // Renamed in place: the entry keeps its position until the list is rebuilt.
        lsSettings->setSortingEnabled(false);
        lsSettings->item(row)->setText(Settings[k - 1].Name);
        lsSettings->setSortingEnabled(true);
        emit settingsChanged();
        recordStep(before,
                   m_ctx.Title(QStringLiteral("bvlEditSetting.cmEdit")) + QLatin1Char(' ') + Settings[k - 1].Name, k);
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
    const Contents before = contents();
    CopySel();
    recordStep(before, m_ctx.Title(QStringLiteral("bvlEditSetting.cmCopy")), 0);
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
    const Contents before = contents();
    DeleteSel();
    recordStep(before, m_ctx.Title(QStringLiteral("bvlEditSetting.cmDelete")), 0);
}

// ---- header boxes ----

void bvlEditSetting::HeaderBox_Change(QLineEdit *box)
{
    const QList<QLineEdit *> boxes = {txAuthor, txPhones, txSEEMNr, txSEEMRec};
    const int which = int(boxes.indexOf(box));
    if (m_fillingHeader || m_restoring || which < 0) {
        if (which >= 0)
            m_shownHeader[which] = box->text();
        return;
    }
    Contents before = contents();
    before.header = m_shownHeader;
    m_shownHeader[which] = box->text();
    recordStep(before, m_ctx.Title(QStringLiteral("bvlEditSetting.frGeneralInfo")), 0, which + 1);
}

void bvlEditSetting::setHeaderBoxes(const QString &author, const QString &phones, const QString &seemNr,
                                    const QString &seemRec)
{
    // A box whose text is already right keeps its cursor (a redo while typing).
    const bool filling = m_fillingHeader;
    m_fillingHeader = true;
    const QList<QLineEdit *> boxes = {txAuthor, txPhones, txSEEMNr, txSEEMRec};
    const QStringList texts = {author, phones, seemNr, seemRec};
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->text() != texts[i])
            boxes[i]->setText(texts[i]);
    }
    m_shownHeader = texts;
    m_fillingHeader = filling;
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
    Settings.clear();
    setHeaderBoxes(QString(), QString(), QString(), QString());
    lbFileVer->clear();
    m_filePath.clear();
    FileHeader = SettingFileHeader();
    UpdateSettingList();
    startClean();
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
    m_filePath = path;
    setHeaderBoxes(header.Author, header.Phones, HexText16(header.SEEMNr), HexText16(header.SEEMRec));
    lbFileVer->setText(QStringLiteral("File V") + QString::number(header.FileVersion) + QStringLiteral(" (")
                       + header.ProgramVersion + QLatin1Char(')'));
    UpdateSettingList();
    startClean();
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
    // The open file's name is proposed, as Save SEEM... does.
    const QString folder = SettingSaveFolder(m_filePath, m_ctx.platform.userFolder());
    QDir().mkpath(folder);
    const QString proposed = m_filePath.isEmpty() ? folder : folder + QFileInfo(m_filePath).fileName();
    const std::optional<QString> path = m_ctx.platform.saveFileName(
        m_ctx.Title(QStringLiteral("bvlEditSetting.mnfSaveSetting")), SettingFileFilter, proposed);
    if (!path)
        return false;
    const QString target = WithSettingFileSuffix(*path);
    try {
        SettingFileHeader header = headerToWrite();
        header.SEEMNr = HexToInt16(txSEEMNr->text());
        header.SEEMRec = HexToInt16(txSEEMRec->text());
        // Written in one piece: a failed write keeps the previous file and counts as unsaved.
        WriteSettingFile(target, header, Settings);
        m_filePath = target;
        FileHeader = header;
        lbFileVer->setText(QStringLiteral("File V") + QString::number(header.FileVersion) + QStringLiteral(" (")
                           + header.ProgramVersion + QLatin1Char(')'));
        m_undo->setClean();
        m_codePage = CodePage::Current();
        updateTitle();
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
    if (!readImage(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenReference")), path, bytes))
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
    if (!readImage(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfOpenSecond")), path, bytes))
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
    return true;
}

void bvlEditSetting::reject()
{
    if (Form_QueryUnload())
        QDialog::reject();
}
