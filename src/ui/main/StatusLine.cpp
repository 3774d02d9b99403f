#include "ui/main/StatusLine.h"

#include "ui/AccessibleNames.h"

#include <QPainter>
#include <QStyle>

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void StatusLine::setLine(const QString &text, const QString &shown)
{
    m_shown = shown;
    setText(text);
    update();
    setToolTip(text.isEmpty() ? QString() : PlainToolTip(text));
    // Read out as it is: left to the tool tip, the description would be its markup.
    SetAccessibleDescription(this, text);
}

QString StatusLine::shownText() const
{
    // Cut at the end: what comes first is what matters most.
    return fontMetrics().elidedText(m_shown.isEmpty() ? text() : m_shown, Qt::ElideRight, contentsRect().width());
}

void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

QString PlainToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
