#pragma once
#include "seem/values/TypedValueCheck.h"

#include <QDialog>
#include <functional>

class QDialogButtonBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SeemDocument;
struct AppContext;

// What Review changes asks of the window whose document it lists: the window's restore
// (one undo step, a failure reported), its Save command, and a refused value in words.
struct ReviewActions
{
    std::function<void(const QVector<int> &indexes)> restore;
    std::function<void()> save;
    std::function<QString(int index, TypedValueProblem problem)> problemText;
};

// Review changes: every setting whose value differs from what the file holds, with
// the value in the file, the new value and the bytes a save would touch. The user
// restores some of them (one undo step), saves, or double-clicks a row to go to it.
class bvlReviewChanges : public QDialog
{
    Q_OBJECT
public:
    bvlReviewChanges(AppContext &context, SeemDocument &document, ReviewActions actions, QWidget *parent = nullptr);

    // The list again from the document; the selection goes.
    void FillUp();
    // The setting to go to once the dialog has closed; 0 for none.
    int GoToSetting() const { return m_goTo; }
    // Setting numbers of the selected rows, in list order.
    QVector<int> SelectedSettings() const;

    void cmRestore_Click();
    void cmSave_Click();
    void cmClose_Click();
    void lsChanges_DblClick(QTreeWidgetItem *row);

    QTreeWidget *lsChanges = nullptr;
    QPushButton *cmRestore = nullptr;
    QPushButton *cmSave = nullptr;
    QPushButton *cmClose = nullptr;

    enum Column {
        GroupColumn,
        NameColumn,
        FileValueColumn,
        NewValueColumn,
        BytesColumn
    };

private:
    AppContext &m_ctx;
    SeemDocument &m_document;
    ReviewActions m_actions;
    int m_goTo = 0;
};

// A localised button of a dialog's row of buttons, that does not take Enter.
QPushButton *NewActionButton(QDialogButtonBox *box, const char *name, const QString &caption);
// Column headers shared by the lists of changes and differences.
QStringList ChangeListHeaders(AppContext &ctx, const QStringList &valueKeys);
// A list of settings: one row per setting, several rows selectable.
QTreeWidget *NewSettingList(QWidget *parent, const QString &name, const QStringList &headers);
// Selected rows' setting numbers (stored in the first column), in list order.
QVector<int> SelectedSettingsOf(const QTreeWidget *list);
// A check box's states in the language's words.
struct CheckWords;
CheckWords LanguageCheckWords(AppContext &ctx);
// A row of texts for setting index.
QTreeWidgetItem *AddSettingRow(QTreeWidget *list, int index, const QStringList &texts);
