#pragma once
#include "core/SettingTypes.h"
#include "seem/values/SettingState.h"
#include "ui/main/GroupNodes.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QVector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The main window's settings view. It owns the group tree, the pages and the control
// arrays, which page and slot each setting has and which numbers its controls carry, and
// builds a page's controls when it is first needed. It knows nothing of the document: the
// window watches each control it makes (controlMade) and fills it (controlBuilt).
class SettingsView : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Dynamic property of run-time controls: the 1-based index of their setting.
    static constexpr const char *SettingIndexProperty = "SettingIndex";
    // Tree node data: the node's full path (its key), and the index of its page as
    // decimal text. Both are empty when no setting belongs to exactly this path: storing
    // every prefix's path would cost memory quadratic in a deep path (NodeByKey finds
    // such a node all the same).
    static constexpr int NodeKeyRole = Qt::UserRole;
    static constexpr int NodePageRole = Qt::UserRole + 1;

    // The tree and the invisible templates (element 0 of each array), in client.
    void BuildTemplates(QWidget *client);

    // Pages are built when first shown: at open each setting only gets its page, its slot
    // and the numbers of its controls (objectNames chUI(3) ... in setting order, whichever
    // page is built first). AddSettingGroup gives setting index its page (a continuation
    // page " (2)" when the group's is full), AddSettingControl its slot and numbers.
    void AddSettingGroup(SettingStruct &setting, int index);
    void AddSettingControl(SettingStruct &setting, int index);
    // Every run-time control, page and node goes; the templates stay.
    void Unload();

    // Places the tree and the pages in a client area of that size.
    void FitTo(QSize client);
    int GetObjX(int slot) const;   // twips
    int GetObjY(int slot) const;   // twips
    // Page number (replicator element) of a tree node; 0 for a node without a page.
    int PageNumberOf(const QTreeWidgetItem *node) const;
    // The settings of page number, in slot order.
    QVector<int> PageSettings(int number) const;
    // The page's group box with its controls, built on first use.
    QGroupBox *BuildPage(int number);
    bool IsPageBuilt(int number) const { return replicator.value(number) != nullptr; }
    // Hides the shown page and shows node's, built when it was not yet.
    void ShowPageOf(QTreeWidgetItem *node);
    // The node whose page is shown, else the selected one.
    QTreeWidgetItem *ShownOrSelectedNode() const;
    QTreeWidgetItem *SelectedNode() const;
    QTreeWidgetItem *NodeByKey(const QString &key) const { return m_groups.find(key); }
    // Selects the node of setting index's page and shows the page, as a click would.
    // False when the setting has no page.
    bool SelectPageOf(int index);
    // Selects the first node of the tree that has a page and shows the page; its first
    // setting, 0 when no node has one.
    int selectFirstPage();

    // The input control of setting index (check box, list or text box); its page is built
    // when it was not yet.
    QWidget *ControlOf(int index);
    // The same when its page is built, null otherwise.
    QWidget *BuiltControlOf(int index) const;
    // The label of a list or text setting when its page is built.
    QLabel *BuiltLabelOf(int index) const;
    // What the built control of setting index shows.
    ControlState StateShown(int index) const;
    // Puts state into the built control of setting index.
    void Show(int index, const ControlState &state);

    // The view's copy of the document's settings (setting i is Settings[i - 1]): UIIndex
    // is the element of its control array; names and groups are the file's.
    SettingList Settings;
    // The view's page of each setting: its group, or a continuation page " (2)" of it.
    QVector<QString> PageKeys;
    QTreeWidget *tvUI = nullptr;
    // Control arrays; element 0 is the invisible template, run-time elements follow. An
    // element is null until its page is built.
    QVector<QGroupBox *> replicator;
    QVector<QLabel *> lbUI;
    QVector<QCheckBox *> chUI;
    QVector<QComboBox *> cbUI;
    QVector<QLineEdit *> txUI;
    int CurrentGroup = -1;   // visible page, -1 for none
    int FrameCount = 0;
    int LabelCount = 0;
    int ComboCount = 0;
    int TextCount = 0;
    int CheckCount = 0;

signals:
    // A run-time control (label or input) was made, before it is shown.
    void controlMade(QWidget *control);
    // A list's entry changed, by the user or by a fill.
    void listEntryChanged(QComboBox *list);
    // Setting index's controls are built and shown.
    void controlBuilt(int index);

private:
    void BuildControl(QGroupBox *page, int slot, int index);

    QWidget *m_client = nullptr;
    GroupNodes m_groups;   // tree nodes by group path
    // Where each group's next setting goes: the group, or its last " (2)" sibling page.
    QHash<QString, QString> m_groupContinuation;
    // The view's pages (page n is m_pages[n - 1]): key, and its settings in slot order.
    struct ViewPage
    {
        QString key;
        QVector<int> settings;
    };
    QVector<ViewPage> m_pages;
    // Per setting, its page number and its label's number (0 for a check box).
    struct SettingPlace
    {
        int page = 0;
        int label = 0;
    };
    QVector<SettingPlace> m_places;
    QPair<QString, QString> m_lastGroup;      // the last group placed, as given and normalised
    QTreeWidgetItem *m_shownNode = nullptr;   // the node whose page is shown
};
