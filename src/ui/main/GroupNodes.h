#pragma once
#include <QHash>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// The group tree's nodes by path, found and made in time and memory linear in the
// path's length, however deep it is: a group is looked up by its full path first, and a
// new path is walked one element at a time through each node's children by text. No
// prefix of a path is stored as a key of its own, and a group's node carries its full
// path (SettingsView::NodeKeyRole) only when some setting names exactly that path.
class GroupNodes
{
public:
    // The node of a normalised group path (elements joined by "\"), made with whatever
    // part of the path does not exist yet.
    QTreeWidgetItem *obtain(QTreeWidget *tree, const QString &path);
    // The node of path, or null.
    QTreeWidgetItem *find(const QString &path) const;
    void clear();

private:
    QTreeWidgetItem *child(const QTreeWidgetItem *parent, const QString &text) const;

    QHash<QString, QTreeWidgetItem *> m_groups;   // nodes that settings name, by full path
    // Children by text; the top-level nodes are the children of null.
    QHash<const QTreeWidgetItem *, QHash<QString, QTreeWidgetItem *>> m_children;
};
