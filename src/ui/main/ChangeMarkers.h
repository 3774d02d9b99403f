#pragma once
#include <QBitArray>
#include <QHash>

class QTreeWidgetItem;
class SeemDocument;
class SettingsView;

// The marks of changed settings in the settings view: which settings are marked, and per
// tree node how many changed settings its page and the pages below it hold. A setting is
// marked while the document's value differs from the file's; a control built later takes
// its mark then.
class ChangeMarkers
{
public:
    ChangeMarkers(const SeemDocument &document, SettingsView &view);

    // Marks or unmarks setting index as the document says, on its control and the nodes above.
    void Update(int index);
    // A control just built shows its setting's mark.
    void MarkBuilt(int index);
    // Sized for the view's settings; a new view has nothing marked.
    void Fit();
    // The view is torn down, and its marks with it.
    void Forget();

private:
    const SeemDocument &m_document;
    SettingsView &m_view;
    QBitArray m_marked;                             // per setting: marked as changed
    QHash<QTreeWidgetItem *, int> m_changedBelow;   // per node: changed settings on its page and below
};
