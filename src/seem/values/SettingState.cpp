#include "seem/values/SettingState.h"

#include "seem/values/SettingCodec.h"

ControlState ControlState::Checked(bool checked)
{
    ControlState s;
    s.checked = checked;
    return s;
}

ControlState ControlState::ListPosition(int position)
{
    ControlState s;
    s.listPosition = position < 0 ? -1 : position;
    return s;
}

ControlState ControlState::Text(const QString &text)
{
    ControlState s;
    s.text = text;
    return s;
}

ControlState DecodeControlState(ByteStore &store, const SettingStruct &s)
{
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        return ControlState::Checked(SettingCodec::DecodeChecked(store, s));
    case SettingType::ValueList: {
        // Value texts beyond the last name have no entry to select: they are not even read,
        // so that one that is no number cannot fail the restore.
        SettingStruct named = s;
        named.Values = JoinValues(SplitValues(s.Values).mid(0, SplitValues(s.ValueNames).size()));
        return ControlState::ListPosition(SettingCodec::DecodeListIndex(store, named));
    }
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return ControlState::Text(SettingCodec::DecodeText(store, s));
    }
    return ControlState::ListPosition(-1);
}

void SettingStates::reset(int settingCount)
{
    m_entries = QVector<Entry>(qMax(0, settingCount));
}

void SettingStates::setRestored(int index, const ControlState &state)
{
    if (index >= 1 && index <= count())
        m_entries[index - 1] = Entry{true, state};
}

void SettingStates::setUnrestorable(int index)
{
    if (index >= 1 && index <= count())
        m_entries[index - 1] = Entry{};
}

const SettingStates::Entry &SettingStates::entry(int index) const
{
    static const Entry none;
    return index >= 1 && index <= count() ? m_entries.at(index - 1) : none;
}

bool SettingStates::isRestored(int index) const
{
    return entry(index).restored;
}

const ControlState &SettingStates::restored(int index) const
{
    return entry(index).state;
}

bool SettingStates::differs(int index, const ControlState &current) const
{
    const Entry &e = entry(index);
    return e.restored && e.state != current;
}

QVector<int> SettingsOf(const QVector<QPair<int, ControlState>> &states)
{
    QVector<int> indexes;
    indexes.reserve(states.size());
    for (const auto &state : states)
        indexes.append(state.first);
    return indexes;
}
