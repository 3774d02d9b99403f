// Undo and redo of the settings' values, one step per change the user made.
#include "ui/main/ChangeSteps.h"

#include "seem/document/SeemDocument.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QUndoStack>

namespace {
// A text box undoes its own typing on Ctrl+Z; here the window's undo does, so that
// typing and ticking undo alike, one step at a time.
class WindowUndoKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        // Not accepted: the shortcut goes on to the window's menu items.
        return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
               || key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    }
};
}   // namespace

ChangeSteps::ChangeSteps(SeemDocument &document, ControlStatesCommand::ShowStates show, QObject *parent)
    : UndoStack(new QUndoStack(parent)),
      m_document(document),
      m_show(std::move(show)),
      m_undoKeys(new WindowUndoKeys(parent))
{}

void ChangeSteps::Push(const QVector<StateChange> &changes)
{
    UndoStack->push(new ControlStatesCommand(changes, m_show));
}

void ChangeSteps::Edited(int index, const ControlState &after, bool typing)
{
    if (!typing || m_typingIndex != index)
        CommitTypedEdit();
    const ControlState before = m_document.state(index);
    if (typing && m_typingIndex != index) {
        m_typingIndex = index;
        m_typingBefore = before;
    }
    // The edit goes into the document; its change signal marks the control and the title.
    m_document.setState(index, after);
    if (!typing && after != before)
        Push({StateChange{index, before, after}});
}

void ChangeSteps::CommitTypedEdit()
{
    const int index = m_typingIndex;
    if (index == 0)
        return;
    m_typingIndex = 0;
    const ControlState after = m_document.state(index);
    if (after != m_typingBefore)
        Push({StateChange{index, m_typingBefore, after}});
}

void ChangeSteps::RecordAsOneStep(const QVector<int> &indexes, const std::function<void()> &change)
{
    CommitTypedEdit();
    QVector<StateChange> changes;
    for (int index : indexes)
        changes.append(StateChange{index, m_document.state(index), ControlState()});
    change();
    QVector<StateChange> changed;
    for (StateChange &c : changes) {
        c.after = m_document.state(c.index);
        if (c.after != c.before)
            changed.append(c);
    }
    if (!changed.isEmpty())
        Push(changed);
}

void ChangeSteps::WatchTextBox(QLineEdit *box)
{
    box->installEventFilter(m_undoKeys);
}

void ChangeSteps::Forget()
{
    UndoStack->clear();
    m_typingIndex = 0;
    m_typingBefore = ControlState();
}
