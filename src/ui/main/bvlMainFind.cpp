// Find: a setting by a part of its name or description. As the query is typed, the first
// match from the current position is shown; Enter and F3 go to the next one, Shift+F3 to
// the previous one, around the ends. While the find box is open it keeps the keyboard
// focus and the found control stays highlighted; Escape closes it and hands the focus to
// the control found. F3 with the find box closed focuses and briefly highlights the match.
#include "ui/main/bvlMain.h"

#include "seem/SettingSearch.h"
#include "ui/AppContext.h"
#include "ui/ThemeColours.h"
#include "ui/Twips.h"
#include "ui/main/FindBar.h"

#include <QTimer>

namespace {
constexpr int HighlightMilliseconds = 1500;
}

void bvlMain::mnfFind_Click()
{
    if (!mnfFind->isEnabled())
        return;
    if (!txFind) {
        txFind = new FindBar(m_client);
        // At the right end of the status line, with the line's height and a little more.
        txFind->setGeometry(TwipsRect(8535, 8670, 4800, 345));
        connect(txFind, &QLineEdit::textEdited, this,
                [this] { FindFrom(qMax(m_foundIndex, 1), SearchDirection::Forward, true, false); });
        connect(txFind, &QLineEdit::returnPressed, this, [this] { mnfFindNext_Click(); });
        connect(txFind, &FindBar::shownChanged, this, [this] { FitStatusLineToFind(); });
        connect(txFind, &FindBar::closed, this, [this] {
            HighlightFound(nullptr);
            if (m_foundIndex >= 1 && m_foundIndex <= Document->count())
                if (QWidget *control = ControlOf(m_foundIndex))
                    control->setFocus(Qt::OtherFocusReason);
        });
        tmFindHighlight = new QTimer(this);
        tmFindHighlight->setSingleShot(true);
        connect(tmFindHighlight, &QTimer::timeout, this, [this] { HighlightFound(nullptr); });
    }
    txFind->setPlaceholderText(m_ctx.T(QStringLiteral("bvlMain.sFindPrompt_V")));
    txFind->setAccessibleName(txFind->placeholderText()); // what a screen reader announces
    txFind->show();
    txFind->raise();
    txFind->setFocus(Qt::ShortcutFocusReason);
    txFind->selectAll();
}

void bvlMain::mnfFindNext_Click()
{
    FindFrom(m_foundIndex, SearchDirection::Forward, false, !FindBoxOpen());
}

void bvlMain::mnfFindPrevious_Click()
{
    FindFrom(m_foundIndex, SearchDirection::Backward, false, !FindBoxOpen());
}

bool bvlMain::FindBoxOpen() const
{
    return txFind && !txFind->isHidden();
}

void bvlMain::FindFrom(int from, SearchDirection direction, bool includeFrom, bool focusControl)
{
    if (!txFind || txFind->text().isEmpty()) {
        mnfFind_Click();
        return;
    }
    const int found = NextMatch(SettingsMatching(Document->settings(), txFind->text()), from, direction, includeFrom);
    txFind->showFound(found != 0);
    if (found == 0)
        return;
    m_foundIndex = found;
    ShowSetting(found, focusControl);
    // While the find box is open, what is typed goes on into it.
    if (!focusControl)
        txFind->setFocus(Qt::OtherFocusReason);
    HighlightFound(ControlOf(found));
}

void bvlMain::HighlightFound(QWidget *control)
{
    if (m_highlighted) {
        ThemeColours::ClearRoles(m_highlighted, {QPalette::Window, QPalette::Base, QPalette::Button});
        m_highlighted->setAutoFillBackground(false);
        // A value that cannot be saved keeps its warning colours.
        const int index = m_highlighted->property(SettingIndexProperty).toInt();
        if (index >= 1 && index <= Document->count())
            UpdateValidityMark(index);
    }
    m_highlighted = control;
    if (!control)
        return;
    // The theme's marked background, behind each kind of text the control draws.
    const QPalette colours = control->palette();
    ThemeColours::SetRoles(control, {
        {QPalette::Window, ThemeColours::MarkedBackground(colours.color(QPalette::Window), colours.color(QPalette::WindowText))},
        {QPalette::Base, ThemeColours::MarkedBackground(colours.color(QPalette::Base), colours.color(QPalette::Text))},
        {QPalette::Button, ThemeColours::MarkedBackground(colours.color(QPalette::Button), colours.color(QPalette::ButtonText))}});
    control->setAutoFillBackground(true);
    // The find box ends the highlight when it closes.
    if (FindBoxOpen())
        tmFindHighlight->stop();
    else
        tmFindHighlight->start(HighlightMilliseconds);
}
