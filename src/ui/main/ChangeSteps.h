#pragma once
#include "seem/values/SettingState.h"
#include "ui/main/ChangeCommands.h"

#include <QVector>
#include <functional>

class QLineEdit;
class QObject;
class QUndoStack;
class SeemDocument;

// The main window's undo steps. It owns the undo stack and the text being typed: a tick or
// a list choice is one step, a text typed into one box is one step once the box is left,
// and a change the window makes to several settings (a restore, values from a profile or
// another image) is one step. A step puts its states back through show.
class ChangeSteps
{
public:
    // The stack and the filter that keeps Ctrl+Z and Ctrl+Y of text boxes are children
    // of parent.
    ChangeSteps(SeemDocument &document, ControlStatesCommand::ShowStates show, QObject *parent);

    QUndoStack *UndoStack = nullptr;

    // The user's edit of setting index, whose control shows after: it goes into the
    // document, as a step of its own unless it is typing, which becomes one with the
    // keys typed after it into the same box.
    void Edited(int index, const ControlState &after, bool typing);
    // Makes the text typed into one box one undo step.
    void CommitTypedEdit();
    // Runs change, a programmatic change of the settings' controls, as one undo step.
    void RecordAsOneStep(const QVector<int> &indexes, const std::function<void()> &change);
    // The window's undo and redo take a text box's Ctrl+Z and Ctrl+Y.
    void WatchTextBox(QLineEdit *box);
    // No steps and no typing: the view they were about is gone.
    void Forget();

private:
    void Push(const QVector<StateChange> &changes);

    SeemDocument &m_document;
    ControlStatesCommand::ShowStates m_show;
    QObject *m_undoKeys = nullptr;
    // The text box being typed into: its edit becomes one step when it loses focus, from
    // the value it had before the typing.
    int m_typingIndex = 0;
    ControlState m_typingBefore;
};
