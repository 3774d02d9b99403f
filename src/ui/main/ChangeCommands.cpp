#include "ui/main/ChangeCommands.h"

ControlStatesCommand::ControlStatesCommand(QVector<StateChange> changes, ShowStates show)
    : m_changes(std::move(changes)), m_show(std::move(show))
{}

void ControlStatesCommand::undo()
{
    QVector<QPair<int, ControlState>> states;
    for (const StateChange &c : m_changes)
        states.append({c.index, c.before});
    m_show(states);
}

void ControlStatesCommand::redo()
{
    if (m_happened) {
        m_happened = false;
        return;
    }
    QVector<QPair<int, ControlState>> states;
    for (const StateChange &c : m_changes)
        states.append({c.index, c.after});
    m_show(states);
}
