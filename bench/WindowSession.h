#pragma once
#include "AnsweringPlatform.h"
#include "ui/AppContext.h"

#include <QByteArray>
#include <memory>

class bvlMain;

// The real main window, started in a program folder and driven through its menu commands
// as a user would, with the dialogs answered by the platform. Each step returns once the
// window has also handled the events the command posted (layouts, deferred deletes).
class WindowSession
{
public:
    // languageFile is copied nowhere: the preferences point at it. Throws std::runtime_error
    // when the window does not start.
    WindowSession(const QString &programFolder, const QString &languageFile);
    ~WindowSession();

    // File > Open SEEM with the dialog answered; the setting file is chosen automatically.
    void open(const QString &seemPath);
    // Gives every stride-th setting another value as one step (as Apply values does), as
    // edits before a save.
    void changeEvery(int stride);
    // Clicks the node of group path, as a user shows its page; with continuations, also the
    // nodes of its continuation pages " (2)" one after the other. Returns the pages shown.
    int showGroup(const QString &path, bool continuations);
    // File > Save SEEM with the dialog confirmed.
    void save();
    // File > Restore original values.
    void restoreAll();

    int settingCount() const;
    // Messages the window showed since the last call (none is expected on the benchmark's road).
    QStringList takeMessages();

private:
    AnsweringPlatform m_platform;
    AppContext m_context{m_platform};
    std::unique_ptr<bvlMain> m_window;
};

// The process's peak resident memory (VmHWM) in kB, -1 where it cannot be read.
qint64 PeakMemoryKb();

// Runs of consecutive bytes that differ between two images of the same size.
int ChangedRuns(const QByteArray &before, const QByteArray &after);
