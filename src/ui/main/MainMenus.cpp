// The main window's menus. Captions are the fallback texts; the language files give the
// shown ones (every item tagged for its caption is localised by name).
#include "ui/main/MainMenus.h"

#include "core/CodePage.h"
#include "seem/document/RecentFiles.h"
#include "ui/ControlNames.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {
// A folder longer than this many pixels is shortened in the middle in Open recent.
constexpr int RecentFolderWidth = 360;
}   // namespace

MainMenus::MainMenus(QMainWindow &window, MainMenuItems &items) : QObject(&window), m_window(window), m_items(items) {}

QAction *MainMenus::AddMenuItem(QMenu *menu, const char *name, const QString &caption)
{
    auto *item = new QAction(caption, &m_window);
    item->setObjectName(QString::fromLatin1(name));
    TagForCaption(item);
    menu->addAction(item);
    return item;
}

QMenu *MainMenus::AddBarMenu(const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, &m_window);
    menu->setObjectName(QString::fromLatin1(name));
    TagForCaption(menu);
    m_window.menuBar()->addMenu(menu);
    return menu;
}

void MainMenus::Build()
{
    MainMenuItems &m = m_items;
    BuildFile();
    BuildChanges();   // between File and Setting editor

    // Setting editor and Info are menus holding their one command, so that the arrows
    // reach them and Down opens them like every other menu.
    m.mnuSetting = CommandMenu("mnuSetting", QStringLiteral("&Setting editor"), true, m.mnfSettingItem);
    BuildLanguage();
    // "Info" in every language.
    m.mnuInfo = CommandMenu("mnuInfo", QStringLiteral("&Info"), false, m.mnfInfoItem);
    m_window.menuBar()->addAction(m.mnuSetting);
    m_window.menuBar()->addMenu(m.mnuLanguage->menu());
    m_window.menuBar()->addAction(m.mnuInfo);

    m.mnuOrig = new QMenu(QStringLiteral("orig"), &m_window);
    m.mnuOrig->setObjectName(QStringLiteral("mnuOrig"));
    m.mnfRestoreItem = AddMenuItem(m.mnuOrig, "mnfRestoreItem", QStringLiteral("&Ripristina originale"));

    // A setting file with errors is opened all the same; this item lists them.
    m.mnfSettingFileErrors = new QAction(QStringLiteral("Setting file errors..."), &m_window);
    m.mnfSettingFileErrors->setObjectName(QStringLiteral("mnfSettingFileErrors"));
    TagForCaption(m.mnfSettingFileErrors);
    m.mnfSettingFileErrors->setEnabled(false);
    m.mnuFile->insertAction(m.mnfSaveSEEM, m.mnfSettingFileErrors);

    WatchMenuKeys();
}

void MainMenus::BuildFile()
{
    MainMenuItems &m = m_items;
    m.mnuFile = AddBarMenu("mnuFile", QStringLiteral("&File"));

    m.mnfOpenSEEM = AddMenuItem(m.mnuFile, "mnfOpenSEEM", QStringLiteral("&Apri SEEM..."));
    m.mnfOpenSEEM->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mnfChangeSettingFile = AddMenuItem(m.mnuFile, "mnfChangeSettingFile", QStringLiteral("&Cambia setting file..."));
    m.mnfChangeSettingFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m.mnfChangeSettingFile->setEnabled(false);
    m.mnfSaveSEEM = AddMenuItem(m.mnuFile, "mnfSaveSEEM", QStringLiteral("&Salva SEEM..."));
    m.mnfSaveSEEM->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mnfSaveSEEM->setEnabled(false);
    m.mnfRestore = AddMenuItem(m.mnuFile, "mnfRestore", QStringLiteral("&Ripristina valori originali"));
    m.mnfRestore->setEnabled(false);
    m.mnf1 = m.mnuFile->addSeparator();
    m.mnf1->setObjectName(QStringLiteral("mnf1"));
    BuildSharingItems();
    m.mnfAutoSettingSelection =
        AddMenuItem(m.mnuFile, "mnfAutoSettingSelection", QStringLiteral("Scelta a&utomatica setting file"));
    m.mnfAutoSettingSelection->setCheckable(true);
    m.mnf2 = m.mnuFile->addSeparator();
    m.mnf2->setObjectName(QStringLiteral("mnf2"));
    m.mnfQuit = AddMenuItem(m.mnuFile, "mnfQuit", QStringLiteral("&Esci"));
}

void MainMenus::BuildSharingItems()
{
    MainMenuItems &m = m_items;
    const auto item = [this, &m](const char *name, const QString &caption) {
        auto *action = new QAction(caption, &m_window);
        action->setObjectName(QString::fromLatin1(name));
        TagForCaption(action);
        m.mnuFile->insertAction(m.mnf1, action);
        return action;
    };
    m.mnuFile->insertSeparator(m.mnf1);
    m.mnfExportValues = item("mnfExportValues", QStringLiteral("Esporta valori..."));
    m.mnfApplyValues = item("mnfApplyValues", QStringLiteral("Applica valori..."));
    m.mnfSettingFiles = item("mnfSettingFiles", QStringLiteral("Setting file..."));
    // Values need a document, as saving does.
    for (QAction *valueItem : {m.mnfExportValues, m.mnfApplyValues}) {
        valueItem->setEnabled(m.mnfSaveSEEM->isEnabled());
        connect(m.mnfSaveSEEM, &QAction::enabledChanged, valueItem, &QAction::setEnabled);
    }
}

void MainMenus::BuildChanges()
{
    MainMenuItems &m = m_items;
    m.mnuChanges = AddBarMenu("mnuChanges", QStringLiteral("&Modifiche"));

    m.mnfReviewChanges = AddMenuItem(m.mnuChanges, "mnfReviewChanges", QStringLiteral("&Rivedi modifiche..."));
    m.mnfReviewChanges->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m.mnfUndo = AddMenuItem(m.mnuChanges, "mnfUndo", QStringLiteral("&Annulla"));
    m.mnfUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.mnfRedo = AddMenuItem(m.mnuChanges, "mnfRedo", QStringLiteral("Ri&peti"));
    m.mnfRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m.mnuChanges->addSeparator();
    m.mnfFind = AddMenuItem(m.mnuChanges, "mnfFind", QStringLiteral("&Trova impostazione..."));
    m.mnfFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m.mnfFindNext = AddMenuItem(m.mnuChanges, "mnfFindNext", QStringLiteral("Trova s&uccessiva"));
    m.mnfFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    m.mnfFindPrevious = AddMenuItem(m.mnuChanges, "mnfFindPrevious", QStringLiteral("Trova p&recedente"));
    m.mnfFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    m.mnuChanges->addSeparator();
    m.mnfCompare = AddMenuItem(m.mnuChanges, "mnfCompare", QStringLiteral("&Confronta con un'altra immagine..."));
    m.mnfSurvey = AddMenuItem(m.mnuChanges, "mnfSurvey", QStringLiteral("Altre &immagini..."));

    // Usable once a setting file is loaded, as Save is; undo and redo while they have a step.
    for (QAction *item : {m.mnfReviewChanges, m.mnfUndo, m.mnfRedo, m.mnfFind, m.mnfFindNext, m.mnfFindPrevious,
                          m.mnfCompare, m.mnfSurvey})
        item->setEnabled(false);
}

void MainMenus::BuildLanguage()
{
    MainMenuItems &m = m_items;
    auto *menu = new QMenu(QStringLiteral("&Language"), &m_window);
    // The menu's own action carries the name and tag the Language entry always had.
    m.mnuLanguage = menu->menuAction();
    m.mnuLanguage->setObjectName(QStringLiteral("mnuLanguage"));
    TagForCaption(m.mnuLanguage);

    m.mnfChooseLanguage = AddMenuItem(menu, "mnfChooseLanguage", QStringLiteral("Choose language..."));
    menu->addSeparator();

    m.mnuCodePage = new QMenu(QStringLiteral("Code page of setting files"), menu);
    m.mnuCodePage->setObjectName(QStringLiteral("mnuCodePage"));
    TagForCaption(m.mnuCodePage);
    menu->addMenu(m.mnuCodePage);
    auto *choices = new QActionGroup(m.mnuCodePage);
    choices->setExclusive(true);
    const QList<int> &numbers = CodePage::Supported();
    for (int i = 0; i < numbers.size(); ++i) {
        auto *item = new QAction(CodePage::DisplayName(numbers[i]), &m_window);
        item->setObjectName(ArrayElementName(QStringLiteral("mnfCodePage"), i));
        TagForCaption(item);
        item->setCheckable(true);
        item->setChecked(numbers[i] == CodePage::Current());
        choices->addAction(item);
        m.mnuCodePage->addAction(item);
        m.mnfCodePage << item;
    }
}

QAction *MainMenus::CommandMenu(const char *name, const QString &caption, bool tagged, QAction *&item)
{
    auto *menu = new QMenu(caption, &m_window);
    // The menu's own action carries the entry's name and caption; its one item says the same.
    QAction *entry = menu->menuAction();
    entry->setObjectName(QString::fromLatin1(name));
    if (tagged)
        TagForCaption(entry);
    item = new QAction(caption, &m_window);
    item->setObjectName(QStringLiteral("mnf") + QString::fromLatin1(name).mid(3) + QStringLiteral("Item"));
    menu->addAction(item);
    // The item's caption follows the entry's, whatever language the entry is in.
    connect(menu, &QMenu::aboutToShow, item, [entry, item] { item->setText(entry->text()); });
    return entry;
}

void MainMenus::BuildRecent()
{
    MainMenuItems &m = m_items;
    m.mnuRecent = new QMenu(QStringLiteral("Open rece&nt"), m.mnuFile);
    m.mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    TagForCaption(m.mnuRecent);
    m.mnuRecent->setToolTipsVisible(true);
    m.mnuFile->insertMenu(m.mnfChangeSettingFile, m.mnuRecent);
    for (int i = 0; i < RecentFiles::MaxCount; ++i) {
        auto *item = new QAction(m.mnuRecent);
        item->setObjectName(QStringLiteral("mnfRecent(%1)").arg(i));
        m.mnuRecent->addAction(item);
        m.mnfRecent.append(item);
    }
    m.mnuRecent->addSeparator();
    m.mnfClearRecent = AddMenuItem(m.mnuRecent, "mnfClearRecent", QStringLiteral("&Clear list"));
    m.mnuRecent->menuAction()->setEnabled(false);   // filled at start-up
}

void MainMenus::FillRecent(const QStringList &files)
{
    MainMenuItems &m = m_items;
    const QFontMetrics metrics(m.mnuRecent->font());
    for (int i = 0; i < m.mnfRecent.size(); ++i) {
        QAction *item = m.mnfRecent.at(i);
        item->setVisible(i < files.size());
        if (i >= files.size())
            continue;
        const QFileInfo file(files.at(i));
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QString folder =
            metrics.elidedText(QDir::toNativeSeparators(file.absolutePath()), Qt::ElideMiddle, RecentFolderWidth);
        folder.replace(QLatin1Char('&'), QStringLiteral("&&"));
        item->setText(QStringLiteral("&%1 %2 (%3)").arg(i + 1).arg(name, folder));
        item->setToolTip(QDir::toNativeSeparators(file.absoluteFilePath()));
        item->setData(file.absoluteFilePath());
    }
    m.mnuRecent->menuAction()->setEnabled(!files.isEmpty());
}

// The menu bar from the keyboard: F10 opens it, the arrows walk across every top-level
// entry, and Escape closes it and gives the focus back to the control that had it. While a
// menu is open it takes every key: none reaches a setting.
void MainMenus::WatchMenuKeys()
{
    auto *menuBarKey = new QShortcut(QKeySequence(Qt::Key_F10), &m_window);
    connect(menuBarKey, &QShortcut::activated, this,
            [this] { m_window.menuBar()->setActiveAction(m_items.mnuFile->menuAction()); });
    for (QAction *entry : m_window.menuBar()->actions()) {
        QMenu *menu = entry->menu();
        if (!menu)
            continue;
        menu->installEventFilter(this);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            QWidget *focused = QApplication::focusWidget();
            if (focused && focused->window() == &m_window && !qobject_cast<QMenuBar *>(focused))
                m_focusBeforeMenu = focused;
        });
    }
}

bool MainMenus::eventFilter(QObject *watched, QEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(watched);
    if (!menu || event->type() != QEvent::KeyPress || menu->parent() != &m_window)
        return false;
    if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return false;
    // One Escape leaves the menus: the menu closes, the bar lets go of the keys, and the
    // control the user was in has the focus again.
    menu->hide();
    m_window.menuBar()->setActiveAction(nullptr);
    if (m_focusBeforeMenu)
        m_focusBeforeMenu->setFocus(Qt::PopupFocusReason);
    else
        m_window.setFocus(Qt::PopupFocusReason);
    return true;
}
