#include "ui/main/ChangeMarks.h"

#include "ui/ThemeColours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

namespace {
const QString Mark = QStringLiteral("\u2022 ");
constexpr const char *MarkedProperty = "ChangeMarked";

QString Marked(const QString &text, bool marked)
{
    return marked ? Mark + text : text.mid(Mark.size());
}
}   // namespace

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
    if (marked)
        ThemeColours::MarkText(control, ThemeColours::Changed);
    else
        ThemeColours::MarkPlain(control);
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
    ShowChangeColour(node);
}

void ShowChangeColour(QTreeWidgetItem *node)
{
    if (!HasChangeMark(node)) {
        node->setData(0, Qt::ForegroundRole, QVariant());
        return;
    }
    const QPalette palette = node->treeWidget() ? node->treeWidget()->palette() : QApplication::palette();
    node->setForeground(0, ThemeColours::ForPalette(ThemeColours::Changed, palette, QPalette::Base));
}

void ShowChangeColours(QWidget *root, QTreeWidget *tree)
{
    if (root)
        for (QWidget *control : root->findChildren<QWidget *>())
            if (HasChangeMark(control))
                ThemeColours::MarkText(control, ThemeColours::Changed);
    if (tree)
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if (HasChangeMark(*it))
                ShowChangeColour(*it);
}
