// The window's own changes to the document. Their controls' change events come while the
// flag is set and are no edits: the values and their marks are the document's.
#include "ui/main/DocumentCommands.h"

#include "ui/AppContext.h"
#include "ui/main/ChangeSteps.h"
#include "ui/main/RestoreFailureText.h"

#include <QScopedValueRollback>

DocumentCommands::DocumentCommands(AppContext &ctx, SeemDocument &document, ChangeSteps &steps, Settle settle,
                                   ShowSetting show)
    : m_ctx(ctx), m_document(document), m_steps(steps), m_settle(std::move(settle)), m_show(std::move(show))
{}

void DocumentCommands::Quietly(const std::function<void()> &fill)
{
    const QScopedValueRollback<bool> quiet(m_quiet, true);
    fill();
}

SeemDocument::RestoreFailure DocumentCommands::Restore(const QVector<int> &indexes)
{
    m_steps.CommitTypedEdit();
    SeemDocument::RestoreFailure failure;
    Quietly([&] { failure = m_document.restore(indexes); });
    m_settle(indexes);
    return failure;
}

void DocumentCommands::Report(const SeemDocument::RestoreFailure &failure)
{
    if (failure.index == 0)
        return;
    m_ctx.platform.messageBox(
        RestoreFailureText(m_ctx, m_document.setting(failure.index), failure.error, m_document.file().size()),
        MsgIcon::Warning, MsgButtons::Ok);
    m_show(failure.index);
}

int DocumentCommands::Save()
{
    m_steps.CommitTypedEdit();
    int written = 0;
    // The saved settings, and those sharing their bytes, show what the file now holds and
    // that is their new original: not an undo step of the user's.
    Quietly([&] { written = m_document.save(); });
    m_settle({});
    return written;
}

void DocumentCommands::SetStates(const QVector<QPair<int, ControlState>> &states)
{
    Quietly([&] { m_document.setStates(states); });
    m_settle(SettingsOf(states));
}
