// The File menu's items for setting files and values that travel between phones.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QAction>
#include <QMenu>

void bvlMain::BuildSharingItems()
{
    const auto item = [this](const char *name, const QString &caption) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        TagForCaption(action);
        mnuFile->insertAction(mnf1, action);
        return action;
    };
    mnuFile->insertSeparator(mnf1);
    mnfExportValues = item("mnfExportValues", QStringLiteral("Esporta valori..."));
    mnfApplyValues = item("mnfApplyValues", QStringLiteral("Applica valori..."));
    mnfSettingFiles = item("mnfSettingFiles", QStringLiteral("Setting file..."));
    // Values need a document, as saving does.
    for (QAction *valueItem : {mnfExportValues, mnfApplyValues}) {
        valueItem->setEnabled(mnfSaveSEEM->isEnabled());
        connect(mnfSaveSEEM, &QAction::enabledChanged, valueItem, &QAction::setEnabled);
    }
    connect(mnfExportValues, &QAction::triggered, this, [this] { mnfExportValues_Click(); });
    connect(mnfApplyValues, &QAction::triggered, this, [this] { mnfApplyValues_Click(); });
    connect(mnfSettingFiles, &QAction::triggered, this, [this] { mnfSettingFiles_Click(); });
    setAcceptDrops(true);
}

void bvlMain::mnfSettingFiles_Click()
{
    bvlSettingFiles files(m_ctx, this);
    ShowModal(files);
    if (!files.FileToOpen().isEmpty())
        OpenInSettingEditor(files.FileToOpen());
}

void bvlMain::OpenInSettingEditor(const QString &path)
{
    const QString status = lbFileDesc->text();
    if (!m_settingEditor)
        m_settingEditor = new bvlEditSetting(m_ctx, this, [this](const QString &text) { ShowFileDesc(text); });
    m_settingEditor->ShowLoaded(path);
    ShowFileDesc(status);
}
