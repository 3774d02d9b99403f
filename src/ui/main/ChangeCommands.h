#pragma once
#include "seem/values/SettingState.h"

#include <QUndoCommand>
#include <QVector>
#include <functional>

// One setting's control before and after a change.
struct StateChange
{
    int index = 0;   // 1-based setting number
    ControlState before;
    ControlState after;
};

// One undo step: the states of one or more settings' controls before and after one
// change of the user's (a tick, a list choice, a text typed until the box lost focus,
// a restore, values taken from another image). The change has happened when the step
// is pushed, so the first redo does nothing; later ones put the after states back.
class ControlStatesCommand : public QUndoCommand
{
public:
    // Puts the given states (index, state) into the controls.
    using ShowStates = std::function<void(const QVector<QPair<int, ControlState>> &states)>;

    ControlStatesCommand(QVector<StateChange> changes, ShowStates show);

    void undo() override;
    void redo() override;

private:
    QVector<StateChange> m_changes;
    ShowStates m_show;
    bool m_happened = true;   // pushed after the change: the first redo is already done
};
