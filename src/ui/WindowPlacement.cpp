#include "ui/WindowPlacement.h"

#include <QApplication>
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
    // Before the window manager has framed the window its frame is not known: allow for a
    // title bar and a border as the style draws them.
    QSize decoration = window->frameGeometry().size() - window->geometry().size();
    if (decoration.isEmpty()) {
        const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
        decoration =
            QSize(2 * border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border);
    }
    const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : available.center();
    const QRect frame = PlacedInside(window->size() + decoration, available, centre);
    window->resize((frame.size() - decoration).expandedTo(window->minimumSize()));
    window->move(frame.topLeft());
}
