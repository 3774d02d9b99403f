// Values between the setting controls and the open SEEM file, through the widget-free codec.
//
// The values live in the document (SeemDocument): what each restore read from the file
// and what the user edited. A save writes only the settings whose values differ from what
// was read, so the bytes of every setting the user did not touch stay exactly as the file
// holds them. The controls that exist show the document's values and feed edits into it.
#include "ui/main/bvlMain.h"

#include "seem/values/SettingCodec.h"
#include "ui/AppContext.h"
#include "ui/main/ChangeMarkers.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/DocumentCommands.h"
#include "ui/main/SettingControlKind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

ControlState bvlMain::CurrentState(int index) const
{
    return Document->state(index);
}

void bvlMain::ShowState(int index, const ControlState &state)
{
    Document->setState(index, state);
}

ControlState bvlMain::ControlStateOf(int index) const
{
    return BuiltControlOf(index) ? m_view->StateShown(index) : Document->state(index);
}

// Puts the document's value of setting index into its control; the control's signals are
// the window's own then (DocumentCommands::Quiet), not an edit of the user's.
void bvlMain::ShowInControl(int index)
{
    QWidget *control = BuiltControlOf(index);
    if (!control || index > Document->count())
        return;
    const SettingStruct &setting = Settings.at(index - 1);
    const ControlState &state = Document->state(index);
    control->setEnabled(Document->isRestored(index) || !IsKnownSettingType(setting));
    if (ControlStateOf(index) == state)
        return;
    m_commands->Quietly([&] { m_view->Show(index, state); });
}

void bvlMain::ShowBuiltControl(int index)
{
    // A view built without a document (its tests) shows the controls as they are made.
    if (index > Document->count())
        return;
    ShowInControl(index);
    m_marks->MarkBuilt(index);
    UpdateValidityMark(index);
    UpdateListHint(index);
}

void bvlMain::DocumentStatesChanged(const QVector<int> &indexes)
{
    for (int index : indexes) {
        ShowInControl(index);
        UpdateChangeMark(index);
        UpdateListHint(index);
    }
    UpdateChangesTitle();
}

bool bvlMain::RestoreSettings(const QVector<int> &indexes)
{
    // The user's restore of one setting, a group or all is one undo step.
    SeemDocument::RestoreFailure failure;
    RecordAsOneStep(indexes, [&] { failure = m_commands->Restore(indexes); });
    m_commands->Report(failure);
    return failure.index == 0;
}

bool bvlMain::RestoreSetting(int index)
{
    return RestoreSettings({index});
}

QVector<int> bvlMain::AllSettings() const
{
    return Document->allSettings();
}

bool bvlMain::RestoreAll()
{
    // Nothing is edited afterwards: what could not be restored is disabled and never written.
    return RestoreSettings(AllSettings());
}

int bvlMain::WriteAll()
{
    return m_commands->Save();
}

QVector<QPair<int, ControlState>> bvlMain::SettingsASaveAlsoChanges()
{
    return Document->settingsASaveAlsoChanges();
}

TypedValueProblem bvlMain::TypedValueProblemOf(int index) const
{
    // What the file holds is never written back, so it is never in the way of a save.
    return Document->typedValueProblem(index);
}

void bvlMain::mnfRestore_Click()
{
    RestoreAll();
}

void bvlMain::mnfRestoreItem_Click()
{
    if (PopupTarget != -1) {
        if (PopupTarget >= 1 && PopupTarget <= Document->count())
            RestoreSetting(PopupTarget);
        return;
    }
    // The shown node's own page only, not the pages of its children.
    const QTreeWidgetItem *node = m_view->ShownOrSelectedNode();
    if (!node)
        return;
    if (const int page = m_view->PageNumberOf(node))
        RestoreSettings(m_view->PageSettings(page));
}
