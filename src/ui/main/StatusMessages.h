#pragma once
#include "core/SettingTypes.h"

#include <QObject>
#include <QStringList>

class DocumentFiles;
class SeemDocument;
class QTimer;
class QWidget;
class StatusLine;
struct AppContext;

// What the main window's status line says: it owns the line (lbFileDesc) and its texts.
// The line names the setting file in use; a report (a save, a paste cut to its field)
// stays a few seconds (tmSavedStatus) before the line names the file again; the errors of
// the open setting file are said once and listed when asked.
class StatusMessages : public QObject
{
public:
    StatusMessages(AppContext &ctx, const SeemDocument &document, const DocumentFiles &files,
                   QObject *parent = nullptr);

    StatusLine *lbFileDesc = nullptr;
    QTimer *tmSavedStatus = nullptr;   // ends a report

    // The line in client.
    void Build(QWidget *client);
    // The line holds one line; its full text, a long path included, is its tool tip.
    void Show(const QString &text);
    // The setting file in use.
    void ShowUsingFile();
    // text for a few seconds, then the setting file in use.
    void ShowForAWhile(const QString &text);
    // "Saved 3 settings into 0032_0001.seem" for a few seconds.
    void ShowSaved(int writtenCount);
    // A report still shown ends: the line names the setting file in use.
    void EndReport();

    // After a setting file was taken over: its errors (what would write wrong bits) said
    // once, before the line's text. True when it has any.
    bool ShowSettingFileFindings(const SettingList &settings);
    // The open setting file's errors in a message; nothing when it has none.
    void ListSettingFileErrors();

private:
    AppContext &m_ctx;
    const SeemDocument &m_document;
    const DocumentFiles &m_files;
    QStringList m_settingFileErrors;   // the open setting file's errors, as the check words them
};
