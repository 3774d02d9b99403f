#include "ui/main/ClientAreas.h"

#include "ui/Twips.h"

namespace {
// The room beyond the smallest client area.
QSize Extra(QSize client)
{
    return (client - ClientAreas::Smallest()).expandedTo(QSize(0, 0));
}
int PagesShare(int height)
{
    return height - height / 3;
}
}   // namespace

namespace ClientAreas {

QSize Smallest()
{
    return QSize(TwipsToPixelsX(13455), TwipsToPixelsY(9015));
}

QRect Tree(QSize client)
{
    return TwipsRect(120, 120, 3615, 7095).adjusted(0, 0, 0, PagesShare(Extra(client).height()));
}

QRect Page(QSize client)
{
    const QSize extra = Extra(client);
    return TwipsRect(3840, 0, 9495, 7215).adjusted(0, 0, extra.width(), PagesShare(extra.height()));
}

QRect Description(QSize client)
{
    const QSize extra = Extra(client);
    const int below = PagesShare(extra.height());
    return TwipsRect(120, 7320, 13215, 1335).adjusted(0, below, extra.width(), extra.height());
}

QRect DescriptionText(QSize client)
{
    const QSize extra = Extra(client);
    return TwipsRect(120, 240, 12975, 975).adjusted(0, 0, extra.width(), extra.height() - PagesShare(extra.height()));
}

QRect StatusLine(QSize client)
{
    const QSize extra = Extra(client);
    return TwipsRect(120, 8760, 13215, 255).adjusted(0, extra.height(), extra.width(), extra.height());
}

QRect FindBox(QSize client)
{
    const QSize extra = Extra(client);
    // At the right end of the status line, with the line's height and a little more.
    return TwipsRect(8535, 8670, 4800, 345).translated(extra.width(), extra.height());
}

QRect StartHint(QSize client)
{
    // A fifth of the client area's width on each side keeps the lines short enough to read.
    const QRect area(QPoint(), client);
    return area.adjusted(area.width() / 5, area.height() / 4, -area.width() / 5, -area.height() / 4);
}

}   // namespace ClientAreas
