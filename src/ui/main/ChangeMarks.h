#pragma once
class QWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The mark of a changed setting where it is shown: its check box or label, and every
// tree node above it, drawn bold with a leading "•" and in the theme's colour for changes
// (so the mark does not rest on colour alone). Marking keeps whatever text the
// control has and unmarking gives it back exactly, so captions from setting files are
// never rebuilt.
void SetChangeMark(QWidget *control, bool marked);
void SetChangeMark(QTreeWidgetItem *node, bool marked);
bool HasChangeMark(const QWidget *control);
bool HasChangeMark(const QTreeWidgetItem *node);

// Draws the marks under root and in tree again in the colours of the current theme; called
// when the palette changes.
void ShowChangeColours(QWidget *root, QTreeWidget *tree);
void ShowChangeColour(QTreeWidgetItem *node);
