#include "ui/main/GroupNodes.h"

#include "ui/main/SettingsView.h"

#include <QTreeWidget>

namespace {
const QChar PathSeparator(QLatin1Char('\\'));
}

QTreeWidgetItem *GroupNodes::child(const QTreeWidgetItem *parent, const QString &text) const
{
    const auto children = m_children.constFind(parent);
    return children == m_children.constEnd() ? nullptr : children->value(text);
}

QTreeWidgetItem *GroupNodes::obtain(QTreeWidget *tree, const QString &path)
{
    if (QTreeWidgetItem *known = m_groups.value(path))
        return known;
    QTreeWidgetItem *node = nullptr;
    for (const QString &element : path.split(PathSeparator)) {
        QTreeWidgetItem *next = child(node, element);
        if (!next) {
            next = node ? new QTreeWidgetItem(node) : new QTreeWidgetItem(tree);
            next->setText(0, element);
            m_children[node].insert(element, next);
        }
        node = next;
    }
    node->setData(0, SettingsView::NodeKeyRole, path);
    m_groups.insert(path, node);
    return node;
}

QTreeWidgetItem *GroupNodes::find(const QString &path) const
{
    if (QTreeWidgetItem *known = m_groups.value(path))
        return known;
    // A path prefix that no setting names: walked, as it is not stored.
    QTreeWidgetItem *node = nullptr;
    for (const QString &element : path.split(PathSeparator)) {
        node = child(node, element);
        if (!node)
            return nullptr;
    }
    return node;
}

void GroupNodes::clear()
{
    m_groups.clear();
    m_children.clear();
}
