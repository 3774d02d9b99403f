#pragma once
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

// The main window's menu items (objectName = the name given here; array elements
// "name(index)"). The window holds them; MainMenus makes them.
struct MainMenuItems
{
    QMenu *mnuFile = nullptr;
    QAction *mnfOpenSEEM = nullptr;
    QAction *mnfChangeSettingFile = nullptr;
    QAction *mnfSaveSEEM = nullptr;
    QAction *mnfRestore = nullptr;
    QAction *mnf1 = nullptr;
    QAction *mnfAutoSettingSelection = nullptr;
    QAction *mnf2 = nullptr;
    QAction *mnfQuit = nullptr;
    QAction *mnfSettingFiles = nullptr;
    QAction *mnfExportValues = nullptr;
    QAction *mnfApplyValues = nullptr;
    // Enabled when the open setting file has errors; lists them.
    QAction *mnfSettingFileErrors = nullptr;
    // File > Open recent: mnfRecent(i) opens the i-th file opened last; mnfClearRecent
    // empties the list.
    QMenu *mnuRecent = nullptr;
    QVector<QAction *> mnfRecent;
    QAction *mnfClearRecent = nullptr;

    QMenu *mnuChanges = nullptr;
    QAction *mnfReviewChanges = nullptr;
    QAction *mnfUndo = nullptr;
    QAction *mnfRedo = nullptr;
    QAction *mnfFind = nullptr;
    QAction *mnfFindNext = nullptr;
    QAction *mnfFindPrevious = nullptr;
    QAction *mnfCompare = nullptr;
    QAction *mnfSurvey = nullptr;   // Several images: a survey beside the open one

    QAction *mnuSetting = nullptr;
    QAction *mnfSettingItem = nullptr;   // the Setting editor menu's one item
    QAction *mnuLanguage = nullptr;
    QAction *mnfChooseLanguage = nullptr;   // Language menu: the language dialog
    QMenu *mnuCodePage = nullptr;           // Language menu: the code pages offered
    QVector<QAction *> mnfCodePage;         // one per code page, in CodePage::Supported() order
    QAction *mnuInfo = nullptr;
    QAction *mnfInfoItem = nullptr;   // the Info menu's one item

    QMenu *mnuOrig = nullptr;   // popup only, never in the menu bar
    QAction *mnfRestoreItem = nullptr;
};

// The main window's menu bar and the restore popup: it makes the items with their names,
// captions, shortcuts and first states, fills Open recent, and owns the keys of the bar
// (F10 opens it; Escape leaves it for the control that had the focus). What an item runs
// is the window's business: it connects each item's triggered to its handler.
class MainMenus : public QObject
{
public:
    MainMenus(QMainWindow &window, MainMenuItems &items);

    // The bar's menus (File, Changes, Setting editor, Language, Info), the restore popup
    // and the keys of the bar.
    void Build();
    // File > Open recent, with its entries hidden until FillRecent.
    void BuildRecent();
    // Open recent's entries for files (full paths, the last opened first); disabled when
    // there are none.
    void FillRecent(const QStringList &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *AddMenuItem(QMenu *menu, const char *name, const QString &caption);
    // A menu of the menu bar, named and tagged for its caption.
    QMenu *AddBarMenu(const char *name, const QString &caption);
    // A menu-bar entry that is a menu with one item, named and captioned after it.
    QAction *CommandMenu(const char *name, const QString &caption, bool tagged, QAction *&item);
    void BuildFile();
    // Setting files, Export values and Apply values, before the File menu's first separator.
    void BuildSharingItems();
    void BuildChanges();
    void BuildLanguage();
    void WatchMenuKeys();

    QMainWindow &m_window;
    MainMenuItems &m_items;
    QPointer<QWidget> m_focusBeforeMenu;   // where Escape from the menus goes back to
};
