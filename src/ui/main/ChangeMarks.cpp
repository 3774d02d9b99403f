#include "ui/main/ChangeMarks.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTreeWidgetItem>

namespace {
const QString Mark = QStringLiteral("\u2022 ");
constexpr const char *MarkedProperty = "ChangeMarked";

QString Marked(const QString &text, bool marked)
{
    return marked ? Mark + text : text.mid(Mark.size());
}
}

bool HasChangeMark(const QWidget *control)
{
    return control && control->property(MarkedProperty).toBool();
}

void SetChangeMark(QWidget *control, bool marked)
{
    if (!control || HasChangeMark(control) == marked)
        return;
    control->setProperty(MarkedProperty, marked);
    QFont font = control->font();
    font.setBold(marked);
    control->setFont(font);
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(Marked(button->text(), marked));
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(Marked(label->text(), marked));
}

bool HasChangeMark(const QTreeWidgetItem *node)
{
    return node && node->font(0).bold();
}

void SetChangeMark(QTreeWidgetItem *node, bool marked)
{
    if (!node || HasChangeMark(node) == marked)
        return;
    QFont font = node->font(0);
    font.setBold(marked);
    node->setFont(0, font);
    node->setText(0, Marked(node->text(0), marked));
}
