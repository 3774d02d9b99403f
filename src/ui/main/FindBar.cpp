#include "ui/main/FindBar.h"

#include "ui/ThemeColours.h"

#include <QKeyEvent>

FindBar::FindBar(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("txFind"));
    setClearButtonEnabled(true);
    hide();
}

void FindBar::showFound(bool found)
{
    m_notFound = !found && !text().isEmpty();
    showColours();
}

void FindBar::showColours()
{
    ThemeColours::ClearRoles(this, {QPalette::Text});
    if (m_notFound)
        ThemeColours::MarkText(this, ThemeColours::Error);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FindBar::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    emit shownChanged();
}

void FindBar::hideEvent(QHideEvent *event)
{
    QLineEdit::hideEvent(event);
    emit shownChanged();
}
