#pragma once
#include "seem/authoring/SettingFileMerge.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct AppContext;

// Which side each conflict of a merge was given, as the undo steps leave it: a step's redo
// sets its choice and its undo takes it back, so the list follows Undo and Redo. Shared by
// the window and the steps, which outlive it on the undo stack.
class MergeChoices : public QObject
{
    Q_OBJECT
public:
    // Setting conflicts first, then header conflicts.
    QVector<std::optional<MergeSide>> sides;
    bool applied = false;   // the merge's own step is done

signals:
    void changed();
};

// Merge from setting file: the other file's changes that conflict with none of the open
// file's taken as one undoable step when the window opens, then the conflicts listed, each
// with its fields on both sides; Keep mine and Take theirs settle the selected one, each as
// a step of its own. A choice is offered only while the file is as the merge and the
// choices so far left it: after other edits (or an undo of the merge) the buttons wait
// until those are undone.
class bvlMergeSec : public QDialog
{
    Q_OBJECT
public:
    // ours is the open file as it is now; theirsName names the other file in the texts.
    bvlMergeSec(AppContext &context, SettingFileDocument &document, const QString &theirsName,
                const SettingFileContents &base, const SettingFileContents &ours, const SettingFileContents &theirs,
                QWidget *parent = nullptr);

    // The conflicts again, with the choices and the document as they are now.
    void FillUp();
    // The conflict a row (or a field row under it) stands for; -1 for none.
    int ConflictOf(const QTreeWidgetItem *item) const;

    void cmKeepMine_Click();
    void cmTakeTheirs_Click();

    enum Column {
        ConflictColumn,
        MineColumn,
        TheirsColumn,
        ChoiceColumn
    };

    QLabel *lbTaken = nullptr;
    QLabel *lbState = nullptr;
    QTreeWidget *tvConflicts = nullptr;
    QPushButton *cmKeepMine = nullptr;
    QPushButton *cmTakeTheirs = nullptr;
    QPushButton *cmClose = nullptr;

private:
    int conflictCount() const;
    // The merged file with the choices made so far (and side for conflict, when given).
    SettingFileContents resultWith(int conflict = -1, MergeSide side = MergeSide::Ours) const;
    // The document holds what the merge and the choices so far made of it.
    bool documentAsMerged() const;
    void choose(MergeSide side);
    void updateButtons();

    AppContext &m_ctx;
    SettingFileDocument &m_document;
    SettingFileMerge m_merge;
    std::shared_ptr<MergeChoices> m_choices;
};
