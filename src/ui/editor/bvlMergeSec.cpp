#include "ui/editor/bvlMergeSec.h"

#include "core/Conversions.h"
#include "seem/authoring/SettingFileSteps.h"
#include "ui/AppContext.h"
#include "ui/editor/CompareSecTexts.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/bvlReviewChanges.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HeaderField = SettingFileDocument::HeaderField;

ContentsStep::HeaderTexts TextsOf(const SettingFileHeader &header)
{
    return {header.Author, header.Phones, HexText16(header.SEEMNr), HexText16(header.SEEMRec)};
}

// The merge itself: the other file's changes that conflict with none of ours.
class MergeTakeStep : public ContentsStep
{
public:
    MergeTakeStep(SettingFileDocument &document, const SettingFileContents &merged, const QString &text,
                  std::shared_ptr<MergeChoices> choices)
        : ContentsStep(document, merged.settings, TextsOf(merged.header), text), m_choices(std::move(choices))
    {}
    // The choices change before the records, so that a view reading both sees them agree.
    void redo() override
    {
        m_choices->applied = true;
        ContentsStep::redo();
        emit m_choices->changed();
    }
    void undo() override
    {
        m_choices->applied = false;
        ContentsStep::undo();
        emit m_choices->changed();
    }

private:
    std::shared_ptr<MergeChoices> m_choices;
};

// One conflict settled: its side taken into the records and header.
class MergeChoiceStep : public ContentsStep
{
public:
    MergeChoiceStep(SettingFileDocument &document, const SettingFileContents &merged, const QString &text,
                    std::shared_ptr<MergeChoices> choices, int conflict, MergeSide side)
        : ContentsStep(document, merged.settings, TextsOf(merged.header), text),
          m_choices(std::move(choices)),
          m_conflict(conflict),
          m_side(side)
    {}
    void redo() override
    {
        m_choices->sides[m_conflict] = m_side;
        ContentsStep::redo();
        emit m_choices->changed();
    }
    void undo() override
    {
        m_choices->sides[m_conflict].reset();
        ContentsStep::undo();
        emit m_choices->changed();
    }

private:
    std::shared_ptr<MergeChoices> m_choices;
    int m_conflict;
    MergeSide m_side;
};

QTreeWidgetItem *AddRow(QTreeWidgetItem *row, const QString &what, const QString &mine, const QString &theirs)
{
    row->setText(bvlMergeSec::ConflictColumn, what);
    SetValueTexts(row, bvlMergeSec::MineColumn, mine, theirs);
    return row;
}

}   // namespace

bvlMergeSec::bvlMergeSec(AppContext &context, SettingFileDocument &document, const QString &theirsName,
                         const SettingFileContents &base, const SettingFileContents &ours,
                         const SettingFileContents &theirs, QWidget *parent)
    : QDialog(parent),
      m_ctx(context),
      m_document(document),
      m_merge(base, ours, theirs),
      m_choices(std::make_shared<MergeChoices>())
{
    setObjectName(QStringLiteral("bvlMergeSec"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfMerge")) + QStringLiteral(" - ") + theirsName);
    m_choices->sides.resize(conflictCount());

    lbTaken = new QLabel(this);
    lbTaken->setObjectName(QStringLiteral("lbTaken"));
    lbTaken->setWordWrap(true);
    tvConflicts = new QTreeWidget(this);
    tvConflicts->setObjectName(QStringLiteral("tvConflicts"));
    tvConflicts->setColumnCount(4);
    tvConflicts->setHeaderLabels({m_ctx.T(QStringLiteral("bvlMergeSec.sConflict_V")),
                                  m_ctx.T(QStringLiteral("bvlMergeSec.sMine_V")), theirsName,
                                  m_ctx.T(QStringLiteral("bvlMergeSec.sChoice_V"))});
    tvConflicts->setMinimumSize(760, 240);
    lbState = new QLabel(this);
    lbState->setObjectName(QStringLiteral("lbState"));
    lbState->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    cmKeepMine = NewActionButton(buttons, "cmKeepMine", QStringLiteral("Tieni il mio"));
    cmTakeTheirs = NewActionButton(buttons, "cmTakeTheirs", QStringLiteral("Prendi il loro"));
    cmClose = NewActionButton(buttons, "cmClose", QStringLiteral("Chiudi"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbTaken);
    layout->addWidget(tvConflicts);
    layout->addWidget(lbState);
    layout->addWidget(buttons);

    connect(cmKeepMine, &QPushButton::clicked, this, &bvlMergeSec::cmKeepMine_Click);
    connect(cmTakeTheirs, &QPushButton::clicked, this, &bvlMergeSec::cmTakeTheirs_Click);
    connect(cmClose, &QPushButton::clicked, this, &QDialog::close);
    connect(tvConflicts, &QTreeWidget::itemSelectionChanged, this, &bvlMergeSec::updateButtons);
    connect(m_choices.get(), &MergeChoices::changed, this, &bvlMergeSec::FillUp);
    connect(&document, &SettingFileDocument::recordsChanged, this, &bvlMergeSec::FillUp);
    connect(&document, &SettingFileDocument::headerTextChanged, this, &bvlMergeSec::FillUp);
    connect(&document, &SettingFileDocument::reset, this, &QDialog::close);
    ApplyLanguage(m_ctx.lang, this);

    // What does not conflict is taken at once, as one step; nothing taken is no step.
    const bool changes = !documentAsMerged();
    lbTaken->setText(
        m_ctx.T(changes ? QStringLiteral("bvlMergeSec.sTaken_V") : QStringLiteral("bvlMergeSec.sNothingTaken_V"))
            .arg(theirsName));
    if (changes)
        document.undoStack()->push(new MergeTakeStep(
            document, resultWith(),
            m_ctx.Title(QStringLiteral("bvlEditSetting.mnfMerge")) + QLatin1Char(' ') + theirsName, m_choices));
    else
        m_choices->applied = true;
    FillUp();
}

int bvlMergeSec::conflictCount() const
{
    return int(m_merge.conflicts().size() + m_merge.headerConflicts().size());
}

SettingFileContents bvlMergeSec::resultWith(int conflict, MergeSide side) const
{
    const int settings = int(m_merge.conflicts().size());
    QVector<MergeSide> settingChoices(settings, MergeSide::Ours);
    QVector<MergeSide> headerChoices(int(m_merge.headerConflicts().size()), MergeSide::Ours);
    for (int i = 0; i < conflictCount(); ++i) {
        const std::optional<MergeSide> chosen = i == conflict ? std::optional<MergeSide>(side) : m_choices->sides.at(i);
        if (!chosen)
            continue;
        if (i < settings)
            settingChoices[i] = *chosen;
        else
            headerChoices[i - settings] = *chosen;
    }
    return m_merge.result(settingChoices, headerChoices);
}

bool bvlMergeSec::documentAsMerged() const
{
    const SettingFileContents merged = resultWith();
    const ContentsStep::HeaderTexts texts = TextsOf(merged.header);
    for (int i = 0; i < SettingFileDocument::HeaderFieldCount; ++i)
        if (m_document.headerText(HeaderField(i)) != texts[std::size_t(i)])
            return false;
    return m_document.records() == merged.settings;
}

int bvlMergeSec::ConflictOf(const QTreeWidgetItem *item) const
{
    while (item && item->parent())
        item = item->parent();
    return item ? tvConflicts->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) : -1;
}

void bvlMergeSec::FillUp()
{
    const int selected = ConflictOf(tvConflicts->currentItem());
    const QString removed = m_ctx.T(QStringLiteral("bvlMergeSec.sRemoved_V"));
    const auto choiceText = [this](int i) {
        const std::optional<MergeSide> side = m_choices->sides.at(i);
        if (!side)
            return m_ctx.T(QStringLiteral("bvlMergeSec.sOpen_V"));
        return m_ctx.T(*side == MergeSide::Ours ? QStringLiteral("bvlMergeSec.sKept_V")
                                                : QStringLiteral("bvlMergeSec.sTookTheirs_V"));
    };
    tvConflicts->clear();
    int i = 0;
    for (const SettingConflict &c : m_merge.conflicts()) {
        QTreeWidgetItem *row = AddRow(new QTreeWidgetItem(tvConflicts), c.name, c.asOurs ? QString() : removed,
                                      c.asTheirs ? QString() : removed);
        row->setText(ChoiceColumn, choiceText(i++));
        for (RecordField field : c.fields)
            AddRow(new QTreeWidgetItem(row), RecordFieldWord(m_ctx, field),
                   c.asOurs ? RecordFieldValue(m_ctx, *c.asOurs, field) : QString(),
                   c.asTheirs ? RecordFieldValue(m_ctx, *c.asTheirs, field) : QString());
    }
    for (const HeaderConflict &c : m_merge.headerConflicts()) {
        QTreeWidgetItem *row =
            AddRow(new QTreeWidgetItem(tvConflicts),
                   m_ctx.T(QStringLiteral("bvlCompareSec.sSummaryLine_V"))
                       .arg(m_ctx.T(QStringLiteral("bvlCompareSec.sHeader_V")), HeaderFieldWord(m_ctx, c.field)),
                   c.ours, c.theirs);
        row->setText(ChoiceColumn, choiceText(i++));
    }
    tvConflicts->expandAll();
    FitColumnsAndWindow(this, tvConflicts);
    if (selected >= 0 && selected < tvConflicts->topLevelItemCount())
        tvConflicts->setCurrentItem(tvConflicts->topLevelItem(selected));

    QString state;
    if (!m_choices->applied)
        state = QStringLiteral("bvlMergeSec.sUndone_V");
    else if (!documentAsMerged())
        state = QStringLiteral("bvlMergeSec.sEdited_V");
    else if (conflictCount() == 0)
        state = QStringLiteral("bvlMergeSec.sNoConflicts_V");
    else if (std::any_of(m_choices->sides.cbegin(), m_choices->sides.cend(),
                         [](const std::optional<MergeSide> &side) { return !side; }))
        state = QStringLiteral("bvlMergeSec.sChoose_V");
    else
        state = QStringLiteral("bvlMergeSec.sAllChosen_V");
    lbState->setText(m_ctx.T(state));
    updateButtons();
}

void bvlMergeSec::updateButtons()
{
    const int conflict = ConflictOf(tvConflicts->currentItem());
    const bool open = conflict >= 0 && !m_choices->sides.at(conflict) && m_choices->applied && documentAsMerged();
    cmKeepMine->setEnabled(open);
    cmTakeTheirs->setEnabled(open);
}

void bvlMergeSec::choose(MergeSide side)
{
    const int conflict = ConflictOf(tvConflicts->currentItem());
    if (conflict < 0 || m_choices->sides.at(conflict) || !m_choices->applied || !documentAsMerged())
        return;
    const int settings = int(m_merge.conflicts().size());
    const QString name = conflict < settings
                             ? m_merge.conflicts().at(conflict).name
                             : HeaderFieldWord(m_ctx, m_merge.headerConflicts().at(conflict - settings).field);
    const QString command =
        side == MergeSide::Ours ? QStringLiteral("bvlMergeSec.cmKeepMine") : QStringLiteral("bvlMergeSec.cmTakeTheirs");
    m_document.undoStack()->push(new MergeChoiceStep(m_document, resultWith(conflict, side),
                                                     m_ctx.Title(command) + QLatin1Char(' ') + name, m_choices,
                                                     conflict, side));
}

void bvlMergeSec::cmKeepMine_Click()
{
    choose(MergeSide::Ours);
}

void bvlMergeSec::cmTakeTheirs_Click()
{
    choose(MergeSide::Theirs);
}
