#pragma once
#include "seem/SettingState.h"

#include <QBitArray>
#include <QHash>
#include <QVector>

class QObject;

class QTreeWidgetItem;

// What the main window keeps to see every change as it happens (bvlMainChanges.cpp).
struct ChangeTracking
{
    // The text box being typed into: its edit becomes one step when it loses focus, from
    // the value it had before the typing.
    int typingIndex = 0;
    ControlState typingBefore;
    // Per setting: marked as changed. Per tree node: changed settings on its page and below.
    QBitArray marked;
    int markedCount = 0;
    QHash<QTreeWidgetItem *, int> changedBelow;
    // Keeps Ctrl+Z and Ctrl+Y of text boxes for the window's undo and redo.
    QObject *undoKeys = nullptr;
};
