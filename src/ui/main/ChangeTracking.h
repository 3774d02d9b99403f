#pragma once
#include "seem/SettingState.h"

#include <QBitArray>
#include <QHash>
#include <QVector>

class QObject;

class QTreeWidgetItem;

// The marks the main window keeps of changed settings (bvlMainChanges.cpp).
struct ChangeTracking
{
    // Per setting: marked as changed. Per tree node: changed settings on its page and below.
    QBitArray marked;
    int markedCount = 0;
    QHash<QTreeWidgetItem *, int> changedBelow;
};
