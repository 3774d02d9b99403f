#pragma once
#include "core/SettingTypes.h"

#include <QString>
#include <QVector>

// Which control the main window shows a setting with. Unknown type codes get a list,
// so that whatever a setting file holds, it is at least visible.
enum class ControlKind {
    CheckBox,
    List,
    Text
};
ControlKind ControlKindOf(const SettingStruct &setting);

struct ListEntry
{
    QString name;
    qint32 value = 0;
};

// The entries of a setting shown as a list: each name of ValueNames with the number at
// the same position of Values; surplus value texts are passed over. Throws BvlError 13
// when a named entry's value text is not a number or there are fewer values than names.
QVector<ListEntry> ListEntries(const SettingStruct &setting);

// Throws what ListEntries throws for the first list setting that cannot be shown, so that
// a setting file is refused before anything of the open document is given up.
void CheckSettingsShowable(const SettingList &settings);
