#include "ui/main/FindBar.h"

#include <QKeyEvent>

FindBar::FindBar(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("txFind"));
    setClearButtonEnabled(true);
    hide();
}

void FindBar::showFound(bool found)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Text, found || text().isEmpty() ? palette().color(QPalette::WindowText) : Qt::red);
    setPalette(colours);
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
