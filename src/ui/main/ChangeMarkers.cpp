// Changed settings marked where they are shown: a check box is its own caption, the other
// settings are named by their label, and every tree node above a changed setting is marked.
#include "ui/main/ChangeMarkers.h"

#include "seem/document/SeemDocument.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/SettingControlKind.h"
#include "ui/main/SettingsView.h"

#include <QLabel>
#include <QTreeWidgetItem>

ChangeMarkers::ChangeMarkers(const SeemDocument &document, SettingsView &view) : m_document(document), m_view(view) {}

void ChangeMarkers::Fit()
{
    if (m_marked.size() != m_view.Settings.size())
        m_marked.resize(m_view.Settings.size());
}

void ChangeMarkers::Update(int index)
{
    Fit();
    const bool changed = m_document.isChanged(index);
    if (m_marked.testBit(index - 1) == changed)
        return;
    m_marked.setBit(index - 1, changed);

    // Controls not built yet take their mark when their page is built.
    if (ControlKindOf(m_view.Settings.at(index - 1)) == ControlKind::CheckBox)
        SetChangeMark(m_view.BuiltControlOf(index), changed);
    else
        SetChangeMark(m_view.BuiltLabelOf(index), changed);
    for (QTreeWidgetItem *node = m_view.NodeByKey(m_view.PageKeys.value(index - 1)); node; node = node->parent()) {
        int &below = m_changedBelow[node];
        below += changed ? 1 : -1;
        SetChangeMark(node, below > 0);
    }
}

void ChangeMarkers::MarkBuilt(int index)
{
    if (index > m_marked.size() || !m_marked.testBit(index - 1))
        return;
    SetChangeMark(ControlKindOf(m_view.Settings.at(index - 1)) == ControlKind::CheckBox ? m_view.BuiltControlOf(index)
                                                                                        : m_view.BuiltLabelOf(index),
                  true);
}

void ChangeMarkers::Forget()
{
    m_marked = QBitArray();
    m_changedBelow.clear();
}
