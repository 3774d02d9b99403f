#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QPair>
#include <QString>
#include <QVector>

// What a setting's control shows, without the widget. Only the field of the control's
// kind carries meaning; the others keep their defaults, so two states of the same
// setting compare equal exactly when their controls show the same thing.
struct ControlState
{
    bool checked = false;    // Checkbox: ticked or not
    int listPosition = -1;   // ValueList (and unknown type codes): selected entry, -1 for none
    QString text;            // Int8, AnsiString, UnicodeString: the text

    static ControlState Checked(bool checked);
    static ControlState ListPosition(int position);
    static ControlState Text(const QString &text);

    bool operator==(const ControlState &o) const
    {
        return checked == o.checked && listPosition == o.listPosition && text == o.text;
    }
    bool operator!=(const ControlState &o) const { return !(*this == o); }
};

// The settings (index, state) pairs name, in their order.
QVector<int> SettingsOf(const QVector<QPair<int, ControlState>> &states);

// The state the file's bytes give setting s's control: what a restore puts there.
// A list value that matches no named entry gives no selection (-1). Unknown type codes
// give ListPosition(-1). Throws what the codec throws (62 past the end, 13 a value text
// that is not a number, ...).
ControlState DecodeControlState(ByteStore &store, const SettingStruct &s);

// Per document, for every setting (1-based, as Settings): the state that the last restore
// put into its control, or that the restore failed. This is what the file holds as far
// as the user has seen it, so it is the ground truth for
//  - saving: a setting is written only when its control differs from it, so a setting
//    the user did not touch keeps its bytes exactly (unknown states, unterminated
//    strings, values outside the named ones);
//  - change markers and undo: "changed" means differs(), "original" means restored().
// A setting that could not be restored never differs and is never written.
//
// The window calls reset() after building the view, setRestored() or setUnrestorable()
// for each restored setting, and setRestored() again for each setting a save wrote.
class SettingStates
{
public:
    // A fresh view of settingCount settings; none restored yet (none would be written).
    void reset(int settingCount);
    int count() const { return int(m_entries.size()); }

    // After a restore, or a successful save, left state in setting index's control.
    void setRestored(int index, const ControlState &state);
    // After the restore of setting index failed: its control shows nothing of the file.
    void setUnrestorable(int index);

    // True when the last restore of setting index succeeded.
    bool isRestored(int index) const;
    // The state as restored; ControlState() when isRestored(index) is false.
    const ControlState &restored(int index) const;
    // True when current is not the restored state of setting index; always false for a
    // setting that could not be restored.
    bool differs(int index, const ControlState &current) const;

private:
    struct Entry
    {
        bool restored = false;
        ControlState state;
    };
    const Entry &entry(int index) const;

    QVector<Entry> m_entries;
};
