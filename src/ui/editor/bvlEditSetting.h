#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileDocument.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <optional>

struct AppContext;
class ReferenceImageSet;
class bvlByteMap;
class bvlCompareSec;
class bvlMergeSec;
class bvlEditSettingDo;
class bvlGroupBrowse;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QUndoStack;

// The setting-file editor: a view of one setting file (SettingFileDocument: header and
// records numbered 1..n in storage order), its records listed by name in a sorted list,
// the list commands Add, Delete, Edit and Copy and the file commands New, Open and Save.
// A list entry finds its record only through its item data (Qt::UserRole), the record
// number, since display order and storage order differ.
//
// Every change of the records or of the header is one step on the document's undo stack;
// the file counts as saved exactly while the stack is at its clean state, so undoing back
// to what was read or saved leaves nothing to ask about.
class bvlEditSetting : public QDialog
{
    Q_OBJECT
public:
    // showFileDesc puts a text into the main window's description line; the setting
    // dialog uses it for the hint of its group box.
    explicit bvlEditSetting(AppContext &ctx, QWidget *owner = nullptr,
                            std::function<void(const QString &)> showFileDesc = {});
    ~bvlEditSetting() override;

    // The file this window shows and edits.
    SettingFileDocument &Document() { return m_document; }
    const SettingFileDocument &Document() const { return m_document; }
    // The records (record k is Settings()[k - 1]) and the header of the file last opened or
    // saved, as the document holds them.
    const SettingList &Settings() const { return m_document.records(); }
    const SettingFileHeader &FileHeader() const { return m_document.readHeader(); }
    // The reference and second image the byte map and the dialog's preview read.
    ReferenceImageSet &Images() { return *m_images; }

    // Appends an empty record at n + 1.
    void NewSetting();
    // Removes record k (1..n); the records after it move down one place.
    void DeleteSetting(int k);
    // Rebuilds lsSettings from the records: one entry per record, item data = record number.
    void UpdateSettingList();
    // Appends a renamed copy of every selected record, then rebuilds the list.
    void CopySel();
    // Removes every selected record, then rebuilds the list.
    void DeleteSel();
    // Fills the group browser with the distinct groups of the records.
    void FreshGroups();
    // True when no entry of list equals text exactly; text is then added unless existOnly.
    bool AddSafe(QListWidget *list, const QString &text, bool existOnly);

    // The setting dialog and the group browser, created on first use and destroyed when
    // this window closes.
    bvlEditSettingDo *SettingDialog();
    bvlGroupBrowse *GroupBrowser();

    // Shows the window modally as the main menu opens it: loaded afresh with an empty file
    // (or the file at openPath, as Open would read it) each time, while CopyCount and the
    // window's place are kept.
    int ShowLoaded(const QString &openPath = QString());

    // The byte map beside this window, created on first use.
    bvlByteMap *ByteMap();
    // Opens the setting dialog for a new setting filled from draft; OK appends it as Add
    // does. True when it was added.
    bool AddFromDraft(const SettingStruct &draft);
    // Edit on record k (1..n), as if its entry were the only one selected.
    void EditRecord(int k);
    // Appends the records as Add would, as one step.
    void AppendSettings(const SettingList &records);

    // Saves to a file chosen in the save dialog; true only when the file was written.
    bool SaveSettingFile();

    // Nothing changed since load, New, Open or Save (the undo stack is clean).
    bool FileSaved() const { return m_document.isClean(); }
    QUndoStack *UndoStack() const { return m_document.undoStack(); }
    // The file last opened or saved; empty for a new file.
    QString FilePath() const { return m_document.path(); }
    // Follows the code page chosen in the main window: the file's bytes stay, the
    // characters they stand for follow the code page.
    void CodePageChanged();
    // Runs the setting-file check on the records in memory and reports what it found.
    void mnfCheck_Click();

    void cmAdd_Click();
    void cmCopy_Click();
    void cmDelete_Click();
    void cmEdit_Click();
    void lsSettings_Click();
    void lsSettings_DblClick();
    void mnfNew_Click();
    void mnfOpenSetting_Click();
    void mnfSaveSetting_Click();
    void mnfOpenReference_Click();
    void mnfOpenSecond_Click();
    void mnfByteMap_Click();
    // Compare with setting file... and with the file on disk (the file as last saved): a
    // window beside this one lists what differs.
    void mnfCompare_Click();
    void mnfCompareDisk_Click();
    // The comparison window, while one is open.
    bvlCompareSec *Comparison() const;
    // Merge from setting file...: another file's changes taken into this one, with a base
    // file chosen or else the file as last saved; a window lists the conflicts.
    void mnfMerge_Click();
    // The merge window, while one is open.
    bvlMergeSec *Merging() const;
    // Runs from the constructor: the window is loaded when it is created.
    void Form_Load();
    // Escape closes the window the way its close box does; true when the key was taken.
    bool Form_KeyDown(int key);
    // Before closing: unloads the dialog and the browser, then asks about unsaved
    // changes. True when the window may close.
    bool Form_QueryUnload();

    qint32 CopyCount = 0;   // number in the name of the next copy; New and Open keep it

    QMenuBar *menuBar;
    QMenu *mnuFile;
    QAction *mnfNew;
    QAction *mnfOpenSetting;
    QAction *mnfSaveSetting;
    QAction *mnfCompare;
    QAction *mnfCompareDisk;
    QAction *mnfMerge;
    QAction *mnfCheck;
    QMenu *mnuEdit;
    QAction *mnfUndo;
    QAction *mnfRedo;
    QMenu *mnuImage;
    QAction *mnfOpenReference;
    QAction *mnfOpenSecond;
    QAction *mnfByteMap;

    QGroupBox *frGeneralInfo;
    QLabel *lbAuthor;
    QLineEdit *txAuthor;
    QLabel *lbSuitablePhone;
    QLineEdit *txPhones;
    QLabel *lbSuitableSEEM;
    QLineEdit *txSEEMNr;
    QLabel *lbSuitableSEEMRec;
    QLineEdit *txSEEMRec;

    QGroupBox *frSettings;
    QListWidget *lsSettings;
    QPushButton *cmAdd;
    QPushButton *cmDelete;
    QPushButton *cmEdit;
    QPushButton *cmCopy;
    QLabel *lbSettingGroup;
    QLabel *lbFileVer;
    QLabel *lbCheck;   // what the setting-file check found, under the list

protected:
    // The close box and Escape arrive here.
    void reject() override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    // The views follow the document.
    void Document_Reset();
    void Document_RecordsChanged(SettingFileDocument::RecordChange change, int first, int count, int focus);
    void Document_HeaderTextChanged(SettingFileDocument::HeaderField field);
    // Makes the entry of record k the current one, 0 for none.
    void selectRecord(int k);
    void updateTitle();
    // The line under the list: how many errors and warnings the check finds.
    void updateCheckLine();
    // The header box of a field.
    QLineEdit *headerBox(SettingFileDocument::HeaderField field) const;
    // Typing in a header box changes the file; filling the boxes by the program does not.
    void HeaderBox_Change(SettingFileDocument::HeaderField field);
    // The unsaved-changes question before the file is discarded: false when the user
    // cancelled, or chose to save and the save did not happen.
    bool mayDiscardFile();
    // Reads the file at path into the window; a failure or refusal leaves the window as it was.
    void LoadSettingFile(const QString &path);
    // "File V3 (program version)" of the file last opened or saved.
    void showFileVersion();
    // Folder of the file last opened or saved, with a trailing separator, where the file
    // dialogs start; empty when the window holds no file from disk.
    QString currentFolder() const;
    // The record of a list entry.
    int recordOf(int row) const;
    int selectedCount() const;
    // The records of the selected entries, in display order.
    QVector<int> selectedRecords() const;
    // Reads an image whole; reports and returns false when it cannot be read.
    bool readImage(const QString &title, QString &path, QByteArray &bytes);
    // Shows the setting dialog for record k (0: a new setting) filled as it is; true after OK.
    bool runSettingDialog(int k);
    // Reads another setting file in the document's code page; reports and returns false
    // when it cannot be read or is refused.
    bool readOtherFile(const QString &path, SettingFileHeader &header, SettingList &settings);
    // Opens the comparison window on the other file, in place of one open before.
    void showComparison(const QString &otherName, const SettingFileHeader &header, const SettingList &settings);
    // A step's name: the command's caption and the setting's name.
    QString stepText(const QString &commandKey, const QString &name = QString());

    AppContext &m_ctx;
    std::function<void(const QString &)> m_showFileDesc;
    SettingFileDocument m_document;
    ReferenceImageSet *m_images;
    QPointer<bvlEditSettingDo> m_settingDialog;
    QPointer<bvlGroupBrowse> m_groupBrowser;
    QPointer<bvlByteMap> m_byteMap;
    QPointer<bvlCompareSec> m_compare;
    QPointer<bvlMergeSec> m_merge;
    bool m_fillingHeader = false;
    std::optional<QPoint> m_place;   // where the window was when it last closed
};
