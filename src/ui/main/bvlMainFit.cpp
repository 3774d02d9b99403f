// A window that fits: the client area's smallest size in twips, which at a large scaling
// (200 % on a 1920 x 1080 screen) is taller than the screen. It then scrolls inside a
// window as large as the screen's available area allows; at sizes that fit, the window
// stays exactly as it is. Either way the whole frame, title bar included, is placed
// inside the available area.
#include "ui/main/bvlMain.h"

#include "ui/WindowPlacement.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/FindCommands.h"
#include "ui/main/OpenRecent.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

void bvlMain::FitToScreen(const QRect &available)
{
    FitToScreen(available, FrameMargins());
}

void bvlMain::FitToScreen(const QRect &available, const QMargins &frame)
{
    if (m_scroll)
        return;
    const QSize decoration(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize content(m_client->width(), m_client->height() + menuBar()->sizeHint().height());
    const QSize room = available.size() - decoration;
    if (content.width() <= room.width() && content.height() <= room.height())
        return;

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scClient"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    // Only a container: the tab order goes from control to control as before.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(false);
    takeCentralWidget();
    m_scroll->setWidget(m_client);
    setCentralWidget(m_scroll);
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);

    // A scroll bar across one side takes room from the other.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    QSize wanted = content;
    if (content.height() > room.height())
        wanted.rwidth() += bar;
    if (content.width() > room.width())
        wanted.rheight() += bar;
    const QSize size = wanted.boundedTo(room);
    setMaximumSize(wanted);
    setMinimumSize(size.boundedTo(QSize(320, 240)));
    resize(size);
}

void bvlMain::FitClient()
{
    // Resized while it is being built: the parts follow once they all exist.
    if (!frDescription || !txDescription || !lbStartHint)
        return;
    const QSize client = m_client->size();
    m_view->FitTo(client);
    frDescription->setGeometry(ClientAreas::Description(client));
    txDescription->setGeometry(ClientAreas::DescriptionText(client));
    lbStartHint->setGeometry(ClientAreas::StartHint(client));
    m_find->FitStatusLine();
}

QMargins bvlMain::FrameMargins() const
{
    return FrameOf(this);
}

void bvlMain::PlaceOnScreen(const QRect &available, const QMargins &frame)
{
    FitToScreen(available, frame);
    QSize client = size();
    const QSize room = available.size().shrunkBy(frame);
    if (m_scroll && (client.width() > room.width() || client.height() > room.height())) {
        client = client.boundedTo(room);
        resize(client);
    }
    QRect outer(QPoint(), client.grownBy(frame));
    outer.moveCenter(available.center());
    // A frame larger than the area keeps its title bar on the screen: top left first.
    outer.moveLeft(qMax(available.left(), qMin(outer.left(), available.right() + 1 - outer.width())));
    outer.moveTop(qMax(available.top(), qMin(outer.top(), available.bottom() + 1 - outer.height())));
    // A window's position is its frame's: the window manager puts the frame there.
    move(outer.topLeft());
}
