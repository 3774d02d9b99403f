#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/ThemeFollower.h"
#include "ui/about/bvlAbout.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/language/bvlLanguage.h"
#include "ui/main/ChangeMarkers.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/DocumentCommands.h"
#include "ui/main/FindCommands.h"
#include "ui/main/OpenRecent.h"
#include "ui/main/StatusLine.h"
#include "ui/main/StatusMessages.h"
#include "ui/main/ValueProfiles.h"

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
const QString PrefTrue = QStringLiteral("True");
const QString PrefFalse = QStringLiteral("False");
}   // namespace

bvlMain::bvlMain(AppContext &context, QWidget *parent)
    : QMainWindow(parent),
      Document(new SeemDocument(this)),
      m_view(std::make_unique<SettingsView>()),
      m_files(std::make_unique<DocumentFiles>(context, *Document)),
      m_steps(std::make_unique<ChangeSteps>(
          *Document, [this](const QVector<QPair<int, ControlState>> &states) { m_commands->SetStates(states); }, this)),
      m_marks(std::make_unique<ChangeMarkers>(*Document, *m_view)),
      m_find(std::make_unique<FindCommands>(
          context, *Document, *m_view, [this](int index, bool focusControl) { ShowSetting(index, focusControl); })),
      m_recent(std::make_unique<OpenRecent>(context, *this)),
      m_status(std::make_unique<StatusMessages>(context, *Document, *m_files)),
      m_profiles(std::make_unique<ValueProfiles>(context, *Document, *m_steps)),
      m_commands(std::make_unique<DocumentCommands>(
          context, *Document, *m_steps, [this](const QVector<int> &indexes) { SettleChanges(indexes); },
          [this](int index) { ShowSetting(index); })),
      lbStartHint(m_recent->lbStartHint),
      UndoStack(m_steps->UndoStack),
      txFind(m_find->txFind),
      tmFindHighlight(m_find->tmFindHighlight),
      tmSavedStatus(m_status->tmSavedStatus),
      tvUI(m_view->tvUI),
      lbFileDesc(m_status->lbFileDesc),
      replicator(m_view->replicator),
      lbUI(m_view->lbUI),
      chUI(m_view->chUI),
      cbUI(m_view->cbUI),
      txUI(m_view->txUI),
      Settings(m_view->Settings),
      PageKeys(m_view->PageKeys),
      CurrentGroup(m_view->CurrentGroup),
      FrameCount(m_view->FrameCount),
      LabelCount(m_view->LabelCount),
      ComboCount(m_view->ComboCount),
      TextCount(m_view->TextCount),
      CheckCount(m_view->CheckCount),
      SeemFileOpener(m_files->SeemFileOpener),
      m_ctx(context)
{
    setObjectName(QStringLiteral("bvlMain"));
    setWindowTitle(ApplicationTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    connect(Document, &SeemDocument::statesChanged, this,
            [this](const QVector<int> &indexes) { DocumentStatesChanged(indexes); });
    // A document taken over (or closed) names its own file in the title from the start.
    connect(Document, &SeemDocument::documentReset, this, [this] { UpdateChangesTitle(); });
    StartChanges();
    m_menus = new MainMenus(*this, *this);
    m_menus->Build();
    m_menus->BuildRecent();
    ConnectMenus();
    BuildControls();
    m_recent->Build(m_client, *m_menus);
    setAcceptDrops(true);
    // It opens at its smallest size; the room a larger window gives goes to the pages and
    // the description.
    resize(minimumSizeHint());
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
    m_view->disconnect(this);
}

void bvlMain::UnloadAllControls()
{
    ForgetChanges();
    m_view->Unload();
}

void bvlMain::ShowSetting(int index, bool focusControl)
{
    if (!m_view->SelectPageOf(index) || !focusControl)
        return;
    if (QWidget *control = ControlOf(index))
        control->setFocus(Qt::OtherFocusReason);
}

void bvlMain::BuildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setMinimumSize(ClientAreas::Smallest());
    m_client->resize(m_client->minimumSize());
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    m_view->BuildTemplates(m_client);
    tvUI->installEventFilter(this);
    tvUI->viewport()->installEventFilter(this);
    connect(m_view.get(), &SettingsView::controlMade, this, [this](QWidget *control) { WatchControl(control); });
    connect(m_view.get(), &SettingsView::listEntryChanged, this, [this](QComboBox *list) {
        // A restore's change of the list leaves the description pane for the user's own moves.
        if (!m_commands->Quiet())
            ShowDescriptionOf(list);
    });
    connect(m_view.get(), &SettingsView::controlBuilt, this, [this](int index) { ShowBuiltControl(index); });

    frDescription = new QGroupBox(QStringLiteral("Descrizione"), m_client);
    frDescription->setObjectName(QStringLiteral("frDescription"));
    TagForCaption(frDescription);
    frDescription->setGeometry(ClientAreas::Description(m_client->size()));
    frDescription->hide();

    txDescription = new QPlainTextEdit(frDescription);
    txDescription->setObjectName(QStringLiteral("txDescription"));
    txDescription->setGeometry(ClientAreas::DescriptionText(m_client->size()));
    txDescription->setReadOnly(true);
    txDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txDescription->viewport()->setMouseTracking(true);
    txDescription->viewport()->installEventFilter(this);

    m_status->Build(m_client);

    m_find->Place(m_client, lbFileDesc);
    connect(m_find.get(), &FindCommands::highlightEnded, this, [this](int index) { UpdateValidityMark(index); });
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
    const QString languagePath =
        m_ctx.platform.readPreference(QStringLiteral("Lang"), QStringLiteral("Language"), QString());
    bool languageLoaded = false;
    if (!languagePath.isEmpty()) {
        languageLoaded = m_ctx.lang.LoadLanguageFile(languagePath);
        if (!languageLoaded)
            m_ctx.platform.messageBox(QStringLiteral("Language file \"") + languagePath
                                          + QStringLiteral("\" not found!"),
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
    switch (m_files->AskToSave()) {
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
    Document->file().close();
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
    OpenInSettingEditor(QString());
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
