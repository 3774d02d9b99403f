// What each menu item runs: the menus are made by MainMenus, the window answers them.
#include "ui/main/bvlMain.h"

#include <QAction>
#include <QUndoStack>

void bvlMain::ConnectMenus()
{
    const auto run = [this](QAction *item, void (bvlMain::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    run(mnfExportValues, &bvlMain::mnfExportValues_Click);
    run(mnfApplyValues, &bvlMain::mnfApplyValues_Click);
    run(mnfSettingFiles, &bvlMain::mnfSettingFiles_Click);

    connect(UndoStack, &QUndoStack::canUndoChanged, mnfUndo, &QAction::setEnabled);
    connect(UndoStack, &QUndoStack::canRedoChanged, mnfRedo, &QAction::setEnabled);
    run(mnfReviewChanges, &bvlMain::mnfReviewChanges_Click);
    run(mnfUndo, &bvlMain::mnfUndo_Click);
    run(mnfRedo, &bvlMain::mnfRedo_Click);
    run(mnfFind, &bvlMain::mnfFind_Click);
    run(mnfFindNext, &bvlMain::mnfFindNext_Click);
    run(mnfFindPrevious, &bvlMain::mnfFindPrevious_Click);
    run(mnfCompare, &bvlMain::mnfCompare_Click);

    run(mnfSettingItem, &bvlMain::mnuSetting_Click);
    run(mnfChooseLanguage, &bvlMain::mnuLanguage_Click);
    for (int i = 0; i < mnfCodePage.size(); ++i)
        // triggered comes after the group has moved the check mark to this item.
        connect(mnfCodePage.at(i), &QAction::triggered, this, [this, i] { mnfCodePage_Click(i); });
    run(mnfInfoItem, &bvlMain::mnuInfo_Click);
    run(mnfSettingFileErrors, &bvlMain::mnfSettingFileErrors_Click);
    for (int i = 0; i < mnfRecent.size(); ++i)
        connect(mnfRecent.at(i), &QAction::triggered, this, [this, i] { mnfRecent_Click(i); });
    run(mnfClearRecent, &bvlMain::mnfClearRecent_Click);

    connect(mnfOpenSEEM, &QAction::triggered, this, [this] { mnfOpenSEEM_Click(); });
    connect(mnfChangeSettingFile, &QAction::triggered, this, [this] { mnfChangeSettingFile_Click(); });
    connect(mnfSaveSEEM, &QAction::triggered, this, [this] { mnfSaveSEEM_Click(); });
    run(mnfRestore, &bvlMain::mnfRestore_Click);
    run(mnfAutoSettingSelection, &bvlMain::mnfAutoSettingSelection_Click);
    run(mnfQuit, &bvlMain::mnfQuit_Click);
    run(mnfRestoreItem, &bvlMain::mnfRestoreItem_Click);
}
