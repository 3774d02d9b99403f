#include "ui/main/bvlMain.h"

#include "ui/language/ApplyLanguage.h"
#include "ui/language/bvlLanguage.h"
#include "ui/about/bvlAbout.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/ThemeFollower.h"
#include "ui/Twips.h"
#include "ui/main/ChangeTracking.h"
#include "ui/main/StatusLine.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

namespace {
// Client area below the menu bar, in twips.
constexpr int ClientWidth = 13455;
constexpr int ClientHeight = 9015;
// Size of the setting control templates, in twips.
constexpr int TemplateWidth = 4575;
constexpr int LineHeight = 315;
constexpr int CheckHeight = 630;

// How long the status line reports a save before it names the setting file again.
constexpr int SavedStatusMilliseconds = 5000;

const QString PrefTrue = QStringLiteral("True");
const QString PrefFalse = QStringLiteral("False");
}

bvlMain::bvlMain(AppContext &context, QWidget *parent) : QMainWindow(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("bvlMain"));
    setWindowTitle(ApplicationTitle);
    // Fixed single border: minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    Document = new SeemDocument(this);
    SEEMFile = &Document->file();
    connect(Document, &SeemDocument::statesChanged, this, [this](const QVector<int> &indexes) {
        DocumentStatesChanged(indexes);
    });
    BuildMenus();
    BuildControls();
    BuildRecentFiles();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    tmSavedStatus = new QTimer(this);
    tmSavedStatus->setSingleShot(true);
    tmSavedStatus->setInterval(SavedStatusMilliseconds);
    connect(tmSavedStatus, &QTimer::timeout, this, [this] { ShowFileDesc(UsingFileStatus()); });
    connect(&ThemeFollower::Instance(), &ThemeFollower::themeChanged, this, [this](QWidget *window) {
        if (window == this)
            ShowThemeColours();
    });
}

bvlMain::~bvlMain()
{
    // A shown window is hidden while it is destroyed, and a text box that loses the focus
    // then reports its edit as finished: nothing of this window may answer by then.
    for (QObject *control : m_client->findChildren<QObject *>())
        control->disconnect(this);
    Document->disconnect(this);
}

QAction *bvlMain::AddMenuItem(QMenu *menu, const char *name, const QString &caption)
{
    auto *item = new QAction(caption, this);
    item->setObjectName(QString::fromLatin1(name));
    TagForCaption(item);
    menu->addAction(item);
    return item;
}

void bvlMain::BuildMenus()
{
    mnuFile = new QMenu(QStringLiteral("&File"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    TagForCaption(mnuFile);
    menuBar()->addMenu(mnuFile);

    mnfOpenSEEM = AddMenuItem(mnuFile, "mnfOpenSEEM", QStringLiteral("&Apri SEEM..."));
    mnfOpenSEEM->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnfChangeSettingFile = AddMenuItem(mnuFile, "mnfChangeSettingFile", QStringLiteral("&Cambia setting file..."));
    mnfChangeSettingFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    mnfChangeSettingFile->setEnabled(false);
    mnfSaveSEEM = AddMenuItem(mnuFile, "mnfSaveSEEM", QStringLiteral("&Salva SEEM..."));
    mnfSaveSEEM->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnfSaveSEEM->setEnabled(false);
    mnfRestore = AddMenuItem(mnuFile, "mnfRestore", QStringLiteral("&Ripristina valori originali"));
    mnfRestore->setEnabled(false);
    mnf1 = mnuFile->addSeparator();
    mnf1->setObjectName(QStringLiteral("mnf1"));
    BuildSharingItems();
    mnfAutoSettingSelection =
        AddMenuItem(mnuFile, "mnfAutoSettingSelection", QStringLiteral("Scelta a&utomatica setting file"));
    mnfAutoSettingSelection->setCheckable(true);
    mnf2 = mnuFile->addSeparator();
    mnf2->setObjectName(QStringLiteral("mnf2"));
    mnfQuit = AddMenuItem(mnuFile, "mnfQuit", QStringLiteral("&Esci"));

    BuildChangesMenu();   // between File and Setting editor

    // Setting editor and Info are menus holding their one command, so that the arrows
    // reach them and Down opens them like every other menu (MenuKeys.cpp).
    mnuSetting = CommandMenu("mnuSetting", QStringLiteral("&Setting editor"), true, mnfSettingItem,
                             [this] { mnuSetting_Click(); });
    BuildLanguageMenu();
    // "Info" in every language.
    mnuInfo = CommandMenu("mnuInfo", QStringLiteral("&Info"), false, mnfInfoItem, [this] { mnuInfo_Click(); });
    menuBar()->addAction(mnuSetting);
    menuBar()->addMenu(mnuLanguage->menu());
    menuBar()->addAction(mnuInfo);

    mnuOrig = new QMenu(QStringLiteral("orig"), this);
    mnuOrig->setObjectName(QStringLiteral("mnuOrig"));
    mnfRestoreItem = AddMenuItem(mnuOrig, "mnfRestoreItem", QStringLiteral("&Ripristina originale"));

    BuildSettingFileFindingsItem();
    WatchMenuKeys();

    connect(mnfOpenSEEM, &QAction::triggered, this, [this] { mnfOpenSEEM_Click(); });
    connect(mnfChangeSettingFile, &QAction::triggered, this, [this] { mnfChangeSettingFile_Click(); });
    connect(mnfSaveSEEM, &QAction::triggered, this, [this] { mnfSaveSEEM_Click(); });
    connect(mnfRestore, &QAction::triggered, this, [this] { mnfRestore_Click(); });
    connect(mnfAutoSettingSelection, &QAction::triggered, this, [this] { mnfAutoSettingSelection_Click(); });
    connect(mnfQuit, &QAction::triggered, this, [this] { mnfQuit_Click(); });
    connect(mnfRestoreItem, &QAction::triggered, this, [this] { mnfRestoreItem_Click(); });
}

void bvlMain::BuildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(TwipsToPixelsX(ClientWidth), TwipsToPixelsY(ClientHeight));
    setCentralWidget(m_client);

    tvUI = new QTreeWidget(m_client);
    tvUI->setObjectName(QStringLiteral("tvUI"));
    tvUI->setGeometry(TwipsRect(120, 120, 3615, 7095));
    tvUI->setHeaderHidden(true);
    tvUI->setColumnCount(1);
    tvUI->setSelectionMode(QAbstractItemView::SingleSelection);
    // A right click opens the restore popup and must not select the node under the mouse.
    tvUI->setContextMenuPolicy(Qt::PreventContextMenu);
    tvUI->installEventFilter(this);
    tvUI->viewport()->installEventFilter(this);
    tvUI->hide();
    // Selecting a node, by mouse or keys, shows its page; clicking the selected node again
    // shows it as well.
    connect(tvUI, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (QTreeWidgetItem *node = SelectedNode())
            tvUI_NodeClick(node);
        else if (m_shownNode)
            // Nothing selected (Ctrl+click) while a page shows: its node stays selected, so
            // that what the tree's commands act on is what the user sees.
            m_shownNode->setSelected(true);
    });
    connect(tvUI, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { tvUI_NodeClick(node); });

    auto *page = new QGroupBox(QStringLiteral("replicator"), m_client);
    page->setObjectName(ArrayElementName(QStringLiteral("replicator"), 0));
    page->setGeometry(TwipsRect(3840, 0, 9495, 7215));
    page->hide();
    replicator = {page};

    auto *label = new QLabel(m_client);
    label->setObjectName(ArrayElementName(QStringLiteral("lbUI"), 0));
    label->resize(TwipsToPixelsX(TemplateWidth), TwipsToPixelsY(LineHeight));
    label->hide();
    lbUI = {label};

    auto *check = new QCheckBox(m_client);
    check->setObjectName(ArrayElementName(QStringLiteral("chUI"), 0));
    check->resize(TwipsToPixelsX(TemplateWidth), TwipsToPixelsY(CheckHeight));
    check->hide();
    chUI = {check};

    auto *list = new QComboBox(m_client);
    list->setObjectName(ArrayElementName(QStringLiteral("cbUI"), 0));
    list->setEditable(false);
    list->resize(TwipsToPixelsX(TemplateWidth), TwipsToPixelsY(LineHeight));
    list->hide();
    cbUI = {list};

    auto *text = new QLineEdit(m_client);
    text->setObjectName(ArrayElementName(QStringLiteral("txUI"), 0));
    text->resize(TwipsToPixelsX(TemplateWidth), TwipsToPixelsY(LineHeight));
    text->hide();
    txUI = {text};

    frDescription = new QGroupBox(QStringLiteral("Descrizione"), m_client);
    frDescription->setObjectName(QStringLiteral("frDescription"));
    TagForCaption(frDescription);
    frDescription->setGeometry(TwipsRect(120, 7320, 13215, 1335));
    frDescription->hide();

    txDescription = new QPlainTextEdit(frDescription);
    txDescription->setObjectName(QStringLiteral("txDescription"));
    txDescription->setGeometry(TwipsRect(120, 240, 12975, 975));
    txDescription->setReadOnly(true);
    txDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txDescription->viewport()->setMouseTracking(true);
    txDescription->viewport()->installEventFilter(this);

    lbFileDesc = new StatusLine(m_client);
    lbFileDesc->setObjectName(QStringLiteral("lbFileDesc"));
    lbFileDesc->setGeometry(TwipsRect(120, 8760, 13215, 255));
}

void bvlMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        PlaceOnScreen(available, FrameMargins());
        // Once the window manager has drawn the frame, its true size is known.
        QTimer::singleShot(300, this, [this, available] {
            if (!available.contains(frameGeometry()))
                PlaceOnScreen(available, FrameMargins());
        });
    }
}

bool bvlMain::Form_Load()
{
    m_ctx.LanguageAutoLoaded = false;
    // A language file without a byte order mark is read in the chosen code page.
    ApplyCodePagePreference();
    const QString languagePath = m_ctx.platform.readPreference(QStringLiteral("Lang"), QStringLiteral("Language"), QString());
    bool languageLoaded = false;
    if (!languagePath.isEmpty()) {
        languageLoaded = m_ctx.lang.LoadLanguageFile(languagePath);
        if (!languageLoaded)
            m_ctx.platform.messageBox(QStringLiteral("Language file \"") + languagePath + QStringLiteral("\" not found!"),
                                      MsgIcon::Critical, MsgButtons::Ok);
    }
    if (!languageLoaded && !ChooseLanguage(true))
        return false;

    UnloadAllControls();
    // The program only writes "True" or "False"; anything else counts as the default, on.
    const QString autoChoice =
        m_ctx.platform.readPreference(QStringLiteral("UI"), QStringLiteral("AutoSettingSelection"), PrefTrue);
    mnfAutoSettingSelection->setChecked(autoChoice != PrefFalse);
    ShowLanguage();
    return true;
}

void bvlMain::Form_QueryUnload(bool &cancel)
{
    cancel = false;
    if (IsSaved())
        return;
    switch (AskToSave()) {
    case MsgResult::Cancel:
        cancel = true;
        break;
    case MsgResult::Yes:
        // A cancelled or failed save keeps the window, so the edits are not lost.
        cancel = !mnfSaveSEEM_Click();
        break;
    default:
        break;
    }
}

void bvlMain::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    SEEMFile->close();
    event->accept();
}

void bvlMain::mnfQuit_Click()
{
    close();
}

void bvlMain::mnfAutoSettingSelection_Click()
{
    m_ctx.platform.writePreference(QStringLiteral("UI"), QStringLiteral("AutoSettingSelection"),
                                   mnfAutoSettingSelection->isChecked() ? PrefTrue : PrefFalse);
}

void bvlMain::mnuLanguage_Click()
{
    if (ChooseLanguage(false))
        ShowLanguage();
}

void bvlMain::mnuSetting_Click()
{
    // The setting dialog borrows the status line for its hints; once the editor has closed,
    // the line names the open document's setting file again.
    // A report of the last save is over by then.
    if (tmSavedStatus->isActive()) {
        tmSavedStatus->stop();
        ShowFileDesc(UsingFileStatus());
    }
    const QString status = lbFileDesc->text();
    // One editor for the program's life: CopyCount goes on counting across openings, and
    // the window comes back where it was.
    if (!m_settingEditor)
        m_settingEditor = new bvlEditSetting(m_ctx, this, [this](const QString &text) { ShowFileDesc(text); });
    m_settingEditor->ShowLoaded();
    ShowFileDesc(status);
}

void bvlMain::ShowFileDesc(const QString &text)
{
    lbFileDesc->setLine(text, StatusLineShown(text));
}

void bvlMain::mnuInfo_Click()
{
    bvlAbout about(m_ctx, this);
    about.exec();
}

bool bvlMain::ChooseLanguage(bool autoLoadOneLanguage)
{
    bvlLanguage dialog(m_ctx, this);
    if (!dialog.FillUp(autoLoadOneLanguage))
        return false;
    if (!autoLoadOneLanguage || !m_ctx.LanguageAutoLoaded)
        dialog.exec();
    return true;
}
