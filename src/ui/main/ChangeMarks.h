#pragma once
class QWidget;
class QTreeWidgetItem;

// The mark of a changed setting where it is shown: its check box or label, and every
// tree node above it, drawn bold with a leading "•". Marking keeps whatever text the
// control has and unmarking gives it back exactly, so captions from setting files are
// never rebuilt.
void SetChangeMark(QWidget *control, bool marked);
void SetChangeMark(QTreeWidgetItem *node, bool marked);
bool HasChangeMark(const QWidget *control);
bool HasChangeMark(const QTreeWidgetItem *node);
