#pragma once
#include "seem/document/SettingSearch.h"

#include <QObject>
#include <QPointer>
#include <functional>

class FindBar;
class QTimer;
class QWidget;
class SeemDocument;
class SettingsView;
class StatusLine;
struct AppContext;

// Find: owns the find box (txFind), the setting it went to last and the highlight of the
// found control (tmFindHighlight ends it), and keeps the status line beside the open box.
// As the query is typed, the first match from the current position is shown; Enter and F3
// go to the next one, Shift+F3 to the previous one, around the ends. While the box is open
// it keeps the keyboard focus and the found control stays highlighted; Escape closes it
// and hands the focus to the control found. F3 with the box closed focuses and briefly
// highlights the match. The window shows a found setting's page (show).
class FindCommands : public QObject
{
    Q_OBJECT
public:
    // Shows the page of setting index, focusing its control when asked.
    using ShowSetting = std::function<void(int index, bool focusControl)>;

    FindCommands(AppContext &ctx, const SeemDocument &document, SettingsView &view, ShowSetting show,
                 QObject *parent = nullptr);

    FindBar *txFind = nullptr;           // made on the first Find, hidden until then
    QTimer *tmFindHighlight = nullptr;   // ends the highlight of a found control

    // The box will sit at the right end of line, in client.
    void Place(QWidget *client, StatusLine *line);
    // Opens the box (made the first time) with the focus and its query selected.
    void Open();
    // The next or previous match from the last one. False when there is no query yet:
    // the box is to be opened first.
    bool Next();
    bool Previous();
    bool BoxOpen() const;
    // Places the box and the status line at the bottom of the client area, the line
    // beside the box while the box is open.
    void FitStatusLine();
    // The settings are gone: the next search starts at the first one.
    void Forget() { m_foundIndex = 0; }

signals:
    // The control of setting index is no longer highlighted: its own marks are to be
    // drawn again.
    void highlightEnded(int index);

private:
    bool FindFrom(int from, SearchDirection direction, bool includeFrom, bool focusControl);
    void Highlight(QWidget *control);

    AppContext &m_ctx;
    const SeemDocument &m_document;
    SettingsView &m_view;
    ShowSetting m_show;
    QWidget *m_client = nullptr;
    StatusLine *m_line = nullptr;
    int m_foundIndex = 0;              // the setting Find went to last, 0 for none
    QPointer<QWidget> m_highlighted;   // the found control while it is highlighted
};
