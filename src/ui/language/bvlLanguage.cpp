#include "ui/language/bvlLanguage.h"

#include "core/SearchFolders.h"
#include "ui/AppContext.h"
#include "ui/language/QtTranslations.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace {
const QString LangSection = QStringLiteral("Lang");
const QString LangKey = QStringLiteral("Language");
const QString ExitingLine = QStringLiteral("\nExiting application...");
const QString LoadFailedText = QStringLiteral("Error in language file!");
}

bvlLanguage::bvlLanguage(AppContext &ctx, QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ctx(ctx)
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
            continue; // unreadable or nameless: not a language file
        auto *item = new QListWidgetItem(languageName, lsLanguages);
        item->setData(Qt::UserRole, int(LangFiles.size()));
        LangFiles << path;
    }
    m_startUp = AutoLoadOneLang;

    if (LangFiles.isEmpty())
        return exitWith(QStringLiteral("No language file found!") + ExitingLine);

    if (LangFiles.size() == 1 && AutoLoadOneLang) {
        m_ctx.LanguageAutoLoaded = true;
        m_ctx.platform.writePreference(LangSection, LangKey, LangFiles.first());
        if (!m_ctx.lang.LoadLanguageFile(LangFiles.first()))
            return exitWith(LoadFailedText + ExitingLine);
        return true;
    }
    const int row = preselectedRow(AutoLoadOneLang);
    if (row >= 0) {
        lsLanguages->setCurrentRow(row);
        if (!AutoLoadOneLang) { // the language in use, in bold
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
        const QString inUse = m_ctx.platform.readPreference(LangSection, LangKey, QString());
        return LangFiles.indexOf(inUse);
    }
    for (int row = 0; row < LangFiles.size(); ++row) {
        QString locale;
        if (LangTable::GetLanguageEntry(LangFiles[row], LanguageLocaleKey, locale)
            && !locale.trimmed().isEmpty() && QLocale(locale.trimmed()).language() == SystemLocale.language())
            return row;
    }
    return 0;
}

bool bvlLanguage::exitWith(const QString &text)
{
    m_ctx.platform.messageBox(text, MsgIcon::Critical, MsgButtons::Ok);
    m_ctx.platform.exitNow(1);
    return false;
}

bool bvlLanguage::takeSelected()
{
    const QList<QListWidgetItem *> selected = lsLanguages->selectedItems();
    if (selected.isEmpty())
        return false;
    const int index = selected.first()->data(Qt::UserRole).toInt();
    if (index < 0 || index >= LangFiles.size())
        return false;
    const QString path = LangFiles.at(index);

    // Stored before loading: a file that fails is then reported as not found at the next
    // start, which offers the choice again.
    m_ctx.platform.writePreference(LangSection, LangKey, path);
    if (m_ctx.lang.LoadLanguageFile(path))
        return true;
    m_ctx.platform.messageBox(LoadFailedText, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}

void bvlLanguage::cmOK_Click()
{
    if (takeSelected())
        accept();
}

void bvlLanguage::reject()
{
    // Leaving the first start without a language would show the built-in captions and a
    // message for every text, and ask again at the next start.
    if (m_startUp && takeSelected()) {
        accept();
        return;
    }
    QDialog::reject();
}

void bvlLanguage::lsLanguages_DblClick()
{
    cmOK_Click();
}
