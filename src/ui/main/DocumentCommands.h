#pragma once
#include "seem/document/SeemDocument.h"

#include <QPair>
#include <QVector>
#include <functional>

class ChangeSteps;
struct AppContext;

// The window's own changes to the document, told apart from the user's edits: restores
// from the file, the writes of a save, and states put back (undo, a profile, another
// image). It owns the flag set while such a change fills the controls (Quiet), so that
// their change events only mark the document, and it reports a restore that failed.
class DocumentCommands
{
public:
    // After a change of the window's own: the marks, title and menus of these settings.
    using Settle = std::function<void(const QVector<int> &indexes)>;
    // Shows the page of setting index and focuses its control.
    using ShowSetting = std::function<void(int index)>;

    DocumentCommands(AppContext &ctx, SeemDocument &document, ChangeSteps &steps, Settle settle, ShowSetting show);

    // True while a change of the window's own fills the controls.
    bool Quiet() const { return m_quiet; }
    // Runs fill, the window putting the document's values into controls, as such a change.
    void Quietly(const std::function<void()> &fill);

    // Restores settings from the file without a message. A setting that fails is disabled
    // (and never written) and the others go on; the first failure is returned.
    SeemDocument::RestoreFailure Restore(const QVector<int> &indexes);
    // The first failing setting named with its bytes and the file's size, its page shown;
    // nothing when every setting restored.
    void Report(const SeemDocument::RestoreFailure &failure);
    // The document's save (SeemDocument::save, whose errors it throws); the settings that
    // share the written bytes show what the file now holds. The number of settings written.
    int Save();
    // Puts states (index, state) into the document, not as an edit of the user's.
    void SetStates(const QVector<QPair<int, ControlState>> &states);

private:
    AppContext &m_ctx;
    SeemDocument &m_document;
    ChangeSteps &m_steps;
    Settle m_settle;
    ShowSetting m_show;
    bool m_quiet = false;
};
