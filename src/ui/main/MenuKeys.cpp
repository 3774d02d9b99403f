// The menu bar from the keyboard: F10 opens it, the arrows walk across every top-level
// entry (Setting editor and Info are menus with their one command, so that Down opens them
// as it opens any other), and Escape closes it and gives the focus back to the control
// that had it. While a menu is open it takes every key: none reaches a setting.
#include "ui/main/bvlMain.h"

#include "ui/ControlNames.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

QAction *bvlMain::CommandMenu(const char *name, const QString &caption, bool tagged, QAction *&item,
                              const std::function<void()> &command)
{
    auto *menu = new QMenu(caption, this);
    // The menu's own action carries the entry's name and caption; its one item says the same.
    QAction *entry = menu->menuAction();
    entry->setObjectName(QString::fromLatin1(name));
    if (tagged)
        TagForCaption(entry);
    item = new QAction(caption, this);
    item->setObjectName(QStringLiteral("mnf") + QString::fromLatin1(name).mid(3) + QStringLiteral("Item"));
    menu->addAction(item);
    // The item's caption follows the entry's, whatever language the entry is in.
    connect(menu, &QMenu::aboutToShow, item, [entry, item] { item->setText(entry->text()); });
    connect(item, &QAction::triggered, this, command);
    return entry;
}

void bvlMain::WatchMenuKeys()
{
    auto *menuBarKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuBarKey, &QShortcut::activated, this, [this] { menuBar()->setActiveAction(mnuFile->menuAction()); });
    for (QAction *entry : menuBar()->actions()) {
        QMenu *menu = entry->menu();
        if (!menu)
            continue;
        menu->installEventFilter(this);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            QWidget *focused = QApplication::focusWidget();
            if (focused && focused->window() == this && !qobject_cast<QMenuBar *>(focused))
                m_focusBeforeMenu = focused;
        });
    }
}

bool bvlMain::MenuKeyFiltered(QObject *watched, QEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(watched);
    if (!menu || event->type() != QEvent::KeyPress || menu->parent() != this)
        return false;
    if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return false;
    // One Escape leaves the menus: the menu closes, the bar lets go of the keys, and the
    // control the user was in has the focus again.
    menu->hide();
    menuBar()->setActiveAction(nullptr);
    if (m_focusBeforeMenu)
        m_focusBeforeMenu->setFocus(Qt::PopupFocusReason);
    else
        setFocus(Qt::PopupFocusReason);
    return true;
}
