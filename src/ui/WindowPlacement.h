#pragma once
#include <QMargins>
#include <QRect>

class QWidget;

// Where a window of frame size `frame` opens: centred on `centre`, then moved (and made
// smaller where it must be) so that the whole frame lies inside `available`.
QRect PlacedInside(QSize frame, const QRect &available, QPoint centre);

// The frame the window manager draws around window; until it has, an estimate of a title
// bar and borders.
QMargins FrameOf(const QWidget *window);

// Opens a top-level window inside its screen's available area, centred on its owner when
// it has one; a window too large for the screen is made as large as the area allows, and
// one that cannot be made that small opens at the area's top left.
void OpenInsideScreen(QWidget *window, const QWidget *owner);
