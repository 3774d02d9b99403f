#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

QRect PlacedInside(QSize frame, const QRect &available, QPoint centre)
{
    const QSize size = frame.boundedTo(available.size());
    QRect placed(centre - QPoint(size.width() / 2, size.height() / 2), size);
    placed.moveLeft(qBound(available.left(), placed.left(), available.right() - placed.width() + 1));
    placed.moveTop(qBound(available.top(), placed.top(), available.bottom() - placed.height() + 1));
    return placed;
}

void OpenInsideScreen(QWidget *window, const QWidget *owner)
{
    const QScreen *screen = owner && owner->isVisible() ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The layout's smallest size first: the window can be made no smaller.
    if (window->layout())
        window->layout()->activate();
    // Before the window manager has framed the window its frame is not known: allow for a
    // title bar and a border as the style draws them.
    QSize decoration = window->frameGeometry().size() - window->geometry().size();
    if (decoration.isEmpty()) {
        const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
        decoration =
            QSize(2 * border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border);
    }
    const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : available.center();
    window->resize((PlacedInside(window->size() + decoration, available, centre).size() - decoration)
                       .expandedTo(window->minimumSize()));
    // A window whose smallest size is larger than the area (a large font) opens at the
    // area's top left, its title bar on the screen.
    window->move(PlacedInside(window->size() + decoration, available, centre).topLeft());
}
