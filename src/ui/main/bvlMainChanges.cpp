// Seeing every change before it is written: the Changes menu, the marks of changed
// settings (their controls and the tree nodes above them), the count in the title, and
// undo and redo of the controls' states.
//
// "Changed" means that the document's value differs from what the last restore or save
// read from the file (SeemDocument): undo back to the file's value is no change.
#include "ui/main/bvlMain.h"

#include "seem/survey/ImageSurvey.h"
#include "ui/AppContext.h"
#include "ui/ControlNames.h"
#include "ui/SurveyProgress.h"
#include "ui/main/ChangeMarkers.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/DocumentCommands.h"
#include "ui/main/FindCommands.h"
#include "ui/main/SaveReports.h"
#include "ui/main/SettingControlKind.h"
#include "ui/main/bvlCompare.h"
#include "ui/main/bvlReviewChanges.h"
#include "ui/main/bvlSurvey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QUndoStack>

void bvlMain::StartChanges()
{
    ShowModal = [](QDialog &dialog) { dialog.exec(); };
}

void bvlMain::WatchChanges(QWidget *control)
{
    const int index = control->property(SettingIndexProperty).toInt();
    if (auto *check = qobject_cast<QCheckBox *>(control)) {
        connect(check, &QCheckBox::toggled, this, [this, index] { ControlChanged(index, false); });
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, index] { ControlChanged(index, false); });
    } else if (auto *text = qobject_cast<QLineEdit *>(control)) {
        connect(text, &QLineEdit::textChanged, this, [this, index] { ControlChanged(index, true); });
        connect(text, &QLineEdit::editingFinished, this, [this] { CommitTypedEdit(); });
        m_steps->WatchTextBox(text);
    }
}

void bvlMain::ControlChanged(int index, bool typing)
{
    // Restores, saves and undo put the document's values into the controls themselves.
    if (m_commands->Quiet() || index > Document->count())
        return;
    m_steps->Edited(index, ControlStateOf(index), typing);
}

void bvlMain::ShowStatesAsOneStep(const QVector<QPair<int, ControlState>> &states)
{
    RecordAsOneStep(SettingsOf(states), [&] { m_commands->SetStates(states); });
}

void bvlMain::SettleChanges(const QVector<int> &indexes)
{
    m_marks->Fit();   // a new view: nothing is marked on it yet
    for (int index : indexes)
        UpdateChangeMark(index);
    UpdateChangesTitle();
    for (QAction *item : {mnfReviewChanges, mnfFind, mnfFindNext, mnfFindPrevious, mnfCompare, mnfSurvey})
        item->setEnabled(true);
    // The item is made after the changes start; it is of use once a document is open.
    connect(mnfSurvey, &QAction::triggered, this, &bvlMain::mnfSurvey_Click, Qt::UniqueConnection);
}

void bvlMain::ForgetChanges()
{
    // The controls and tree nodes go with the view, and with them their marks.
    m_steps->Forget();
    m_marks->Forget();
    m_find->Forget();
}

void bvlMain::UpdateChangeMark(int index)
{
    UpdateValidityMark(index);
    m_marks->Update(index);
}

void bvlMain::UpdateChangesTitle()
{
    // Names the open SEEM file whenever one is open, and counts its changes.
    if (!Document->isOpen()) {
        setWindowTitle(ApplicationTitle);
        return;
    }
    QString title = ApplicationTitle + QStringLiteral(" - ") + QFileInfo(Document->seemPath()).fileName();
    if (const int count = Document->changedCount(); count > 0)
        title += QLatin1Char(' ') + m_ctx.lang.GetPluralString(QStringLiteral("bvlMain.sChangedCount_V"), count);
    setWindowTitle(title);
}

QVector<int> bvlMain::ChangedSettings() const
{
    return Document->changedSettings();
}

void bvlMain::mnfUndo_Click()
{
    CommitTypedEdit();
    UndoStack->undo();
}

void bvlMain::mnfRedo_Click()
{
    CommitTypedEdit();
    UndoStack->redo();
}

void bvlMain::mnfReviewChanges_Click()
{
    if (!mnfReviewChanges->isEnabled())
        return;
    CommitTypedEdit();
    bvlReviewChanges review(m_ctx, *Document, Reviewing(), this);
    ShowModal(review);
    // Closed to go to a setting: the control can take the focus only now.
    if (review.GoToSetting() != 0)
        ShowSetting(review.GoToSetting());
}

ReviewActions bvlMain::Reviewing()
{
    return {[this](const QVector<int> &indexes) { RestoreSettings(indexes); }, [this] { mnfSaveSEEM_Click(); },
            [this](int index, TypedValueProblem problem) { return TypedValueProblemText(index, problem); }};
}

void bvlMain::mnfCompare_Click()
{
    if (!mnfCompare->isEnabled())
        return;
    CommitTypedEdit();
    const std::optional<QString> chosen =
        m_ctx.platform.openFileName(m_ctx.Title(QStringLiteral("bvlMain.mnfCompare")), SeemFilter(m_ctx),
                                    DocumentFiles::FolderProposal(Document->seemPath()));
    if (!chosen)
        return;
    SeemFile other;
    try {
        ReportJournalNotice(m_ctx, other.openReadOnly(*chosen));
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(QStringLiteral("mnfCompare ERR ") + QString::number(e.number()), MsgIcon::None,
                                  MsgButtons::Ok);
        return;
    }
    if (!ImageHoldsSettings(Document->settings(), other.size())) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sCompareTooShort_M")) + QStringLiteral(" \"")
                                      + *chosen + QLatin1Char('"'),
                                  MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    bvlCompare compare(
        m_ctx, *Document, other, *chosen,
        [this](const QVector<QPair<int, ControlState>> &states) { ShowStatesAsOneStep(states); }, this);
    ShowModal(compare);
}

void bvlMain::mnfSurvey_Click()
{
    if (!mnfSurvey->isEnabled())
        return;
    CommitTypedEdit();
    const std::optional<QStringList> chosen =
        m_ctx.platform.openFileNames(m_ctx.Title(QStringLiteral("bvlMain.mnfSurvey")), SeemFilter(m_ctx),
                                     DocumentFiles::FolderProposal(Document->seemPath()));
    if (!chosen)
        return;
    // The open image first: the others are measured against it. Its file is read as the
    // others are, so unsaved edits are not part of the survey.
    const QStringList paths = QStringList{Document->seemPath()} + SurveyImagePaths(*chosen);
    ImageSurvey survey(Document->header(), Document->settings());
    if (!RunSurvey(m_ctx, this, survey, paths, QStringLiteral("bvlMain.mnfSurvey"), QStringLiteral("mnfSurvey")))
        return;
    bvlSurvey window(m_ctx, survey, QStringList{Document->settingPath()} + paths, this);
    ShowModal(window);
    // Closed to go to a setting: the control can take the focus only now.
    if (window.GoToSetting() != 0)
        ShowSetting(window.GoToSetting());
}
