#pragma once
#include "core/BvlError.h"
#include "core/SettingTypes.h"
#include "seem/SeemFile.h"

#include <QHash>
#include <QMainWindow>
#include <QVector>
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
struct AppContext;

// A save that failed at one setting: the number of the failure and which setting it was,
// so that the window can show that setting to the user.
class SettingWriteError : public BvlError
{
public:
    SettingWriteError(int index, const BvlError &cause)
        : BvlError(cause.number(), QString::fromStdString(cause.what())), settingIndex(index)
    {}
    int settingIndex;
};

// The main window: one open SEEM file, the setting file that gives its bytes meaning, a
// group tree with one page of controls per group, and the commands around them.
//
// Its parts live in separate files: bvlMain.cpp (window, menus, start-up, closing),
// bvlMainDocument.cpp (open, choose setting file, save), bvlMainView.cpp (tree and pages),
// bvlMainCodec.cpp (controls <-> SEEM bytes), bvlMainInteraction.cpp (edits, descriptions,
// restore popup). Members are public so that tests can drive the window as a user would.
class bvlMain : public QMainWindow
{
    Q_OBJECT
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

    // ---- Document
    void mnfOpenSEEM_Click();
    // Opens seemPath as the Open command does once its file dialog has given that name:
    // setting file chosen automatically or asked for, all or nothing, failures reported.
    void OpenSEEM(const QString &seemPath);
    void mnfChangeSettingFile_Click();
    // True when every setting was written into the SEEM file.
    bool mnfSaveSEEM_Click();
    // Full path of the first setting file in the program folder whose header matches the
    // numbers in the SEEM file's name; empty when none does.
    QString AutoSelectSEC(const QString &fileName);

    // ---- Values between controls and the SEEM file
    bool RestoreSetting(int index);
    void WriteSetting(int index, ByteStore &target);
    bool RestoreAll();
    // Encodes every setting first and writes only when all succeeded; throws
    // SettingWriteError naming the failing setting, then nothing has been written.
    void WriteAll();
    void mnfRestore_Click();
    void mnfRestoreItem_Click();

    // ---- Settings view
    void AddSettingGroup(SettingStruct &setting);
    void AddSettingControl(SettingStruct &setting, int index);
    int GetObjX(int slot) const;   // twips
    int GetObjY(int slot) const;   // twips
    void UnloadAllControls();
    void tvUI_NodeClick(QTreeWidgetItem *node);
    QTreeWidgetItem *NodeByKey(const QString &key) const { return m_nodes.value(key); }
    // Shows the page of setting index (selecting its node, as a click would) and focuses its control.
    void ShowSetting(int index);

    // ---- Interaction
    void ShowDescriptionOf(const QObject *control);
    void OpenRestorePopup(int target, const QPoint &globalPos);

    // ---- Controls (objectName = the name given here; array elements "name(index)")
    QMenu *mnuFile = nullptr;
    QAction *mnfOpenSEEM = nullptr;
    QAction *mnfChangeSettingFile = nullptr;
    QAction *mnfSaveSEEM = nullptr;
    QAction *mnfRestore = nullptr;
    QAction *mnf1 = nullptr;
    QAction *mnfAutoSettingSelection = nullptr;
    QAction *mnf2 = nullptr;
    QAction *mnfQuit = nullptr;
    QAction *mnuSetting = nullptr;
    QAction *mnuLanguage = nullptr;
    QAction *mnuInfo = nullptr;
    QMenu *mnuOrig = nullptr;       // popup only, never in the menu bar
    QAction *mnfRestoreItem = nullptr;

    QTreeWidget *tvUI = nullptr;
    QGroupBox *frDescription = nullptr;
    QPlainTextEdit *txDescription = nullptr;
    QLabel *lbFileDesc = nullptr;

    // Control arrays; element 0 is the invisible template, run-time elements follow.
    QVector<QGroupBox *> replicator;
    QVector<QLabel *> lbUI;
    QVector<QCheckBox *> chUI;
    QVector<QComboBox *> cbUI;
    QVector<QLineEdit *> txUI;

    // ---- Window state
    QString SEEMPath;
    QString SettingPath;
    std::unique_ptr<SeemFile> SEEMFile;
    SettingFileHeader FileHeader;
    SettingList Settings;          // setting i is Settings[i - 1]
    bool IsSaved = true;
    QString ShortHelpText;
    int PopupTarget = -1;          // setting index, or -1 for the selected tree node's group
    int CurrentGroup = -1;         // visible page, -1 for none
    int FrameCount = 0;
    int LabelCount = 0;
    int ComboCount = 0;
    int TextCount = 0;
    int CheckCount = 0;

    // Dynamic property of run-time controls: the 1-based index of their setting.
    static constexpr const char *SettingIndexProperty = "SettingIndex";
    // Tree node data: the node's full path (its key), and the index of its page as
    // decimal text (empty when no setting belongs to exactly this path).
    static constexpr int NodeKeyRole = Qt::UserRole;
    static constexpr int NodePageRole = Qt::UserRole + 1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A SEEM file and its setting file, opened, read and checked but not yet taken over.
    struct Document
    {
        std::unique_ptr<SeemFile> seemFile;   // null when the open SEEM file stays
        QString seemPath;
        QString settingPath;
        SettingFileHeader header;
        SettingList settings;
    };

    void BuildMenus();
    void BuildControls();
    QAction *AddMenuItem(QMenu *menu, const char *name, const QString &caption);
    // Fills the language dialog and shows it, unless it loaded the only language by itself
    // (allowed at start-up). False when the program was ended because no language is usable.
    bool ChooseLanguage(bool autoLoadOneLanguage);

    // False when a dialog was cancelled; throws BvlError on failure.
    bool OpenFileParse(const QString &seemPath, Document &next);
    // Reads and checks next's setting file, then takes next over. False when the file was
    // refused (its message has been shown); throws BvlError when it cannot be shown.
    bool OpenSettingParse(Document &next);
    void TakeOver(Document &next);
    QString UsingFileStatus() const;
    // The status line holds one line; its full text, a long path included, is its tool tip.
    void ShowFileDesc(const QString &text);

    QGroupBox *PageOfNode(const QTreeWidgetItem *node) const;
    QTreeWidgetItem *SelectedNode() const;
    void WatchControl(QWidget *control);
    void MarkUnsaved() { IsSaved = false; }

    AppContext &m_ctx;
    QWidget *m_client = nullptr;                 // the client area below the menu bar
    QHash<QString, QTreeWidgetItem *> m_nodes;   // tree node by full path
    bool m_placed = false;                       // centred on the screen once
    bvlEditSetting *m_settingEditor = nullptr;   // created on first use, a child of this window
};
