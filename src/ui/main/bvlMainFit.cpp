// A window that fits: the client area has a fixed size in twips, which at a large scaling
// (200 % on a 1920 x 1080 screen) is taller than the screen. It then scrolls inside a
// window as large as the screen's available area allows; at sizes that fit, the window
// stays exactly as it is.
#include "ui/main/bvlMain.h"

#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

void bvlMain::FitToScreen(const QRect &available)
{
    if (m_scroll)
        return;
    // The window's frame is known only once the window manager has decorated it.
    const QSize decoration = frameGeometry().size() - geometry().size();
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
