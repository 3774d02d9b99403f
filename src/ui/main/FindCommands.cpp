// Find: a setting by a part of its name or description, from the find box at the right
// end of the status line.
#include "ui/main/FindCommands.h"

#include "seem/document/SeemDocument.h"
#include "ui/AppContext.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/FindBar.h"
#include "ui/main/SettingsView.h"
#include "ui/main/StatusLine.h"

#include <QTimer>

namespace {
constexpr int HighlightMilliseconds = 1500;
}

FindCommands::FindCommands(AppContext &ctx, const SeemDocument &document, SettingsView &view, ShowSetting show,
                           QObject *parent)
    : QObject(parent), m_ctx(ctx), m_document(document), m_view(view), m_show(std::move(show))
{}

void FindCommands::Place(QWidget *client, StatusLine *line)
{
    m_client = client;
    m_line = line;
}

void FindCommands::Open()
{
    if (!txFind) {
        txFind = new FindBar(m_client);
        txFind->setGeometry(ClientAreas::FindBox(m_client->size()));
        connect(txFind, &QLineEdit::textEdited, this, [this] {
            if (!FindFrom(qMax(m_foundIndex, 1), SearchDirection::Forward, true, false))
                Open();
        });
        connect(txFind, &QLineEdit::returnPressed, this, [this] {
            if (!Next())
                Open();
        });
        connect(txFind, &FindBar::shownChanged, this, [this] { FitStatusLine(); });
        connect(txFind, &FindBar::closed, this, [this] {
            Highlight(nullptr);
            if (m_foundIndex >= 1 && m_foundIndex <= m_document.count())
                if (QWidget *control = m_view.ControlOf(m_foundIndex))
                    control->setFocus(Qt::OtherFocusReason);
        });
        tmFindHighlight = new QTimer(this);
        tmFindHighlight->setSingleShot(true);
        connect(tmFindHighlight, &QTimer::timeout, this, [this] { Highlight(nullptr); });
    }
    txFind->setPlaceholderText(m_ctx.T(QStringLiteral("bvlMain.sFindPrompt_V")));
    txFind->setAccessibleName(txFind->placeholderText());   // what a screen reader announces
    txFind->show();
    txFind->raise();
    txFind->setFocus(Qt::ShortcutFocusReason);
    txFind->selectAll();
}

bool FindCommands::Next()
{
    return FindFrom(m_foundIndex, SearchDirection::Forward, false, !BoxOpen());
}

bool FindCommands::Previous()
{
    return FindFrom(m_foundIndex, SearchDirection::Backward, false, !BoxOpen());
}

bool FindCommands::BoxOpen() const
{
    return txFind && !txFind->isHidden();
}

bool FindCommands::FindFrom(int from, SearchDirection direction, bool includeFrom, bool focusControl)
{
    if (!txFind || txFind->text().isEmpty())
        return false;
    const int found = NextMatch(SettingsMatching(m_document.settings(), txFind->text()), from, direction, includeFrom);
    txFind->showFound(found != 0);
    if (found == 0)
        return true;
    m_foundIndex = found;
    m_show(found, focusControl);
    // While the find box is open, what is typed goes on into it.
    if (!focusControl)
        txFind->setFocus(Qt::OtherFocusReason);
    Highlight(m_view.ControlOf(found));
    return true;
}

void FindCommands::Highlight(QWidget *control)
{
    if (m_highlighted) {
        ThemeColours::ClearRoles(m_highlighted, {QPalette::Window, QPalette::Base, QPalette::Button});
        m_highlighted->setAutoFillBackground(false);
        // A value that cannot be saved gets its warning colours back.
        const int index = m_highlighted->property(SettingsView::SettingIndexProperty).toInt();
        if (index >= 1 && index <= m_document.count())
            emit highlightEnded(index);
    }
    m_highlighted = control;
    if (!control)
        return;
    // The theme's marked background, behind each kind of text the control draws.
    const QPalette colours = control->palette();
    ThemeColours::SetRoles(
        control,
        {{QPalette::Window,
          ThemeColours::MarkedBackground(colours.color(QPalette::Window), colours.color(QPalette::WindowText))},
         {QPalette::Base, ThemeColours::MarkedBackground(colours.color(QPalette::Base), colours.color(QPalette::Text))},
         {QPalette::Button,
          ThemeColours::MarkedBackground(colours.color(QPalette::Button), colours.color(QPalette::ButtonText))}});
    control->setAutoFillBackground(true);
    // The find box ends the highlight when it closes.
    if (BoxOpen())
        tmFindHighlight->stop();
    else
        tmFindHighlight->start(HighlightMilliseconds);
}

void FindCommands::FitStatusLine()
{
    if (txFind)
        txFind->setGeometry(ClientAreas::FindBox(m_client->size()));
    const QRect whole = ClientAreas::StatusLine(m_client->size());
    QRect line = whole;
    if (BoxOpen())
        line.setRight(qMin(whole.right(), txFind->geometry().left() - TwipsToPixelsX(60)));
    m_line->setGeometry(line);
}
