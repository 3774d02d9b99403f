#include "ui/language/bvlLanguage.h"

#include "core/SearchFolders.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/Twips.h"
#include "ui/language/QtTranslations.h"

#include <QDir>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <optional>

namespace {
const QString LangSection = QStringLiteral("Lang");
const QString LangKey = QStringLiteral("Language");
const QString ExitingLine = QStringLiteral("\nExiting application...");
const QString LoadFailedText = QStringLiteral("Error in language file!");
const QString NoLanguageText = QStringLiteral("No language was chosen.");
const QString BuiltinEnglishLine = QStringLiteral("\nThe program goes on in English.");
}   // namespace

bvlLanguage::bvlLanguage(AppContext &ctx, QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("bvlLanguage"));
    setWindowTitle(QStringLiteral("Language selection"));
    setFixedSize(TwipsToPixelsX(4110), TwipsToPixelsY(3255));

    Label1 = new QLabel(QStringLiteral("Select your language:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(120, 120, 3855, 255));

    lsLanguages = new QListWidget(this);
    lsLanguages->setObjectName(QStringLiteral("lsLanguages"));
    lsLanguages->setGeometry(TwipsRect(120, 360, 3855, 2340));
    lsLanguages->setSelectionMode(QAbstractItemView::SingleSelection);
    lsLanguages->setSortingEnabled(false);
    Label1->setBuddy(lsLanguages);   // the caption names the list for screen readers
    NameControls(m_ctx.lang, this);

    cmOK = new QPushButton(QStringLiteral("OK"), this);
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setGeometry(TwipsRect(2760, 2760, 1215, 375));
    cmOK->setDefault(true);

    connect(cmOK, &QPushButton::clicked, this, &bvlLanguage::cmOK_Click);
    connect(lsLanguages, &QListWidget::itemDoubleClicked, this, &bvlLanguage::lsLanguages_DblClick);
}

void bvlLanguage::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QWidget *owner = parentWidget();
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                       : screen()                  ? screen()->availableGeometry()
                                                   : QRect();
    if (area.isValid()) {
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

bool bvlLanguage::FillUp(bool AutoLoadOneLang)
{
    lsLanguages->clear();
    LangFiles.clear();

    // The user's own files first, then the shipped ones, by name within each folder.
    const QStringList paths = FilesInSearchOrder(
        SearchFolders(m_ctx.platform.userFolder(), m_ctx.platform.programFolder()), QStringLiteral("*.sel"));
    for (const QString &path : paths) {
        QString languageName;
        if (!LangTable::GetLanguageName(path, languageName))
            continue;   // unreadable or nameless: not a language file
        auto *item = new QListWidgetItem(languageName, lsLanguages);
        item->setData(Qt::UserRole, int(LangFiles.size()));
        LangFiles << path;
    }
    m_startUp = AutoLoadOneLang;

    if (LangFiles.isEmpty()) {
        if (AutoLoadOneLang)
            return exitWith(QStringLiteral("No language file found!") + ExitingLine);
        // From the menu the window has a language already and keeps it, and its document.
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlLanguage.sNoLanguageFile_M")), MsgIcon::Critical,
                                  MsgButtons::Ok);
        return false;
    }

    if (LangFiles.size() == 1 && AutoLoadOneLang) {
        m_ctx.LanguageAutoLoaded = true;
        QString reason;
        if (!loadFile(LangFiles.first(), reason))
            return exitWith(reason + ExitingLine);
        return true;
    }
    const int row = preselectedRow(AutoLoadOneLang);
    if (row >= 0) {
        lsLanguages->setCurrentRow(row);
        if (!AutoLoadOneLang) {   // the language in use, in bold
            QFont font = lsLanguages->item(row)->font();
            font.setBold(true);
            lsLanguages->item(row)->setFont(font);
        }
    }
    return true;
}

int bvlLanguage::preselectedRow(bool startUp) const
{
    if (!startUp) {
        const QString inUse = m_ctx.lang.LanguageFileOf(m_ctx.platform.readPreference(LangSection, LangKey, QString()));
        return LangFiles.indexOf(inUse);
    }
    // The system's language; without a file for it (or with none set, LANG=C) English,
    // which more people read than whichever language comes first by file name. A file
    // that has just failed is not offered again.
    const QString failed = m_ctx.lang.FailedFile();
    const auto rowOf = [this, &failed](std::optional<QLocale::Language> language) {
        for (int row = 0; row < LangFiles.size(); ++row) {
            if (LangFiles[row] == failed)
                continue;
            if (!language)
                return row;
            QString locale;
            if (LangTable::GetLanguageEntry(LangFiles[row], LanguageLocaleKey, locale) && !locale.trimmed().isEmpty()
                && QLocale(locale.trimmed()).language() == *language)
                return row;
        }
        return -1;
    };
    if (const int system = rowOf(SystemLocale.language()); system >= 0)
        return system;
    if (const int english = rowOf(QLocale::English); english >= 0)
        return english;
    return rowOf(std::nullopt);
}

bool bvlLanguage::exitWith(const QString &text)
{
    m_ctx.platform.messageBox(text, MsgIcon::Critical, MsgButtons::Ok);
    m_ctx.platform.exitNow(1);
    return false;
}

bool bvlLanguage::takeSelected(QString &message)
{
    const QList<QListWidgetItem *> selected = lsLanguages->selectedItems();
    if (selected.isEmpty())
        return false;
    const int index = selected.first()->data(Qt::UserRole).toInt();
    if (index < 0 || index >= LangFiles.size())
        return false;
    return loadFile(LangFiles.at(index), message);
}

bool bvlLanguage::loadFile(const QString &path, QString &message)
{
    // The working table and the preference change only when the whole file has loaded:
    // a broken file leaves the window in its language, and the next start in it too.
    LangTable::LoadFailure failure;
    if (m_ctx.lang.ReplaceWithLanguageFile(path, &failure)) {
        // The name, not the path: found again in the search folders when the program
        // folder moves, and never another installation's file.
        m_ctx.platform.writePreference(LangSection, LangKey, LangTable::LanguagePreferenceOf(path));
        return true;
    }
    // Read in the language still in use; built-in English when there is none yet.
    const QString why = failure.readReason.isEmpty() ? m_ctx.T(QStringLiteral("bvlLanguage.sRepeatedKey_V"))
                                                           .arg(QString::number(failure.line), failure.repeatedKey)
                                                     : failure.readReason;
    message = LoadFailedText + QLatin1Char('\n') + m_ctx.T(QStringLiteral("bvlLanguage.sLoadFailed_M")).arg(path, why);
    return false;
}

void bvlLanguage::cmOK_Click()
{
    QString message;
    if (takeSelected(message))
        accept();
    else if (!message.isEmpty())
        m_ctx.platform.messageBox(message, MsgIcon::Critical, MsgButtons::Ok);
}

void bvlLanguage::reject()
{
    if (m_startUp) {
        QString message;
        if (takeSelected(message)) {
            accept();
            return;
        }
        // A start without a language would show a message for every text instead.
        m_ctx.lang.UseBuiltinEnglish();
        m_ctx.platform.messageBox((message.isEmpty() ? NoLanguageText : message) + BuiltinEnglishLine,
                                  MsgIcon::Critical, MsgButtons::Ok);
    }
    QDialog::reject();
}

void bvlLanguage::lsLanguages_DblClick()
{
    cmOK_Click();
}
