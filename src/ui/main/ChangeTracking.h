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
    // Per setting (index 0 = setting 1): the state of its control as the undo stack knows
    // it, the "before" of the next step.
    QVector<ControlState> shown;
    // The text box being typed into: its edit becomes one step when it loses focus.
    int typingIndex = 0;
    // Per setting: marked as changed. Per tree node: changed settings on its page and below.
    QBitArray marked;
    int markedCount = 0;
    QHash<QTreeWidgetItem *, int> changedBelow;
    // Keeps Ctrl+Z and Ctrl+Y of text boxes for the window's undo and redo.
    QObject *undoKeys = nullptr;
};
