#pragma once
#include <QRect>

// Where the main window's parts lie in a client area of a given size, in pixels. The
// layout is drawn in twips for the smallest client area; the room a larger window gives
// goes to the pages (across, and two thirds of it down) and the description box (across,
// and the last third down). The tree keeps its width; the status line and the find box
// stay along the bottom.
namespace ClientAreas {
QSize Smallest();
QRect Tree(QSize client);
QRect Page(QSize client);
QRect Description(QSize client);
QRect DescriptionText(QSize client);   // inside the description box
QRect StatusLine(QSize client);
QRect FindBox(QSize client);
QRect StartHint(QSize client);
}   // namespace ClientAreas
