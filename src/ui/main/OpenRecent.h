#pragma once
#include <QString>

class MainMenus;
class QLabel;
class QWidget;
struct AppContext;
struct MainMenuItems;

// What the main window offers while no SEEM file is open, and the files opened last: it
// owns the client area's hint (lbStartHint) and what File > Open recent lists, kept in the
// preferences (RecentFiles). MainMenus makes the menu's items and fills them with the list;
// what an item runs is the window's.
class OpenRecent
{
public:
    OpenRecent(AppContext &ctx, MainMenuItems &items);

    // The client area's hint, shown while no SEEM file is open, in the current language.
    QLabel *lbStartHint = nullptr;

    // The hint in client; Open recent (made by menus) is filled again whenever the File
    // menu opens, as files may have gone since it was last shown.
    void Build(QWidget *client, MainMenus &menus);
    // Open recent's entries from the preferences; disabled when there are none.
    void Fill();
    // The hint's text in the current language, shown unless a document is open, and Open
    // recent's entries.
    void Show(bool documentOpen);
    // A SEEM file opened: first in the list (the menu is filled by Show).
    void Remember(const QString &seemPath);
    // Open recent is emptied.
    void Clear();
    // The file Open recent's entry index opens; empty when the entry lists none.
    QString FileOf(int index) const;

private:
    AppContext &m_ctx;
    MainMenuItems &m_items;
    MainMenus *m_menus = nullptr;
};
