#pragma once
#include "seem/authoring/SettingFileCatalogue.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class QTreeWidget;
struct AppContext;

// Setting files: every setting file of the per-user folder and of the program folder, in
// the order the automatic choice reads them, with what `check` finds in each. Files are
// installed into the per-user folder and removed from it here; a file opens in the
// setting editor, and its folder in the desktop's file manager.
class bvlSettingFiles : public QDialog
{
    Q_OBJECT
public:
    bvlSettingFiles(AppContext &context, QWidget *owner);

    // The list again from both folders; the selection goes.
    void FillUp();
    // Sizes the window to show every column (the language's header words included).
    void FitListWidth();
    // The file "Open in setting editor" chose; empty when none was.
    QString FileToOpen() const { return m_fileToOpen; }
    // The entry of the selected row; null when none is selected.
    const CatalogueEntry *SelectedEntry() const;

    void cmInstall_Click();
    void cmRemove_Click();
    void cmOpenInEditor_Click();
    void cmShowFolder_Click();

    enum Column {
        FileColumn,
        FolderColumn,
        SeemColumn,
        RecordColumn,
        PhonesColumn,
        AuthorColumn,
        SettingsColumn,
        CheckColumn
    };

    QTreeWidget *lsFiles = nullptr;
    QPushButton *cmInstall = nullptr;
    QPushButton *cmRemove = nullptr;
    QPushButton *cmOpenInEditor = nullptr;
    QPushButton *cmShowFolder = nullptr;
    QPushButton *cmClose = nullptr;

private:
    QString CheckText(const CatalogueEntry &entry);
    void UpdateButtons();

    AppContext &m_ctx;
    QVector<CatalogueEntry> m_entries;   // row i shows m_entries[i]
    QString m_fileToOpen;
};
