#pragma once
#include "core/BvlError.h"
#include "core/SettingTypes.h"
#include "platform/Platform.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingSearch.h"
#include "seem/files/SeemFile.h"
#include "seem/values/SettingState.h"
#include "seem/values/TypedValueCheck.h"
#include "ui/main/ChangeSteps.h"
#include "ui/main/DocumentFiles.h"
#include "ui/main/MainMenus.h"
#include "ui/main/SettingsView.h"
#include "ui/main/StatusLine.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class ByteStore;
class bvlEditSetting;
class FindBar;
class QDialog;
class QTimer;
class QScrollArea;
class QUndoStack;
struct AppContext;
class ChangeMarkers;
class FindCommands;
class OpenRecent;
class StatusMessages;
class ValueProfiles;
class DocumentCommands;
struct ReviewActions;

// The main window: one open SEEM file (the document), the setting file that gives its bytes
// meaning, a group tree with one page of controls per group, and the commands around them.
//
// The window holds its controls and handlers; its parts own the rest: SettingsView (tree,
// pages, control arrays), MainMenus (the menu items it makes), DocumentFiles (the files in
// use, opening and copying them), ChangeSteps (undo), ChangeMarkers (marks of changes),
// FindCommands (the find box and what it found), OpenRecent (the start hint, Open recent),
// StatusMessages (what the status line says), ValueProfiles (values that travel) and
// DocumentCommands (restores and saves, the window's own changes to the document).
// The handlers live in bvlMain*.cpp by concern. Members are public so that tests can
// drive the window as a user would; what a part holds is reached under the window's names.
class bvlMain : public QMainWindow, public MainMenuItems
{
    Q_OBJECT
public:
    // The open document: the truth every view of this window shows.
    SeemDocument *const Document;

private:
    // The window's parts, made before everything that refers to them.
    std::unique_ptr<SettingsView> m_view;
    std::unique_ptr<DocumentFiles> m_files;
    std::unique_ptr<ChangeSteps> m_steps;
    std::unique_ptr<ChangeMarkers> m_marks;
    std::unique_ptr<FindCommands> m_find;
    std::unique_ptr<OpenRecent> m_recent;
    std::unique_ptr<StatusMessages> m_status;
    std::unique_ptr<ValueProfiles> m_profiles;
    std::unique_ptr<DocumentCommands> m_commands;
    MainMenus *m_menus = nullptr;   // a child of the window

public:
    explicit bvlMain(AppContext &context, QWidget *parent = nullptr);
    ~bvlMain() override;

    // ---- Start-up, menus, closing
    // Start-up; false when the program was ended during it.
    bool Form_Load();
    // Asked before the window closes; sets cancel to keep it open.
    void Form_QueryUnload(bool &cancel);
    void mnfQuit_Click();
    void mnuSetting_Click();
    void mnuLanguage_Click();
    void mnuInfo_Click();
    // Stores the check mark of mnfAutoSettingSelection, which the action has just inverted.
    void mnfAutoSettingSelection_Click();
    // Language menu (bvlMainLanguageMenu.cpp): the code page of setting files, element
    // index of mnfCodePage; an open document is read again in it.
    void mnfCodePage_Click(int index);

    // ---- Document
    void mnfOpenSEEM_Click();
    // Opens seemPath as the Open command does once its file dialog has given that name:
    // setting file chosen automatically or asked for, all or nothing, failures reported.
    void OpenSEEM(const QString &seemPath);
    void mnfChangeSettingFile_Click();
    // True when every setting was written into the SEEM file. Another name chosen in the
    // dialog saves a copy there, which becomes the open document; the original stays as it is.
    bool mnfSaveSEEM_Click();
    QString AutoSelectSEC(const QString &fileName) const { return m_files->AutoSelectSEC(fileName); }

    // ---- Values between controls and the SEEM file
    // Restores settings from the file into their controls. A setting that fails is
    // disabled (and never written) and the others go on; the first failure is reported
    // once, with its setting's page shown. False when any setting failed.
    bool RestoreSetting(int index);
    bool RestoreSettings(const QVector<int> &indexes);
    bool RestoreAll();
    // Writes the changed settings of the document, and nothing else (SeemDocument::save).
    // Throws 621 or 622 (SeemFile::checkWritable) before anything is written when the
    // file cannot take the save; throws SettingWriteError naming the first setting that
    // cannot be encoded, then nothing has been written; throws SaveError (SeemFile::save)
    // when the journaled save could not be done. Settings that share the written bytes
    // are read again, so that every control shows what the file now holds.
    // Returns the number of settings written.
    int WriteAll();
    // The value of setting index in the document, and putting a value there (its control,
    // when it exists, follows).
    ControlState CurrentState(int index) const;
    void ShowState(int index, const ControlState &state);
    // What setting index's control shows (the document's value while its page is not built:
    // the control shows that once it is).
    ControlState ControlStateOf(int index) const;
    void mnfRestore_Click();
    void mnfRestoreItem_Click();

    // ---- Settings view (SettingsView owns it; these are the window's names for it)
    SettingsView &View() { return *m_view; }
    void AddSettingGroup(SettingStruct &setting, int index) { m_view->AddSettingGroup(setting, index); }
    void AddSettingControl(SettingStruct &setting, int index) { m_view->AddSettingControl(setting, index); }
    QGroupBox *BuildPage(int number) { return m_view->BuildPage(number); }
    bool IsPageBuilt(int number) const { return m_view->IsPageBuilt(number); }
    int GetObjX(int slot) const { return m_view->GetObjX(slot); }
    int GetObjY(int slot) const { return m_view->GetObjY(slot); }
    // Every run-time control, page, node, mark and undo step goes.
    void UnloadAllControls();
    void tvUI_NodeClick(QTreeWidgetItem *node) { m_view->ShowPageOf(node); }
    QTreeWidgetItem *NodeByKey(const QString &key) const { return m_view->NodeByKey(key); }
    // Shows the page of setting index (selecting its node, as a click would) and focuses its
    // control unless told not to.
    void ShowSetting(int index, bool focusControl = true);
    QWidget *ControlOf(int index) { return m_view->ControlOf(index); }
    QWidget *BuiltControlOf(int index) const { return m_view->BuiltControlOf(index); }
    QLabel *BuiltLabelOf(int index) const { return m_view->BuiltLabelOf(index); }

    // ---- Interaction
    void ShowDescriptionOf(const QObject *control);
    void OpenRestorePopup(int target, const QPoint &globalPos);

    // ---- Changes: markers, title, undo and redo, review, find, compare
    // (bvlMainChanges.cpp, bvlMainFind.cpp, bvlCompare.cpp)
    void mnfReviewChanges_Click();
    void mnfUndo_Click();
    void mnfRedo_Click();
    void mnfFind_Click();
    void mnfFindNext_Click();
    void mnfFindPrevious_Click();
    void mnfCompare_Click();
    // Several images: surveys the open image and the ones chosen through its setting file
    // and shows the table (bvlSurvey); images left out are named in one message.
    void mnfSurvey_Click();
    // Settings whose controls differ from what the file holds, in setting order.
    QVector<int> ChangedSettings() const;
    // Settings a save of the changed ones would change too, with the state they would
    // show afterwards (bytes shared with a changed setting).
    QVector<QPair<int, ControlState>> SettingsASaveAlsoChanges();
    // What is wrong with the edited text of setting index; None for a value a save can
    // write, and for a control that shows what the file holds.
    TypedValueProblem TypedValueProblemOf(int index) const;
    // The reason of a problem, for the user.
    QString TypedValueProblemText(int index, TypedValueProblem problem);
    // What Review changes does through this window: restore, save, a problem's reason.
    ReviewActions Reviewing();

    // ---- Fitting the screen (bvlMainFit.cpp)
    // Lets the client area scroll inside a window that fits available, when it does not fit
    // there itself; a window that fits stays as it is.
    void FitToScreen(const QRect &available);
    // True once the client area scrolls.
    bool ClientScrolls() const { return m_scroll != nullptr; }
    // Puts states (index, state) into the controls as one undo step.
    void ShowStatesAsOneStep(const QVector<QPair<int, ControlState>> &states);
    // The Changes menu's dialogs are shown through this; tests answer them instead.
    std::function<void(QDialog &dialog)> ShowModal;

    // ---- Setting files and values that travel (bvlMainSettingFiles.cpp, bvlMainValues.cpp,
    // bvlMainDrop.cpp)
    void mnfSettingFiles_Click();
    // Opens the setting editor with the file at path in it (an empty path: no file).
    void OpenInSettingEditor(const QString &path);
    // Writes the values the controls show as a profile, the JSON `brimvale-cli show
    // --format json` prints for the image once saved.
    void mnfExportValues_Click();
    // Sets the controls a profile names, all as one undo step or, when any name or value
    // is refused, none (the refusals listed in one message).
    void mnfApplyValues_Click();
    // The profile of the values the controls show (what a save would leave in the file).
    QByteArray ShownValuesProfile();   // ValueProfiles'
    // Files dropped on the window: setting files are installed, a SEEM file is opened.
    void DropFiles(const QStringList &paths);
    // Lists the open setting file's errors.
    void mnfSettingFileErrors_Click();

    // ---- Keys go where the user is (ControlPopups.cpp)
    // The pop-up of a text box: Restore original above the box's own edit actions.
    QMenu *TextBoxPopup(QLineEdit *box);
    void OpenTextBoxPopup(QLineEdit *box, const QPoint &globalPos);
    // ---- What to do while no file is open, and the files opened last (bvlMainRecent.cpp)
    QLabel *&lbStartHint;   // the hint's, shown while no SEEM file is open
    void mnfRecent_Click(int index);
    void mnfClearRecent_Click();
    // Open recent's entries from the preferences; disabled when there are none.
    void FillRecentMenu();
    // ---- Theme colours and a layout that fits (bvlMainTheme.cpp, bvlMainFit.cpp)
    // Draws the colours this window keeps itself (the tree's change marks) for the theme.
    void ShowThemeColours();
    // FitToScreen for a frame of the given margins around the client area.
    void FitToScreen(const QRect &available, const QMargins &frame);
    // Places the window so that its whole frame, title bar included, lies inside available.
    void PlaceOnScreen(const QRect &available, const QMargins &frame);
    // The frame the window manager draws around the window; until it has, an estimate of
    // a title bar and borders.
    QMargins FrameMargins() const;
    // Lays the client area's parts out for its size: a larger window gives its room to
    // the pages and the description.
    void FitClient();

    // ---- Controls (objectName = the name given here; array elements "name(index)"); the
    // menu items are MainMenuItems
    QUndoStack *&UndoStack;     // the steps'
    FindBar *&txFind;           // Find's; hidden until Find
    QTimer *&tmFindHighlight;   // Find's; ends the highlight of a found control
    QTimer *&tmSavedStatus;     // the status line's; ends its report of a save

    QTreeWidget *&tvUI;
    QGroupBox *frDescription = nullptr;
    QPlainTextEdit *txDescription = nullptr;
    StatusLine *&lbFileDesc;   // the status line's texts are StatusMessages'

    // Control arrays (the view's); element 0 is the invisible template, run-time elements
    // follow. An element is null until its page is built.
    QVector<QGroupBox *> &replicator;
    QVector<QLabel *> &lbUI;
    QVector<QCheckBox *> &chUI;
    QVector<QComboBox *> &cbUI;
    QVector<QLineEdit *> &txUI;

    // ---- Window state (the files, their paths and the setting file's header are the
    // document's)
    SettingList &Settings;        // the view's copy of the document's settings
    QVector<QString> &PageKeys;   // the view's page of each setting
    // True when the document holds nothing the file does not.
    bool IsSaved() const { return !Document->isModified(); }
    QString ShortHelpText;
    int PopupTarget = -1;   // setting index, or -1 for the selected tree node's group
    int &CurrentGroup;      // visible page, -1 for none
    int &FrameCount;
    int &LabelCount;
    int &ComboCount;
    int &TextCount;
    int &CheckCount;
    // Per setting, the state the last restore (or save) read from the file.
    const SettingStates &RestoredStates() const { return Document->restoredStates(); }
    // How the SEEM file is opened (tests open it for reading only).
    std::function<void(SeemFile &file, const QString &path)> &SeemFileOpener;

    static constexpr const char *SettingIndexProperty = SettingsView::SettingIndexProperty;
    static constexpr int NodeKeyRole = SettingsView::NodeKeyRole;
    static constexpr int NodePageRole = SettingsView::NodePageRole;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildControls();
    // Each menu item's triggered to its handler (bvlMainMenuCommands.cpp).
    void ConnectMenus();
    // Takes the code page of setting files from the preferences.
    void ApplyCodePagePreference();
    // Reads the open document's setting file again (after the code page changed) and
    // restores every setting from the SEEM file; false, reported, when it was not read.
    bool ReadSettingFileAgain();
    // After the language changed: the language's Qt translations, every tagged control,
    // and the texts fetched from the table (short help, status line, title).
    void ShowLanguage();
    // The accessible names of the window's own controls, in the current language.
    void ShowAccessibleNames();
    // Fills the language dialog and shows it, unless it loaded the only language by itself
    // (allowed at start-up). False when the program was ended because no language is usable.
    bool ChooseLanguage(bool autoLoadOneLanguage);

    // Opens seemPath into next with its setting file (chosen automatically or asked for).
    // False when a dialog was cancelled; throws BvlError on failure.
    bool OpenFileParse(const QString &seemPath, DocumentFiles::Next &next);
    // Reads and checks next's setting file, then takes next over. False when the file was
    // refused (its message has been shown); throws BvlError when it cannot be shown.
    bool OpenSettingParse(DocumentFiles::Next &next);
    // The window shows the document next has become: view, menus, status line, hint.
    void TakeOver(DocumentFiles::Next &next);
    // Before edits would be dropped: the unsaved-changes question, and the save when the
    // answer is Yes. False when the edits are to stay (Cancel, or a save that did not happen).
    bool MayDropEdits();
    // The hint's text and visibility and Open recent's entries, after the language changed
    // or a file was opened.
    void ShowStartHint();
    // Refuses a save while an edited value cannot be written: says which and why, and
    // shows the setting. True when every value can be written.
    bool CheckTypedValues();

    void WatchControl(QWidget *control);
    // The document's values changed: the controls that exist show them.
    void DocumentStatesChanged(const QVector<int> &indexes);

    // Puts the document's value of setting index into its control, when it exists.
    void ShowInControl(int index);
    // A control just built shows the document's value and the setting's marks.
    void ShowBuiltControl(int index);
    QVector<int> AllSettings() const;

    // Changes (bvlMainChanges.cpp).
    // The marks of changes, and how the Changes menu's dialogs are shown.
    void StartChanges();
    void WatchChanges(QWidget *control);
    void ControlChanged(int index, bool typing);
    void CommitTypedEdit() { m_steps->CommitTypedEdit(); }
    void RecordAsOneStep(const QVector<int> &indexes, const std::function<void()> &change)
    {
        m_steps->RecordAsOneStep(indexes, change);
    }
    // After a restore, a save or an undo put states into these settings' controls.
    void SettleChanges(const QVector<int> &indexes);
    // The view is torn down: no marks, no steps.
    void ForgetChanges();
    void UpdateChangeMark(int index);
    // Warning colours and the reason as tool tip on a text box holding a value a save
    // cannot write; the control's accessible description says it and a change.
    void UpdateValidityMark(int index);
    void describeToScreenReaders(QWidget *control, int index, TypedValueProblem problem);
    void UpdateChangesTitle();

    AppContext &m_ctx;
    QWidget *m_client = nullptr;                 // the client area below the menu bar
    bool m_placed = false;                       // centred on the screen once
    bvlEditSetting *m_settingEditor = nullptr;   // created on first use, a child of this window
    QScrollArea *m_scroll = nullptr;             // holds the client area when it does not fit the screen

    // ---- Keys go where the user is (ControlPopups.cpp)
    // The pop-up and paste keys of a setting's text box; true when the event was taken.
    bool TextBoxKeyFiltered(QObject *watched, QEvent *event);
    bool PasteWouldCut(const QLineEdit *box) const;
    // Tells in the box's tool tip and the status line that a pasted text was cut to its field.
    void ReportTextCut(QLineEdit *box);
    void WatchTextBox(QLineEdit *box);
    // A list whose value names no entry says which value it is (placeholder and tool tip).
    void UpdateListHint(int index);
};
