// The Language menu: the language dialog, and the code page that setting files and ANSI
// string settings are read and written in. Also what a change of language redraws.
#include "ui/main/bvlMain.h"

#include "core/CodePage.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/language/QtTranslations.h"
#include "ui/main/StatusMessages.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>

namespace {
const QString CodePageSection = QStringLiteral("UI");
const QString CodePageKey = QStringLiteral("CodePage");
}   // namespace

void bvlMain::ApplyCodePagePreference()
{
    const int stored =
        m_ctx.platform.readPreference(CodePageSection, CodePageKey, QString::number(CodePage::Default)).toInt();
    // A value the program never writes counts as the default.
    CodePage::SetCurrent(CodePage::IsSupported(stored) ? stored : CodePage::Default);
    const int current = CodePage::Supported().indexOf(CodePage::Current());
    mnfCodePage[current]->setChecked(true);
}

void bvlMain::mnfCodePage_Click(int index)
{
    const int chosen = CodePage::Supported().value(index, CodePage::Default);
    const int previous = CodePage::Current();
    mnfCodePage[index]->setChecked(true);
    if (chosen == previous)
        return;
    const bool documentOpen = !Document->settingPath().isEmpty();
    // The open document's texts were read in the previous code page: its unsaved edits
    // are saved or given up before it is read again in the new one.
    if (documentOpen && !IsSaved()) {
        const MsgResult answer = m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sSave?_M")),
                                                           MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel || (answer == MsgResult::Yes && !mnfSaveSEEM_Click())) {
            mnfCodePage[CodePage::Supported().indexOf(previous)]->setChecked(true);
            return;
        }
    }
    CodePage::SetCurrent(chosen);
    // The names shown and the values read must be in one code page: when the setting file
    // cannot be read in the new one, the old one stays.
    if (documentOpen && !ReadSettingFileAgain()) {
        CodePage::SetCurrent(previous);
        mnfCodePage[CodePage::Supported().indexOf(previous)]->setChecked(true);
        return;
    }
    m_ctx.platform.writePreference(CodePageSection, CodePageKey, QString::number(chosen));
}

bool bvlMain::ReadSettingFileAgain()
{
    const QString previousStatus = lbFileDesc->text();
    try {
        DocumentFiles::Next next;
        next.settingPath = Document->settingPath();
        if (OpenSettingParse(next))
            return true;
        m_status->Show(previousStatus);
    } catch (const BvlError &e) {
        m_status->Show(previousStatus);
        m_ctx.platform.messageBox(QStringLiteral("mnfCodePage ERR ") + QString::number(e.number()), MsgIcon::None,
                                  MsgButtons::Ok);
    }
    return false;
}

void bvlMain::ShowLanguage()
{
    UseQtTranslations(m_ctx.lang);
    ApplyLanguage(m_ctx.lang, this);
    // The description pane keeps a setting's description; the short help follows the language.
    const bool showingShortHelp = txDescription->toPlainText() == ShortHelpText;
    ShortHelpText = m_ctx.T(QStringLiteral("bvlMain.sShortHelp_V"));
    if (showingShortHelp)
        txDescription->setPlainText(ShortHelpText);
    if (!Document->settingPath().isEmpty())
        m_status->ShowUsingFile();
    UpdateChangesTitle();
    ShowAccessibleNames();
    // What a screen reader hears of a changed setting (the change, a value a save cannot
    // write) follows the language; an unchanged one has nothing to say.
    for (int index : ChangedSettings())
        UpdateValidityMark(index);
    ShowStartHint();
}
