#include "ui/language/bvlLanguage.h"

#include "core/SearchFolders.h"
#include "ui/AppContext.h"
#include "ui/Twips.h"

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

    if (LangFiles.isEmpty())
        return exitWith(QStringLiteral("No language file found!") + ExitingLine);

    if (LangFiles.size() == 1 && AutoLoadOneLang) {
        m_ctx.LanguageAutoLoaded = true;
        m_ctx.platform.writePreference(LangSection, LangKey, LangFiles.first());
        if (!m_ctx.lang.LoadLanguageFile(LangFiles.first()))
            return exitWith(LoadFailedText + ExitingLine);
    }
    return true;
}

bool bvlLanguage::exitWith(const QString &text)
{
    m_ctx.platform.messageBox(text, MsgIcon::Critical, MsgButtons::Ok);
    m_ctx.platform.exitNow(1);
    return false;
}

void bvlLanguage::cmOK_Click()
{
    const QList<QListWidgetItem *> selected = lsLanguages->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = selected.first()->data(Qt::UserRole).toInt();
    if (index < 0 || index >= LangFiles.size())
        return;
    const QString path = LangFiles.at(index);

    // Stored before loading: a file that fails is then reported as not found at the next
    // start, which offers the choice again.
    m_ctx.platform.writePreference(LangSection, LangKey, path);
    if (m_ctx.lang.LoadLanguageFile(path))
        accept();
    else
        m_ctx.platform.messageBox(LoadFailedText, MsgIcon::Critical, MsgButtons::Ok);
}

void bvlLanguage::lsLanguages_DblClick()
{
    cmOK_Click();
}
