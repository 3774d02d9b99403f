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

QMargins FrameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    if (outer != inner)
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    // Not decorated yet: a title bar and thin borders, as large as window managers draw
    // them; a title bar's text grows with the desktop's font.
    const int border = qMax(1, window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, window));
    const int title = qMax(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                           window->fontMetrics().height() * 2);
    return QMargins(border, title + border, border, border);
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
    const QMargins frame = FrameOf(window);
    const QSize decoration(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : available.center();
    window->resize((PlacedInside(window->size() + decoration, available, centre).size() - decoration)
                       .expandedTo(window->minimumSize()));
    // A window whose smallest size is larger than the area (a large font) opens at the
    // area's top left, its title bar on the screen.
    window->move(PlacedInside(window->size() + decoration, available, centre).topLeft());
}
